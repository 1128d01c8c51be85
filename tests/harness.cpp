#include "tests/harness.h"
#include "tools/png.h"

#include <SDL/SDL_image.h>
#include <SDL/SDL_mixer.h>
#include <errno.h>
#include <fcntl.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "quiz/quiz.h"
#include "scores/scores.h"
#include "shell/shell.h"

namespace harness {

const char *data_dir = TESTDATA_DIR;
Uint32 clock_now = 0;
Uint32 clock_step = 1000;
std::vector<std::string> record;
std::vector<int> alphas;
std::vector<std::string> rendered;
std::deque<int> forced_rand;
std::string fail_open_path;
int fail_open_after = 0;
std::vector<std::string> fail_pictures;
Uint32 fail_init = 0;
bool fail_video_mode = false;
bool fail_ttf_init = false;
bool fail_calloc = false;

namespace {

struct Item {
    SDL_Event event;
    int idle_polls;
    std::function<void()> step;
};

std::deque<Item> script;
size_t insert_at = SIZE_MAX;  // inside a step: where its events go
long exhausted_polls = 0;
int mouse_x = 0, mouse_y = 0;
Uint8 mouse_buttons = 0;
Uint8 keys[SDLK_LAST];
bool fade_starting = false;
std::map<SDL_Surface *, std::string> pictures_loaded;
std::map<SDL_Surface *, std::pair<std::string, std::string>> texts;

// The mixer's thread frees handles too.
std::mutex sound_mutex;
std::map<Mix_Music *, int> live_sounds;
std::map<Mix_Music *, std::string> sound_names;
std::vector<std::string> load_names, sound_faults;

void add(const Item &item)
{
    if (insert_at != SIZE_MAX)
        script.insert(script.begin() + (long)insert_at++, item);
    else
        script.push_back(item);
}

void push(SDL_Event e) { add(Item{e, 0, nullptr}); }

std::string hex(Uint32 c)
{
    char text[8];
    snprintf(text, sizeof text, "%06x", c & 0xffffff);
    return text;
}

std::string rect(const SDL_Rect *r)
{
    return std::to_string(r->x) + "," + std::to_string(r->y) + "," + std::to_string(r->w) + "," +
           std::to_string(r->h);
}

}  // namespace

void motion(int x, int y)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = (Uint16)x;
    e.motion.y = (Uint16)y;
    push(e);
}

static void button(Uint8 type, int x, int y, int which)
{
    SDL_Event e{};
    e.type = type;
    e.button.button = (Uint8)which;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = (Uint16)x;
    e.button.y = (Uint16)y;
    push(e);
}

void press(int x, int y, int which) { button(SDL_MOUSEBUTTONDOWN, x, y, which); }
void release(int x, int y, int which) { button(SDL_MOUSEBUTTONUP, x, y, which); }
void click(int x, int y, int which)
{
    press(x, y, which);
    release(x, y, which);
}

static void key(Uint8 type, int sym)
{
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = (SDLKey)sym;
    push(e);
}

void key_down(int sym) { key(SDL_KEYDOWN, sym); }
void key_up(int sym) { key(SDL_KEYUP, sym); }
void type(int sym)
{
    key_down(sym);
    key_up(sym);
}

void close_window()
{
    SDL_Event e{};
    e.type = SDL_QUIT;
    push(e);
}

void idle(int polls) { add(Item{SDL_Event{}, polls, nullptr}); }
void then(std::function<void()> step) { add(Item{SDL_Event{}, 0, std::move(step)}); }
size_t script_left() { return script.size(); }
long polls_after_script() { return exhausted_polls; }

bool was_rendered(const std::string &text)
{
    return std::find(rendered.begin(), rendered.end(), text) != rendered.end();
}

std::string record_text()
{
    std::string text;
    for (const auto &line : record)
        text += line + "\n";
    return text;
}

int right_slot()
{
    static const int codes[4] = {1000, 100, 10, 1};
    for (int i = (int)rendered.size() - 6; i >= 0; i--)
        for (QuestionPool *pool : {easy, med, hard})
            for (int q = 0; pool != NULL && q < pool[0].count; q++) {
                const Question &r = pool[q];
                if (rendered[i] != r.line1 || rendered[i + 2] != r.answer[0] || rendered[i + 3] != r.answer[1] ||
                    rendered[i + 4] != r.answer[2] || rendered[i + 5] != r.answer[3])
                    continue;
                for (int k = 0; k < 4; k++)
                    if (codes[k] == r.correct)
                        return k;
                return -1;
            }
    ADD_FAILURE() << "no question on screen";
    return 0;
}

void click_slot(int slot)
{
    static const int x[4] = {100, 400, 100, 400}, y[4] = {380, 380, 440, 440};
    click(x[slot], y[slot]);
}

void answer_right()
{
    then([] {
        int s = right_slot();
        click_slot(s);
        click_slot(s);
    });
}

void choose_language(int flag)
{
    static const int x[3] = {330, 190, 470}, y[3] = {210, 370, 370};
    motion(x[flag - 1], y[flag - 1]);
    release(x[flag - 1], y[flag - 1]);
}

void menu_entry(int entry)
{
    static const int y[5] = {146, 209, 274, 332, 392};
    motion(320, y[entry - 1]);
    release(320, y[entry - 1]);
}

void type_name(const std::string &name)
{
    for (char c : name)
        type(c);
    type(SDLK_RETURN);
}

void expect_in_order(const std::vector<std::string> &want)
{
    size_t at = 0;
    for (const auto &line : record)
        if (at < want.size() && line == want[at])
            at++;
    EXPECT_EQ(at, want.size()) << "missing, in order: " << (at < want.size() ? want[at] : "") << "\nlog:\n"
                               << record_text();
}

void expect_tail(const std::vector<std::string> &want)
{
    std::vector<std::string> tail(record.end() - (long)std::min(record.size(), want.size()), record.end());
    EXPECT_EQ(tail, want) << "record:\n" << record_text();
}

void expect_fades_of_two_seconds()
{
    // A second a frame: each fade is its first alpha and one step of 127.
    ASSERT_EQ(alphas.size() % 2, 0u);
    for (size_t i = 0; i < alphas.size(); i += 2) {
        EXPECT_TRUE(alphas[i] == 0 || alphas[i] == 255) << i;
        EXPECT_EQ(alphas[i + 1], 127) << i;
    }
    EXPECT_EQ(alphas.size(), 2 * (size_t)(count_of("fade in ") + count_of("fade out ")));
}

int count_of(const std::string &prefix)
{
    return (int)std::count_if(record.begin(), record.end(),
                              [&](const std::string &line) { return line.compare(0, prefix.size(), prefix) == 0; });
}

int sound_loads()
{
    std::lock_guard<std::mutex> lock(sound_mutex);
    return (int)load_names.size();
}

std::vector<std::string> sounds_loaded()
{
    std::lock_guard<std::mutex> lock(sound_mutex);
    return load_names;
}

bool every_sound_freed_once(std::string *why)
{
    std::lock_guard<std::mutex> lock(sound_mutex);
    std::ostringstream out;
    for (const auto &fault : sound_faults)
        out << fault << "\n";
    // The last sound may still play when the program ends.
    for (const auto &live : live_sounds)
        if (live.second != 0 && live.first != smusic.load())
            out << "handle " << live.first << " never freed\n";
    *why = out.str();
    return why->empty();
}

void reset_state()
{
    APPMODE = MODE_MENU;
    LAPPMODE = 0;
    BSET = LBSET = 0;
    language = 1;
    music = 0;
    fullscreen = sfullscreen = 0;
    screen = image = simage = NULL;
    font1 = font2 = NULL;
    quit = quitapp = 0;
    player_name = NULL;
    nplayer = 0;
    memset(&event, 0, sizeof event);
    memset(mbutton, 0, sizeof mbutton);
    memset(answers, 0, sizeof answers);
    memset(help, 0, sizeof help);
    memset(opt, 0, sizeof opt);
    memset(lang, 0, sizeof lang);
    memset(players, 0, sizeof players);
    memset(playersi, 0, sizeof playersi);
    oneone = call = pub = 0;
    position = 0;
    ix = iy = 0;
    smusic.store(NULL);

    script.clear();
    exhausted_polls = 0;
    mouse_x = mouse_y = 0;
    mouse_buttons = 0;
    memset(keys, 0, sizeof keys);
    clock_now = 0;
    clock_step = 1000;
    record.clear();
    alphas.clear();
    rendered.clear();
    forced_rand.clear();
    fail_open_path.clear();
    fail_open_after = 0;
    fail_pictures.clear();
    fail_init = 0;
    fail_video_mode = fail_ttf_init = fail_calloc = false;
    fade_starting = false;
    pictures_loaded.clear();
    texts.clear();
    std::lock_guard<std::mutex> lock(sound_mutex);
    live_sounds.clear();
    sound_names.clear();
    load_names.clear();
    sound_faults.clear();
}

Uint32 pixel_of(SDL_Surface *surface, int x, int y)
{
    SDL_LockSurface(surface);
    SDL_PixelFormat *f = surface->format;
    Uint8 *p = (Uint8 *)surface->pixels + y * surface->pitch + x * f->BytesPerPixel;
    Uint32 value = 0;
    memcpy(&value, p, f->BytesPerPixel);
    SDL_UnlockSurface(surface);
    Uint8 r, g, b;
    SDL_GetRGB(value, f, &r, &g, &b);
    return ((Uint32)r << 16) | ((Uint32)g << 8) | b;
}

Uint32 pixel(int x, int y) { return pixel_of(screen, x, y); }

static int saved_stdout = -1;
static std::string capture_path;

void capture_stdout()
{
    fflush(stdout);
    capture_path = std::string(getenv("TMPDIR") ? getenv("TMPDIR") : "/tmp") + "/zenobar-stdout-" +
                   std::to_string(getpid());
    int fd = open(capture_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    saved_stdout = dup(1);
    dup2(fd, 1);
    close(fd);
}

std::string captured_stdout()
{
    fflush(stdout);
    if (saved_stdout >= 0) {
        dup2(saved_stdout, 1);
        close(saved_stdout);
        saved_stdout = -1;
    }
    std::string text = read_file(capture_path);
    unlink(capture_path.c_str());
    return text;
}

std::string read_file(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void write_file(const std::string &path, const std::string &content)
{
    std::ofstream f(path, std::ios::binary);
    f << content;
}

bool file_exists(const std::string &path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// ---------------------------------------------------------------- data

static const struct {
    const char *name;
    Uint32 colour;
    int w, h;
} pictures[] = {
    {"gfx/logo.png", 0x802020, 640, 480},
    {"gfx/title.png", 0x208020, 640, 480},
    {"gfx/slanguage.png", 0xc0c0f0, 640, 480},
    {"gfx/sslanguage.png", 0xf0f080, 640, 480},
    {"gfx/menu.png", 0xd0d0d0, 640, 480},
    {"gfx/smenu.png", 0xf0b000, 640, 480},
    {"gfx/eng/menu.png", 0xd0e0d0, 640, 480},
    {"gfx/eng/smenu.png", 0xf0b010, 640, 480},
    {"gfx/swe/menu.png", 0xd0d0e0, 640, 480},
    {"gfx/swe/smenu.png", 0xf0b020, 640, 480},
    {"gfx/game.png", 0xe0e0f0, 640, 480},
    {"gfx/name.png", 0xe0f0e0, 640, 480},
    {"gfx/option.png", 0x303060, 640, 480},
    {"gfx/soption.png", 0x60a060, 640, 480},
    {"gfx/info.png", 0xf0e0d0, 640, 480},
    {"gfx/thebest.png", 0xf0f0c0, 640, 480},
    {"gfx/information.png", 0xfffff0, 560, 100},
};

Uint32 colour_of(const std::string &picture)
{
    for (const auto &p : pictures)
        if (picture == p.name)
            return p.colour;
    ADD_FAILURE() << "no placeholder " << picture;
    return 0;
}

static bool write_wav(const std::string &path, double seconds, double hz, int amplitude)
{
    const int rate = 22050;
    int frames = (int)(seconds * rate);
    std::string data;
    for (int i = 0; i < frames; i++) {
        Sint16 s = (Sint16)(amplitude * sin(2 * M_PI * hz * i / rate));
        data += (char)(s & 0xff);
        data += (char)((s >> 8) & 0xff);
    }
    std::string wav = "RIFF";
    auto le32 = [&](Uint32 v) {
        for (int k = 0; k < 4; k++)
            wav += (char)(v >> (8 * k));
    };
    auto le16 = [&](Uint16 v) {
        wav += (char)(v & 0xff);
        wav += (char)(v >> 8);
    };
    le32((Uint32)(36 + data.size()));
    wav += "WAVEfmt ";
    le32(16);
    le16(1);
    le16(1);
    le32(rate);
    le32(rate * 2);
    le16(2);
    le16(16);
    wav += "data";
    le32((Uint32)data.size());
    wav += data;
    std::ofstream f(path, std::ios::binary);
    f << wav;
    return (bool)f;
}

static void make_data(const std::string &dir)
{
    for (const char *sub : {"", "/gfx", "/gfx/eng", "/gfx/swe", "/sfx", "/quest"})
        mkdir((dir + sub).c_str(), 0755);
    for (const auto &p : pictures) {
        std::vector<Uint8> rgb((size_t)p.w * p.h * 3);
        for (size_t i = 0; i < rgb.size(); i += 3) {
            rgb[i] = (Uint8)(p.colour >> 16);
            rgb[i + 1] = (Uint8)(p.colour >> 8);
            rgb[i + 2] = (Uint8)p.colour;
        }
        if (!write_png_rgb(dir + "/" + p.name, p.w, p.h, rgb)) {
            fprintf(stderr, "harness: cannot write %s\n", p.name);
            abort();
        }
    }
    const char *effects[] = {"aplause", "bad_answer", "button", "button_press", "half",
                             "name_input", "peoples", "start_button", "telephone", "winner"};
    int n = 0;
    for (const char *effect : effects)
        write_wav(dir + "/sfx/" + effect + ".wav", 0.15, 300 + 50 * n++, 8000);
    // Effects that end by themselves almost at once, for the race tests.
    write_wav(dir + "/sfx/tick.wav", 0.005, 1000, 8000);
    for (const char *tune : {"msx_menu", "msx_game"}) {
        std::string wav = dir + "/sfx/" + tune + ".tone.wav";
        write_wav(wav, 2.0, tune[4] == 'm' ? 440 : 330, 12000);
        std::string command = "oggenc -Q -o '" + dir + "/sfx/" + tune + ".ogg' '" + wav + "'";
        if (system(command.c_str()) != 0) {
            fprintf(stderr, "harness: oggenc failed (is vorbis-tools installed?)\n");
            abort();
        }
        unlink(wav.c_str());
    }
    // Every pool holds six questions; the right answer's text says so, and
    // each question names its level and number.
    for (const char *lang : {"pol", "eng", "swe"}) {
        mkdir((dir + "/quest/" + lang).c_str(), 0755);
        const char *files[] = {"latwe", "srednie", "trudne"};
        for (int level = 1; level <= 3; level++) {
            std::string text;
            for (int q = 0; q < 6; q++) {
                std::string id = "L" + std::to_string(level) + "Q" + std::to_string(q);
                text += id + " " + lang + "\nsecond line\nright " + id + "\nwrong one\nwrong two\nwrong three\n1000\n";
            }
            write_file(dir + "/quest/" + lang + "/" + files[level - 1] + ".qst", text);
        }
    }
    symlink(VERA_TTF, (dir + "/Vera.ttf").c_str());
}

// Made once per build folder; a lock keeps parallel tests from racing.
static void ensure_data()
{
    std::string dir = data_dir;
    std::string stamp = dir + "/.complete-2";
    if (file_exists(stamp))
        return;
    mkdir(dir.c_str(), 0755);
    int lock = open((dir + ".lock").c_str(), O_RDWR | O_CREAT, 0644);
    flock(lock, LOCK_EX);
    if (!file_exists(stamp)) {
        make_data(dir);
        write_file(stamp, "");
    }
    flock(lock, LOCK_UN);
    close(lock);
}

}  // namespace harness

// ---------------------------------------------------------------- fixture

void GameTest::SetUp()
{
    harness::ensure_data();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("DISPLAY");
    char tmpl[] = "/tmp/zenobar-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    folder = tmpl;
    for (const char *item : {"gfx", "sfx", "quest", "Vera.ttf"})
        symlink((std::string(harness::data_dir) + "/" + item).c_str(), (folder + "/" + item).c_str());
    ASSERT_EQ(chdir(folder.c_str()), 0);
    harness::reset_state();
    // A hang is a failure, not a stuck build.
    alarm(60);
}

void GameTest::TearDown()
{
    alarm(0);
    if (chdir("/") == 0 && !HasFailure())
        system(("rm -rf '" + folder + "'").c_str());
    else if (HasFailure())
        fprintf(stderr, "test folder kept: %s\n", folder.c_str());
}

int GameTest::run_game()
{
    char name[] = "zenobar";
    char *argv[] = {name, NULL};
    int status = zenobar_main(1, argv);
    screen = NULL;
    font1 = font2 = NULL;
    player_name = NULL;
    return status;
}

// ---------------------------------------------------------------- stand-ins
// The linker's --wrap sends the game code's calls here and leaves the SDL
// libraries their own: their threads keep the real clock.
extern "C" {
int __real_SDL_Init(Uint32 flags);
int __real_SDL_SetAlpha(SDL_Surface *surface, Uint32 flags, Uint8 alpha);
int __real_SDL_WM_ToggleFullScreen(SDL_Surface *surface);
SDL_Surface *__real_SDL_SetVideoMode(int w, int h, int bpp, Uint32 flags);
SDL_Surface *__real_SDL_CreateRGBSurface(Uint32 flags, int w, int h, int d, Uint32 r, Uint32 g, Uint32 b, Uint32 a);
int __real_SDL_UpperBlit(SDL_Surface *src, SDL_Rect *srcrect, SDL_Surface *dst, SDL_Rect *dstrect);
int __real_SDL_FillRect(SDL_Surface *dst, SDL_Rect *r, Uint32 colour);
void __real_SDL_FreeSurface(SDL_Surface *surface);
SDL_Surface *__real_IMG_Load(const char *file);
int __real_TTF_Init(void);
SDL_Surface *__real_TTF_RenderText_Solid(TTF_Font *font, const char *text, SDL_Color fg);
void *__real_calloc(size_t count, size_t size);
Mix_Music *__real_Mix_LoadMUS(const char *file);
void __real_Mix_FreeMusic(Mix_Music *m);
int __real_Mix_PlayMusic(Mix_Music *m, int loops);
int __real_rand(void);
void __real_srand(unsigned int seed);
FILE *__real_fopen(const char *path, const char *mode);
}

using namespace harness;

extern "C" int __wrap_SDL_PollEvent(SDL_Event *out)
{
    while (!script.empty() && script.front().step) {
        std::function<void()> step = std::move(script.front().step);
        script.pop_front();
        size_t outer = insert_at;
        insert_at = 0;
        step();
        insert_at = outer;
    }
    if (script.empty()) {
        if (++exhausted_polls > 100000) {
            fprintf(stderr, "harness: the script is spent and the program does not end\n");
            abort();
        }
        if (out != NULL) {
            memset(out, 0, sizeof *out);
            out->type = SDL_QUIT;
        }
        return 1;
    }
    Item &item = script.front();
    if (item.idle_polls > 0) {
        if (--item.idle_polls == 0)
            script.pop_front();
        return 0;
    }
    if (out == NULL)
        return 1;
    SDL_Event e = item.event;
    script.pop_front();
    if (e.type == SDL_MOUSEMOTION) {
        mouse_x = e.motion.x;
        mouse_y = e.motion.y;
    } else if (e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP) {
        mouse_x = e.button.x;
        mouse_y = e.button.y;
        if (e.type == SDL_MOUSEBUTTONDOWN)
            mouse_buttons |= SDL_BUTTON(e.button.button);
        else
            mouse_buttons &= ~SDL_BUTTON(e.button.button);
    } else if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) {
        keys[e.key.keysym.sym] = e.type == SDL_KEYDOWN;
    }
    *out = e;
    return 1;
}

extern "C" Uint32 __wrap_SDL_GetTicks(void)
{
    Uint32 now = clock_now;
    clock_now += clock_step;
    return now;
}

extern "C" void __wrap_SDL_Delay(Uint32 ms)
{
    clock_now += ms;
    record.push_back("delay " + std::to_string(ms));
}

extern "C" Uint8 __wrap_SDL_GetMouseState(int *x, int *y)
{
    if (x != NULL)
        *x = mouse_x;
    if (y != NULL)
        *y = mouse_y;
    return mouse_buttons;
}

extern "C" Uint8 *__wrap_SDL_GetKeyState(int *numkeys)
{
    if (numkeys != NULL)
        *numkeys = SDLK_LAST;
    return keys;
}

extern "C" int __wrap_SDL_Init(Uint32 flags)
{
    if (flags & fail_init) {
        SDL_SetError("harness refuses");
        return -1;
    }
    return __real_SDL_Init(flags);
}

// A fade makes its black surface, then sets a first alpha of 0 (darkening)
// or 255 (brightening); the picture it blits every frame is logged once.
extern "C" SDL_Surface *__wrap_SDL_CreateRGBSurface(Uint32 flags, int w, int h, int d, Uint32 r, Uint32 g,
                                                     Uint32 b, Uint32 a)
{
    fade_starting = true;
    return __real_SDL_CreateRGBSurface(flags, w, h, d, r, g, b, a);
}

extern "C" int __wrap_SDL_SetAlpha(SDL_Surface *surface, Uint32 flags, Uint8 alpha)
{
    alphas.push_back(alpha);
    bool shown = !record.empty() && record.back().compare(0, 5, "show ") == 0;
    std::string picture = shown ? record.back().substr(5) : "?";
    if (shown)
        record.pop_back();
    if (fade_starting)
        record.push_back(std::string(alpha == 0 ? "fade out " : "fade in ") + picture);
    fade_starting = false;
    return __real_SDL_SetAlpha(surface, flags, alpha);
}

extern "C" int __wrap_SDL_WM_ToggleFullScreen(SDL_Surface *surface)
{
    record.push_back("toggle");
    return __real_SDL_WM_ToggleFullScreen(surface);
}

extern "C" SDL_Surface *__wrap_SDL_SetVideoMode(int w, int h, int bpp, Uint32 flags)
{
    return fail_video_mode ? NULL : __real_SDL_SetVideoMode(w, h, bpp, flags);
}

extern "C" SDL_Surface *__wrap_IMG_Load(const char *file)
{
    SDL_Surface *s = NULL;
    if (std::find(fail_pictures.begin(), fail_pictures.end(), file) != fail_pictures.end())
        SDL_SetError("harness withholds %s", file);
    else
        s = __real_IMG_Load(file);
    record.push_back(std::string("load ") + file + (s == NULL ? " failed" : ""));
    if (s != NULL)
        pictures_loaded[s] = file;
    return s;
}

extern "C" void __wrap_SDL_FreeSurface(SDL_Surface *surface)
{
    pictures_loaded.erase(surface);
    texts.erase(surface);
    __real_SDL_FreeSurface(surface);
}

extern "C" int __wrap_SDL_UpperBlit(SDL_Surface *src, SDL_Rect *srcrect, SDL_Surface *dst, SDL_Rect *dstrect)
{
    std::string at = dstrect == NULL ? "0,0" : std::to_string(dstrect->x) + "," + std::to_string(dstrect->y);
    if (dst == screen && src != NULL) {
        auto picture = pictures_loaded.find(src);
        auto text = texts.find(src);
        if (text != texts.end())
            record.push_back("text " + text->second.first + " at " + at + text->second.second);
        else if (picture != pictures_loaded.end() && srcrect == NULL)
            record.push_back("show " + picture->second + (at == "0,0" ? "" : " at " + at));
        else if (picture != pictures_loaded.end())
            record.push_back("blit " + picture->second + " " + rect(srcrect) + " at " + at);
    }
    return __real_SDL_UpperBlit(src, srcrect, dst, dstrect);
}

extern "C" int __wrap_SDL_FillRect(SDL_Surface *dst, SDL_Rect *r, Uint32 colour)
{
    if (dst == screen && screen != NULL && r != NULL) {
        Uint8 red, green, blue;
        SDL_GetRGB(colour, dst->format, &red, &green, &blue);
        record.push_back("fill " + rect(r) + " " + hex((Uint32)red << 16 | green << 8 | blue));
    }
    return __real_SDL_FillRect(dst, r, colour);
}

extern "C" int __wrap_TTF_Init(void) { return fail_ttf_init ? -1 : __real_TTF_Init(); }

extern "C" SDL_Surface *__wrap_TTF_RenderText_Solid(TTF_Font *font, const char *text, SDL_Color fg)
{
    rendered.push_back(text);
    SDL_Surface *s = __real_TTF_RenderText_Solid(font, text, fg);
    if (s != NULL)
        texts[s] = {"'" + std::string(text) + "'", std::string(font == font1 ? " f20 " : font == font2 ? " f14 " : " f? ") +
                                                       hex((Uint32)fg.r << 16 | fg.g << 8 | fg.b)};
    return s;
}

extern "C" void *__wrap_calloc(size_t count, size_t size) { return fail_calloc ? NULL : __real_calloc(count, size); }

extern "C" Mix_Music *__wrap_Mix_LoadMUS(const char *file)
{
    Mix_Music *m = __real_Mix_LoadMUS(file);
    std::lock_guard<std::mutex> lock(sound_mutex);
    load_names.push_back(file);
    if (m != NULL) {
        if (live_sounds[m] != 0)
            sound_faults.push_back("handle reused while still loaded");
        live_sounds[m] = 1;
        sound_names[m] = file;
    }
    return m;
}

extern "C" int __wrap_Mix_PlayMusic(Mix_Music *m, int loops)
{
    {
        std::lock_guard<std::mutex> lock(sound_mutex);
        auto name = sound_names.find(m);
        record.push_back("sound " + (name == sound_names.end() ? std::string("?") : name->second) + " loops " +
                      std::to_string(loops));
    }
    return __real_Mix_PlayMusic(m, loops);
}

extern "C" void __wrap_Mix_FreeMusic(Mix_Music *m)
{
    if (m != NULL) {
        std::lock_guard<std::mutex> lock(sound_mutex);
        auto it = live_sounds.find(m);
        if (it == live_sounds.end() || it->second == 0)
            sound_faults.push_back("handle freed twice or never loaded");
        else
            it->second = 0;
    }
    __real_Mix_FreeMusic(m);
}

extern "C" int __wrap_rand(void)
{
    if (forced_rand.empty())
        return __real_rand();
    int value = forced_rand.front();
    forced_rand.pop_front();
    return value;
}

// Runs repeat: the game's seeds from the clock are replaced by one.
extern "C" void __wrap_srand(unsigned int seed)
{
    (void)seed;
    __real_srand(1);
}

extern "C" FILE *__wrap_fopen(const char *path, const char *mode)
{
    if (!fail_open_path.empty() && fail_open_path == path && fail_open_after-- <= 0) {
        errno = EIO;
        return NULL;
    }
    return __real_fopen(path, mode);
}
