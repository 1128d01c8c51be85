// The real game in a real window: for each language a player's whole
// evening, from the intro to quitting, under a private X server, played
// with xdotool and checked against the pictures the game itself loads.
//
//   zenobar-window-play --game GAME_DIR --out DIR [--language pol|eng|swe]...
//                       [--window-timeout SECONDS] [--program PATH]
//
// Without --language the three languages play side by side.
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "picture.h"
#include "xserver.h"

namespace fs = std::filesystem;

namespace {

const char *const TITLE = "Zenobar 1.0";
const uint32_t DESKTOP = 0x2e8b57;  // the desktop around the window
const uint32_t BLACK = 0x000000, WHITE = 0xffffff, RED = 0xff0000;
const int FULL_X = (1024 - 640) / 2, FULL_Y = (768 - 480) / 2;

const Rect MENU_ENTRY[5] = {
    {161, 121, 320, 50}, {161, 184, 320, 50}, {161, 249, 320, 50}, {161, 307, 320, 50}, {161, 367, 320, 50}};
const Rect FLAG[3] = {{220, 130, 220, 160}, {80, 290, 220, 160}, {360, 290, 220, 160}};
const Rect OPT[5] = {{0, 180, 240, 35}, {400, 180, 240, 35}, {0, 335, 240, 35}, {400, 335, 240, 35}, {240, 430, 160, 50}};
const Rect ANSWER[4] = {{66, 361, 230, 40}, {354, 361, 230, 40}, {66, 424, 230, 40}, {354, 424, 230, 40}};
const Rect BAR[4] = {{87, 395, 205, 5}, {413, 395, 205, 5}, {87, 457, 205, 5}, {413, 457, 205, 5}};
const Rect HIDDEN[4] = {{80, 355, 220, 40}, {400, 355, 220, 40}, {80, 424, 220, 40}, {400, 424, 220, 40}};
const int TEXT_X[4] = {85, 405, 85, 405}, TEXT_Y[4] = {365, 365, 430, 430};
const Rect LIFELINE[3] = {{450, 0, 60, 55}, {510, 0, 60, 55}, {570, 0, 60, 55}};
const Rect USED[3] = {{440, 5, 70, 60}, {507, 5, 70, 60}, {570, 5, 70, 60}};
const Rect MARKER = {224, 30, 20, 20};
const Rect NAME_FIELD = {120, 402, 520, 30};
const int RUNG[12] = {198, 182, 167, 152, 137, 122, 107, 92, 77, 52, 37, 22};
const char *const PRIZE[13] = {"0",     "100",   "200",   "500",    "1000",    "3000",    "6000",
                               "12000", "25000", "50000", "100000", "1000000", "10000000"};
const int POLL_X[4] = {140, 400, 140, 400}, POLL_Y[4] = {135, 135, 155, 155};
const uint32_t POLL_COLOUR = 0x000014, PROMPT_COLOUR = 0x0000c8;

int mid_x(Rect r) { return r.x + r.w / 2; }
int mid_y(Rect r) { return r.y + r.h / 2; }

std::string format(const char *fmt, ...)
{
    char text[512];
    va_list args;
    va_start(args, fmt);
    vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    return text;
}

enum class Ending { quit_entry, close_in_menu, close_in_best };

struct Language {
    std::string code;  // its question folder
    int flag;          // 0 to 2
    std::string menus; // folder of its menu pictures under gfx/
    // The game's own texts (Latin-1).
    std::string prompt, won, click, phone, heading, poll;
    // This test's questions.
    std::string question, hint;
    std::string players[2];
    Ending ending;
};

const Language LANGUAGES[] = {
    {"pol", 0, "", "Prosze wpisac swoje imie", "Wlasnie wygrales %s", "Wcisnij lewy przycisk myszy",
     "Gracz telefoniczny stawia na odpowiedz %c", "Publicznosc m\xf3wi:", "Odpowiedz %c %d%%",
     "Pytanie %d.%d: ile to %d + 1?", "Kt\xf3ra odpowiedz?", {"zosia", "jan"}, Ending::quit_entry},
    {"eng", 1, "eng/", "Please enter your name", "You just won %s", "Press Left mouse button to continue",
     "Phone player just say it will be answer %c", "The people say's:", "Answer %c %d%%",
     "Question %d.%d: what is %d + 1?", "(Think twice.)", {"alice", "tom"}, Ending::close_in_menu},
    {"swe", 2, "swe/", "Var v\xe4nlig ange ditt namn", "Grattis du vann %s",
     "Tryck p\xe5 v\xe4nster musknapp f\xf6r att forts\xe4tta", "Telefonhj\xe4lpen svarar  %c", "Publiken svarar:",
     "%c %d%%", "Fr\xe5ga %d.%d: vad \xe4r %d + 1?", "T\xe4nk efter.", {"sven", "kim"}, Ending::close_in_best},
};

struct Question {
    std::string line1, line2;
    std::string answer[4];  // in file order
    int right;              // index into answer
};

// Five questions a level, so that a game's four are drawn from more; the
// right answer's line and the spelling of its code vary.
std::vector<Question> questions(const Language &lang, int level)
{
    std::vector<Question> pool;
    for (int i = 1; i <= 5; i++) {
        int a = level * 10 + i;
        Question q;
        q.line1 = format(lang.question.c_str(), level, i, a);
        q.line2 = i % 2 ? lang.hint : "";
        q.right = (level + i) % 4;
        std::string wrong[3] = {std::to_string(a + 2), std::to_string(a), std::to_string(a + 11)};
        for (int k = 0, w = 0; k < 4; k++)
            q.answer[k] = k == q.right ? std::to_string(a + 1) : wrong[w++];
        pool.push_back(q);
    }
    return pool;
}

std::string question_file(const std::vector<Question> &pool)
{
    static const char *const codes[4] = {"1000", "0100", "10", "0001"};
    std::string text;
    for (const auto &q : pool) {
        text += q.line1 + "\n" + q.line2 + "\n";
        for (const auto &a : q.answer)
            text += a + "\n";
        text += std::string(codes[q.right]) + "\n";
    }
    return text;
}

// The table the evening starts with and the one it must leave: the first
// game (3 right answers) climbs to the middle, the second (1) ties and
// ranks above the older entry of its level; the lowest two drop out.
const char *const TABLE_BEFORE = "ala\n0\nbo\n0\ncyd\n1\ndag\n5\n\xc5sa\n9\n";
struct Entry {
    std::string name;
    int level;
};

std::string read_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out)
        throw Failure("cannot write " + path);
}

// Bytes outside printable ASCII escaped; line feeds too unless `lines`.
std::string visible(const std::string &text, bool lines = false)
{
    std::string out;
    for (unsigned char c : text) {
        if (c == '\n')
            out += lines ? "\n" : "\\n";
        else if (c < 32 || c > 126)
            out += format("\\x%02x", c);
        else
            out += char(c);
    }
    return out;
}

struct Options {
    std::string game, out, program;
    double window_timeout = 30;
    std::vector<std::string> languages;
};

using Check = std::function<std::string(const Image &)>;

// What the game screen shows: the state the player has brought it to.
struct Board {
    std::string player;
    int position = 0;
    bool used[3] = {false, false, false};  // drawn in their used look
    const Question *question = nullptr;
    int shown[4] = {-1, -1, -1, -1};  // the answer in each slot A to D
    std::vector<int> hidden;          // slots 50:50 cleared
    int bar = -1;                     // slot with the red bar
    int phone = -1;                   // the letter the friend named
    bool poll_shown = false;
    int poll[4] = {0, 0, 0, 0};       // the audience's percentages
    std::string message;              // the end-of-game box
    bool spent[3] = {false, false, false};  // used in this game

    int slot_of_right() const
    {
        for (int s = 0; s < 4; s++)
            if (shown[s] == question->right)
                return s;
        return -1;
    }
    std::vector<int> wrong_slots() const
    {
        std::vector<int> slots;
        for (int s = 0; s < 4; s++)
            if (shown[s] != question->right)
                slots.push_back(s);
        return slots;
    }
    // A used lifeline takes its used look when the next question is drawn.
    void next_question()
    {
        position++;
        question = nullptr;
        hidden.clear();
        bar = phone = -1;
        poll_shown = false;
        for (int k = 0; k < 3; k++)
            used[k] = spent[k];
    }
};

class Evening {
public:
    Evening(const Options &options, const Language &lang);
    void run();

private:
    // Looking.
    Image look();
    void await(const std::string &what, const Check &check, double timeout = 30);
    Check shows(const std::function<Scene()> &scene);
    Check framed(bool full_screen, Check inner);
    const Image &picture(const std::string &name);
    Glyphs text(int points, const std::string &latin1) { return fonts_.render(points, latin1); }
    void write(Scene &s, int points, const std::string &latin1, int x, int y, uint32_t rgb)
    {
        s.text(text(points, latin1), x, y, rgb);
    }

    // The player's hand.
    void move_to(int x, int y);
    void click_at(int x, int y);
    void click_here() { x_.xdotool({"click", "1"}); }

    // Screens.
    void intro();
    void menu_choice(int entry, const std::string &what);
    Scene options_scene(int music, bool full_screen);
    void options();
    void information();
    void name_entry(const std::string &name);
    Scene board_scene(const Board &b, bool poll_numbers = true);
    Check shows(const Board &b);
    void await_question(Board &b, std::set<const Question *> &asked);
    void answer_right(Board &b, std::set<const Question *> &asked);
    void mark(Board &b, int slot, const std::string &what);
    void half(Board &b);
    void phone(Board &b);
    void audience(Board &b);
    void first_game();
    void second_game();
    void best_players();
    void finish();

    void log(const std::string &line);

    const Options &options_;
    const Language &lang_;
    std::string folder_, shots_;
    std::vector<Question> pools_[3];
    XServer x_;
    Child game_;
    unsigned long frame_ = 0, canvas_ = 0;
    Fonts fonts_;
    std::map<std::string, Image> pictures_;
    double start_, deadline_;
    int shot_count_ = 0;
    std::string menu_pic_, smenu_pic_;
};

Evening::Evening(const Options &options, const Language &lang)
    : options_(options), lang_(lang), folder_(options.out + "/" + lang.code + "/game"),
      shots_(options.out + "/" + lang.code + "/shots"), x_(30), fonts_(options.game + "/Vera.ttf"), start_(now()),
      deadline_(now() + 420)
{
    menu_pic_ = lang.menus + "menu.png";
    smenu_pic_ = lang.menus + "smenu.png";
    // A game folder of its own, so that "config" and "highscores" land
    // here; everything but the questions is the real game's.
    fs::remove_all(options.out + "/" + lang.code);
    fs::create_directories(folder_ + "/quest/" + lang.code);
    fs::create_directories(shots_);
    fs::path game = fs::absolute(options.game);
    for (const char *item : {"gfx", "sfx", "Vera.ttf"})
        fs::create_symlink(game / item, fs::path(folder_) / item);
    std::string program = options.program.empty() ? (game / "zenobar").string() : options.program;
    fs::create_symlink(fs::absolute(program), fs::path(folder_) / "zenobar");
    static const char *const levels[3] = {"latwe", "srednie", "trudne"};
    for (int level = 1; level <= 3; level++) {
        pools_[level - 1] = questions(lang, level);
        write_file(folder_ + "/quest/" + lang.code + "/" + levels[level - 1] + ".qst", question_file(pools_[level - 1]));
    }
    write_file(folder_ + "/config", "0 1\n");  // a window, and music
    write_file(folder_ + "/highscores", TABLE_BEFORE);
    x_.paint_root(DESKTOP);
    // The pointer rests on the desktop: the window must not open under it.
    x_.xdotool({"mousemove", "1000", "740"});
}

void Evening::log(const std::string &line)
{
    printf("[%s] %6.1f s  %s\n", lang_.code.c_str(), now() - start_, line.c_str());
    fflush(stdout);
}

const Image &Evening::picture(const std::string &name)
{
    auto it = pictures_.find(name);
    if (it == pictures_.end())
        it = pictures_.emplace(name, load_picture(folder_ + "/gfx/" + name)).first;
    return it->second;
}

Image Evening::look()
{
    int x, y;
    x_.origin(canvas_, x, y);
    if (x < 0 || y < 0 || x + 640 > 1024 || y + 480 > 768)
        throw Failure(format("the window stands at (%d,%d), partly off the screen", x, y));
    return x_.grab(x, y, 640, 480);
}

// Screens change by fades of several seconds: look again and again until
// the screen is right, and fail, not hang, when it never is.
void Evening::await(const std::string &what, const Check &check, double timeout)
{
    double end = std::min(now() + timeout, deadline_);
    std::string why;
    Image shot;
    for (;;) {
        if (!game_.running()) {
            std::string out = read_file(folder_ + "/zenobar.log");
            throw Failure(format("the game ended (status %d) while waiting for: %s\n--- its output:\n%s",
                                 game_.status(), what.c_str(), visible(out, true).c_str()));
        }
        shot = look();
        why = check(shot);
        bool timed_out = !why.empty() && now() > end;
        if (why.empty() || timed_out) {
            std::string name = format("%02d-", ++shot_count_);
            for (char c : what)
                name += isalnum((unsigned char)c) ? c : '-';
            save_png(shot, shots_ + "/" + (timed_out ? "FAILED-" : "") + name + ".png");
        }
        if (why.empty()) {
            log(what);
            return;
        }
        if (timed_out)
            throw Failure(format("%s: not seen within %.0f s: %s", what.c_str(), timeout, why.c_str()));
        pause_for(0.05);
    }
}

Check Evening::shows(const std::function<Scene()> &scene)
{
    return [scene](const Image &shot) {
        std::string why;
        long bad = scene().mismatches(shot, &why);
        return bad == 0 ? std::string() : format("%ld pixels differ, %s", bad, why.c_str());
    };
}

// Full screen centres the picture on a black screen; a window stands in
// the corner of the desktop.
Check Evening::framed(bool full_screen, Check inner)
{
    return [this, full_screen, inner](const Image &shot) {
        int x, y;
        x_.origin(canvas_, x, y);
        int want_x = full_screen ? FULL_X : 0, want_y = full_screen ? FULL_Y : 0;
        if (x != want_x || y != want_y)
            return format("the picture stands at (%d,%d), not (%d,%d)", x, y, want_x, want_y);
        Image corner = x_.grab(1024 - 40, 768 - 40, 40, 40);
        uint32_t want = full_screen ? BLACK : DESKTOP;
        for (uint32_t p : corner.px)
            if ((p & 0xffffff) != want)
                return format("the screen's corner shows #%06x, not #%06x", p & 0xffffff, want);
        return inner(shot);
    };
}

void Evening::move_to(int x, int y)
{
    int ox, oy;
    x_.origin(canvas_, ox, oy);
    // Two steps, so that the game sees a motion even when the pointer is
    // already there.
    x_.xdotool({"mousemove", std::to_string(ox + x - 3), std::to_string(oy + y - 3), "mousemove",
                std::to_string(ox + x), std::to_string(oy + y)});
}

void Evening::click_at(int x, int y)
{
    move_to(x, y);
    click_here();
}

void Evening::intro()
{
    await("logo", shows([this] { return Scene(picture("logo.png")); }));
    await("title", shows([this] { return Scene(picture("title.png")); }));
    await("language choice", shows([this] { return Scene(picture("slanguage.png")); }));
    Rect flag = FLAG[lang_.flag];
    move_to(mid_x(flag), mid_y(flag));
    await("flag lit", shows([this, flag] {
              Scene s(picture("slanguage.png"));
              s.paint(picture("sslanguage.png"), flag, flag.x, flag.y);
              return s;
          }));
    click_here();
}

void Evening::menu_choice(int entry, const std::string &what)
{
    Rect r = MENU_ENTRY[entry];
    move_to(mid_x(r), mid_y(r));
    await("menu, " + what + " lit", shows([this, r] {
              Scene s(picture(menu_pic_));
              s.paint(picture(smenu_pic_), r, r.x, r.y);
              return s;
          }));
    click_here();
}

Scene Evening::options_scene(int music, bool full_screen)
{
    Scene s(picture("option.png"));
    write(s, 20, "Quit", OPT[4].x, OPT[4].y, WHITE);
    const Image &lit = picture("soption.png");
    if (music == 1)
        s.paint(lit, OPT[0], OPT[0].x, OPT[0].y);
    if (music == 0)
        s.paint(lit, OPT[1], OPT[1].x, OPT[1].y);
    Rect screen_choice = full_screen ? OPT[2] : OPT[3];
    s.paint(lit, screen_choice, screen_choice.x, screen_choice.y);
    return s;
}

// Sound effects instead of music, and full screen once the screen is left.
void Evening::options()
{
    menu_choice(1, "options");
    await("options: music, window", shows([this] { return options_scene(1, false); }));
    click_at(mid_x(OPT[1]), mid_y(OPT[1]));
    await("options: effects", shows([this] { return options_scene(0, false); }));
    click_at(mid_x(OPT[2]), mid_y(OPT[2]));
    await("options: full screen", shows([this] { return options_scene(0, true); }));
    click_at(mid_x(OPT[4]), mid_y(OPT[4]));
    await("menu in full screen", framed(true, shows([this] { return Scene(picture(menu_pic_)); })));
}

// Seen in full screen; then back to a window.
void Evening::information()
{
    menu_choice(3, "information");
    await("information", framed(true, shows([this] { return Scene(picture("info.png")); })));
    click_at(320, 240);
    await("menu again", framed(true, shows([this] { return Scene(picture(menu_pic_)); })));

    menu_choice(1, "options");
    await("options: effects, full screen", shows([this] { return options_scene(0, true); }));
    click_at(mid_x(OPT[3]), mid_y(OPT[3]));
    await("options: window", shows([this] { return options_scene(0, false); }));
    click_at(mid_x(OPT[4]), mid_y(OPT[4]));
    await("menu in a window", framed(false, shows([this] { return Scene(picture(menu_pic_)); })));
}

// A name typed with one letter too many, taken back.
void Evening::name_entry(const std::string &name)
{
    menu_choice(0, "new game");
    auto with_name = [this](const std::string &typed) {
        return shows([this, typed] {
            const Image &background = picture("name.png");
            Scene s(background);
            s.paint(background, NAME_FIELD, NAME_FIELD.x, NAME_FIELD.y);
            write(s, 20, lang_.prompt, 270, 360, BLACK);
            write(s, 20, typed, 140, 400, BLACK);
            return s;
        });
    };
    await("name entry", with_name(""));
    // Short strokes: a key still down when the game looks again types again.
    x_.xdotool({"type", "--delay", "40", name + "x"});
    await("name typed: " + name + "x", with_name(name + "x"));
    x_.xdotool({"key", "BackSpace"});
    await("name corrected: " + name, with_name(name));
    x_.xdotool({"key", "Return"});
}


Scene Evening::board_scene(const Board &b, bool poll_numbers)
{
    const Image &background = picture("game.png");
    const Image &box = picture("information.png");
    Scene s(background);
    write(s, 20, b.player, 40, 20, BLACK);
    // The marker comes from the Polish picture in every language.
    s.paint(picture("smenu.png"), MARKER, 408, RUNG[b.position]);
    for (int k = 0; k < 3; k++)
        if (b.used[k])
            s.paint(picture(smenu_pic_), USED[k], USED[k].x, USED[k].y);
    if (b.question != nullptr) {
        write(s, 14, b.question->line1, 120, 270, BLACK);
        write(s, 14, b.question->line2, 120, 290, BLACK);
        for (int slot = 0; slot < 4; slot++)
            write(s, 14, b.question->answer[b.shown[slot]], TEXT_X[slot], TEXT_Y[slot], BLACK);
    }
    for (int slot : b.hidden)
        s.paint(background, HIDDEN[slot], HIDDEN[slot].x, HIDDEN[slot].y);
    if (b.bar >= 0)
        s.fill(BAR[b.bar], RED);
    if (b.phone >= 0) {
        s.paint(box, 40, 80);
        write(s, 20, format(lang_.phone.c_str(), 'A' + b.phone), 90, 110, BLACK);
    }
    if (b.poll_shown) {
        s.paint(box, 40, 100);
        write(s, 20, lang_.heading, 210, 110, BLACK);
        for (int k = 0; k < 4 && poll_numbers; k++)
            write(s, 14, format(lang_.poll.c_str(), 'A' + k, b.poll[k]), POLL_X[k], POLL_Y[k], POLL_COLOUR);
    }
    if (!b.message.empty()) {
        s.paint(box, 50, 200);
        write(s, 20, b.message, 90, 220, BLACK);
        write(s, 14, lang_.click, 90, 255, PROMPT_COLOUR);
    }
    return s;
}

Check Evening::shows(const Board &b)
{
    return shows([this, b] { return board_scene(b); });
}

std::string differences(const Scene &scene, const Image &shot)
{
    std::string why;
    long bad = scene.mismatches(shot, &why);
    return bad == 0 ? std::string() : format("%ld pixels differ, %s", bad, why.c_str());
}

// Finds which of the level's questions is on the screen and in which
// slots its answers landed, then checks the whole screen.
void Evening::await_question(Board &b, std::set<const Question *> &asked)
{
    const std::vector<Question> &pool = pools_[b.position / 4];
    await(format("question %d", b.position + 1), [this, &b, &pool](const Image &shot) {
        Board bare = b;
        bare.question = nullptr;
        Scene s = board_scene(bare);
        b.question = nullptr;
        for (const Question &q : pool) {
            Glyphs line = text(14, q.line1);
            if (s.mismatches(shot, {0, 262, 640, 27}, nullptr, &line, 120, 270, BLACK) == 0)
                b.question = &q;
        }
        if (b.question == nullptr)
            return std::string("none of its level's questions at (120,270)");
        bool seen[4] = {false, false, false, false};
        for (int slot = 0; slot < 4; slot++) {
            b.shown[slot] = -1;
            Rect area = {TEXT_X[slot] - 5, TEXT_Y[slot] - 5, 220, 25};
            for (int k = 0; k < 4; k++) {
                Glyphs answer = text(14, b.question->answer[k]);
                if (s.mismatches(shot, area, nullptr, &answer, TEXT_X[slot], TEXT_Y[slot], BLACK) == 0)
                    b.shown[slot] = k;
            }
            if (b.shown[slot] < 0 || seen[b.shown[slot]]) {
                b.question = nullptr;
                return format("slot %c shows none of the answers, or one shown twice", 'A' + slot);
            }
            seen[b.shown[slot]] = true;
        }
        std::string why = differences(board_scene(b), shot);
        if (!why.empty())
            b.question = nullptr;
        return why;
    });
    if (!asked.insert(b.question).second)
        throw Failure("a question came twice in one game");
}

void Evening::mark(Board &b, int slot, const std::string &what)
{
    click_at(mid_x(ANSWER[slot]), mid_y(ANSWER[slot]));
    b.bar = slot;
    await(format("question %d: %s", b.position + 1, what.c_str()), shows(b));
}

// Two clicks on the right answer win the question.
void Evening::answer_right(Board &b, std::set<const Question *> &asked)
{
    mark(b, b.slot_of_right(), "right answer marked");
    click_here();
    b.next_question();
    await_question(b, asked);
}

// Two of the three wrong answers vanish; which two is the game's draw.
void Evening::half(Board &b)
{
    click_at(mid_x(LIFELINE[0]), mid_y(LIFELINE[0]));
    b.spent[0] = true;
    await(format("question %d: 50:50", b.position + 1), [this, &b](const Image &shot) {
        std::vector<int> wrong = b.wrong_slots();
        for (int stays = 0; stays < 3; stays++) {
            Board probe = b;
            for (int k = 0; k < 3; k++)
                if (k != stays)
                    probe.hidden.push_back(wrong[k]);
            if (differences(board_scene(probe), shot).empty()) {
                b.hidden = probe.hidden;
                return std::string();
            }
        }
        return std::string("not two wrong answers hidden, the rest unchanged");
    });
}

// The friend names any of the four letters.
void Evening::phone(Board &b)
{
    click_at(mid_x(LIFELINE[1]), mid_y(LIFELINE[1]));
    b.spent[1] = true;
    await(format("question %d: telephone", b.position + 1), [this, &b](const Image &shot) {
        for (int letter = 0; letter < 4; letter++) {
            Board probe = b;
            probe.phone = letter;
            if (differences(board_scene(probe), shot).empty()) {
                b.phone = letter;
                return std::string();
            }
        }
        Board probe = b;
        probe.phone = 0;
        return "no telephone box with one of the four answers: " + differences(board_scene(probe), shot);
    });
}

// The percentages are random: the box must be there, and each number the
// text of some percentage.
void Evening::audience(Board &b)
{
    click_at(mid_x(LIFELINE[2]), mid_y(LIFELINE[2]));
    b.spent[2] = true;
    await(format("question %d: audience", b.position + 1), [this, &b](const Image &shot) {
        Board probe = b;
        probe.poll_shown = true;
        Scene bare = board_scene(probe, false);
        for (int k = 0; k < 4; k++) {
            Rect area = {POLL_X[k] - 2, POLL_Y[k], 236, 20};
            probe.poll[k] = -1;
            for (int v = 0; v <= 300 && probe.poll[k] < 0; v++) {
                Glyphs number = text(14, format(lang_.poll.c_str(), 'A' + k, v));
                if (bare.mismatches(shot, area, nullptr, &number, POLL_X[k], POLL_Y[k], POLL_COLOUR) == 0)
                    probe.poll[k] = v;
            }
            if (probe.poll[k] < 0)
                return format("no percentage for answer %c: %s", 'A' + k, differences(bare, shot).c_str());
        }
        std::string why = differences(board_scene(probe), shot);
        if (why.empty())
            b = probe;
        return why;
    });
    log(format("the audience says %d %d %d %d", b.poll[0], b.poll[1], b.poll[2], b.poll[3]));
}

// All three lifelines, one of them during the confirmation wait; two
// clicks that disagree; lost on the fourth question with 500.
void Evening::first_game()
{
    name_entry(lang_.players[0]);
    Board b;
    b.player = lang_.players[0];
    std::set<const Question *> asked;
    await_question(b, asked);
    half(b);
    answer_right(b, asked);
    phone(b);
    answer_right(b, asked);

    mark(b, b.slot_of_right(), "right answer marked");
    audience(b);
    click_at(mid_x(ANSWER[b.bar]), mid_y(ANSWER[b.bar]));
    b.next_question();
    await_question(b, asked);

    std::vector<int> wrong = b.wrong_slots();
    mark(b, b.slot_of_right(), "right answer marked");
    mark(b, wrong[0], "confirmed on a wrong one");
    pause_for(1.0);
    await("question 4 stays", shows(b), 2);
    mark(b, wrong[1], "wrong answer marked");
    click_at(mid_x(ANSWER[wrong[0]]), mid_y(ANSWER[wrong[0]]));
    b.bar = wrong[0];
    b.message = format(lang_.won.c_str(), PRIZE[3]);
    await("lost with 500", shows(b));
    click_at(320, 240);
    await("menu after the first game", framed(false, shows([this] { return Scene(picture(menu_pic_)); })));
}

// Lifelines all available again; one right answer, then the same wrong
// answer twice.
void Evening::second_game()
{
    name_entry(lang_.players[1]);
    Board b;
    b.player = lang_.players[1];
    std::set<const Question *> asked;
    await_question(b, asked);
    answer_right(b, asked);
    int wrong = b.wrong_slots()[2];
    mark(b, wrong, "wrong answer marked");
    click_here();
    b.message = format(lang_.won.c_str(), PRIZE[1]);
    await("lost with 100", shows(b));
    click_at(320, 240);
    await("menu after the second game", framed(false, shows([this] { return Scene(picture(menu_pic_)); })));
}

void Evening::best_players()
{
    menu_choice(2, "best players");
    const Entry table[5] = {{"cyd", 1}, {lang_.players[1], 1}, {lang_.players[0], 3}, {"dag", 5}, {"\xc5sa", 9}};
    await("best players", shows([this, table] {
              Scene s(picture("thebest.png"));
              for (int i = 0; i < 5; i++) {
                  write(s, 20, table[i].name, 110, 380 - 51 * i, BLACK);
                  write(s, 20, PRIZE[table[i].level], 480, 380 - 51 * i, BLACK);
              }
              return s;
          }));
    if (lang_.ending == Ending::close_in_best)
        return;
    click_at(320, 240);
    await("menu after the best players", framed(false, shows([this] { return Scene(picture(menu_pic_)); })));
}

void Evening::finish()
{
    if (!game_.wait(20))
        throw Failure("the game did not end within 20 s of quitting");
    int status = game_.status();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw Failure(format("the game ended with status %d", status));
    log("the game ended");

    std::string config = read_file(folder_ + "/config");
    if (config != "0 0\n")
        throw Failure("config holds \"" + visible(config) + "\", not \"0 0\\n\"");
    std::string table = read_file(folder_ + "/highscores");
    std::string want = "cyd\n1\n" + lang_.players[1] + "\n1\n" + lang_.players[0] + "\n3\ndag\n5\n\xc5sa\n9\n";
    if (table != want)
        throw Failure("highscores holds \"" + visible(table) + "\", not \"" + visible(want) + "\"");
    for (const char *left : {"config.tmp", "highscores.tmp"})
        if (fs::exists(folder_ + "/" + left))
            throw Failure(std::string("a temporary file was left behind: ") + left);
    std::string out = read_file(folder_ + "/zenobar.log");
    if (out.find("error!:") != std::string::npos)
        throw Failure("the game could not load a picture:\n" + visible(out, true));
}

void Evening::run()
{
    game_ = Child({folder_ + "/zenobar"},
                  {{"DISPLAY", x_.display()}, {"SDL_VIDEODRIVER", ""}, {"SDL_AUDIODRIVER", "disk"},
                   {"SDL_DISKAUDIOFILE", "/dev/null"}},
                  folder_, folder_ + "/zenobar.log");
    log("the game starts on display " + x_.display());
    double end = now() + options_.window_timeout;
    while (!x_.find_window(TITLE, frame_, canvas_)) {
        if (!game_.running())
            throw Failure(format("the game ended (status %d) before its window appeared:\n%s", game_.status(),
                                 visible(read_file(folder_ + "/zenobar.log"), true).c_str()));
        if (now() > end)
            throw Failure(format("no window titled \"%s\" appeared within %.0f s", TITLE, options_.window_timeout));
        pause_for(0.1);
    }
    if (!x_.announces_close(frame_))
        throw Failure("the window does not take the close request (WM_DELETE_WINDOW)");
    log("the window is up");

    intro();
    await("menu", framed(false, shows([this] { return Scene(picture(menu_pic_)); })));
    options();
    information();
    first_game();
    second_game();
    best_players();
    switch (lang_.ending) {
    case Ending::quit_entry:
        menu_choice(4, "quit");
        break;
    case Ending::close_in_menu:
    case Ending::close_in_best:
        x_.close_request(frame_);
        log("close request sent");
        break;
    }
    finish();
}

int play(const Options &options, const Language &lang)
{
    double start = now();
    try {
        Evening evening(options, lang);
        evening.run();
    } catch (const std::exception &e) {
        printf("[%s] FAILED after %.0f s: %s\n", lang.code.c_str(), now() - start, e.what());
        fflush(stdout);
        return 1;
    }
    printf("[%s] passed in %.0f s\n", lang.code.c_str(), now() - start);
    fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string flag = argv[i], value = argv[i + 1];
        if (flag == "--game")
            options.game = value;
        else if (flag == "--out")
            options.out = value;
        else if (flag == "--program")
            options.program = value;
        else if (flag == "--language")
            options.languages.push_back(value);
        else if (flag == "--window-timeout")
            options.window_timeout = atof(value.c_str());
        else
            options.game.clear();
    }
    if (options.game.empty() || options.out.empty() || argc % 2 == 0) {
        fprintf(stderr,
                "usage: %s --game GAME_DIR --out DIR [--language pol|eng|swe]... [--window-timeout S] "
                "[--program PATH]\n",
                argv[0]);
        return 2;
    }
    std::vector<const Language *> chosen;
    for (const Language &lang : LANGUAGES)
        if (options.languages.empty() ||
            std::find(options.languages.begin(), options.languages.end(), lang.code) != options.languages.end())
            chosen.push_back(&lang);
    if (!options.languages.empty() && chosen.size() != options.languages.size()) {
        fprintf(stderr, "unknown language\n");
        return 2;
    }
    if (chosen.size() == 1)
        return play(options, *chosen[0]);

    // Side by side, each on its own X server.
    std::map<pid_t, std::string> running;
    for (const Language *lang : chosen) {
        pid_t pid = fork();
        if (pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            _exit(play(options, *lang));
        }
        running[pid] = lang->code;
    }
    std::vector<std::string> failed;
    double end = now() + 600;
    while (!running.empty()) {
        int status;
        pid_t pid = waitpid(-1, &status, WNOHANG);
        if (pid > 0) {
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                failed.push_back(running[pid]);
            running.erase(pid);
        } else if (now() > end) {
            for (auto &kid : running) {
                kill(kid.first, SIGKILL);
                waitpid(kid.first, &status, 0);
                failed.push_back(kid.second + " (stopped after 600 s)");
            }
            running.clear();
        } else {
            pause_for(0.2);
        }
    }
    for (const std::string &code : failed)
        printf("failed: %s\n", code.c_str());
    return failed.empty() ? 0 : 1;
}
