#include "tests/harness.h"

#include <SDL/SDL_image.h>
#include <SDL/SDL_mixer.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

namespace harness {

const char *data_dir = TESTDATA_DIR;
Uint32 clock_now, clock_step;
std::vector<std::string> record, rendered, fail_pictures;
std::vector<int> alphas;
std::deque<int> forced_rand;
Uint32 fail_init;
bool fail_video_mode, fail_ttf_init, fail_calloc;
int fail_rename;

namespace {

struct Item {
    SDL_Event event;
    int idle_polls;
    std::function<void()> step;
};

// What the stand-ins keep between calls; a fresh one for every test.
struct State {
    std::deque<Item> script;
    size_t insert_at = SIZE_MAX;  // inside a step: where its events go
    long exhausted_polls = 0;
    int mouse_x = 0, mouse_y = 0;
    Uint8 keys[SDLK_LAST] = {};
    bool fade_starting = false;
    std::map<SDL_Surface *, std::string> pictures, texts, styles;
    std::map<Mix_Music *, std::string> sounds;  // live handles
    std::vector<std::string> loads, sound_faults;
} st;

// The mixer's thread frees handles too.
std::mutex sound_mutex;

void add(Item item)
{
    if (st.insert_at != SIZE_MAX)
        st.script.insert(st.script.begin() + (long)st.insert_at++, std::move(item));
    else
        st.script.push_back(std::move(item));
}

void push(Uint8 type, std::function<void(SDL_Event &)> fill)
{
    SDL_Event e{};
    e.type = type;
    fill(e);
    add(Item{e, 0, nullptr});
}

std::string hex(Uint8 r, Uint8 g, Uint8 b)
{
    char text[8];
    snprintf(text, sizeof text, "%02x%02x%02x", r, g, b);
    return text;
}

std::string numbers(std::initializer_list<int> values)
{
    std::string text;
    for (int v : values)
        text += (text.empty() ? "" : ",") + std::to_string(v);
    return text;
}

}  // namespace

void motion(int x, int y)
{
    push(SDL_MOUSEMOTION, [=](SDL_Event &e) { e.motion.x = (Uint16)x, e.motion.y = (Uint16)y; });
}

static void button(Uint8 type, int x, int y, int which)
{
    push(type, [=](SDL_Event &e) {
        e.button.button = (Uint8)which;
        e.button.x = (Uint16)x;
        e.button.y = (Uint16)y;
    });
}

static void press(int x, int y, int which) { button(SDL_MOUSEBUTTONDOWN, x, y, which); }
void release(int x, int y, int which) { button(SDL_MOUSEBUTTONUP, x, y, which); }
void click(int x, int y, int which) { press(x, y, which), release(x, y, which); }
void key_down(int sym) { push(SDL_KEYDOWN, [=](SDL_Event &e) { e.key.keysym.sym = (SDLKey)sym; }); }
void key_up(int sym) { push(SDL_KEYUP, [=](SDL_Event &e) { e.key.keysym.sym = (SDLKey)sym; }); }
void type(int sym) { key_down(sym), key_up(sym); }
void close_window() { push(SDL_QUIT, [](SDL_Event &) {}); }
void idle(int polls) { add(Item{SDL_Event{}, polls, nullptr}); }
void then(std::function<void()> step) { add(Item{SDL_Event{}, 0, std::move(step)}); }
long polls_after_script() { return st.exhausted_polls; }

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

int right_slot()
{
    for (int i = (int)rendered.size() - 6; i >= 0; i--)
        for (QuestionPool *pool : {easy, med, hard})
            for (int q = 0; pool != NULL && q < pool[0].count; q++) {
                const Question &r = pool[q];
                bool shown = rendered[i] == r.line1 && rendered[i + 1] == r.line2;
                for (int k = 0; k < 4; k++)
                    shown = shown && rendered[i + 2 + k] == r.answer[k];
                for (int k = 0; shown && k < 4; k++)
                    if (answer_codes[k] == r.correct)
                        return k;
            }
    ADD_FAILURE() << "no question on screen";
    return 0;
}

void click_slot(int slot) { click(slot % 2 ? 400 : 100, slot < 2 ? 380 : 440); }

void answer_right()
{
    then([] {
        int s = right_slot();
        click_slot(s), click_slot(s);
    });
}

std::string record_text()
{
    std::string text;
    for (const auto &line : record)
        text += line + "\n";
    return text;
}

void expect_in_order(const std::vector<std::string> &want)
{
    size_t at = 0;
    for (const auto &line : record)
        if (at < want.size() && line == want[at])
            at++;
    EXPECT_EQ(at, want.size()) << "missing, in order: " << (at < want.size() ? want[at] : "") << "\nrecord:\n"
                               << record_text();
}

void expect_tail(const std::vector<std::string> &want)
{
    std::vector<std::string> tail(record.end() - (long)std::min(record.size(), want.size()), record.end());
    EXPECT_EQ(tail, want) << "record:\n" << record_text();
}

int count_of(const std::string &prefix)
{
    return (int)std::count_if(record.begin(), record.end(),
                              [&](const std::string &line) { return line.compare(0, prefix.size(), prefix) == 0; });
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

int sound_loads()
{
    std::lock_guard<std::mutex> lock(sound_mutex);
    return (int)st.loads.size();
}

bool every_sound_freed_once(std::string *why)
{
    std::lock_guard<std::mutex> lock(sound_mutex);
    std::string text;
    for (const auto &fault : st.sound_faults)
        text += fault + "\n";
    // The last sound may still play when the program ends.
    for (const auto &live : st.sounds)
        if (live.first != smusic.load())
            text += live.second + " never freed\n";
    *why = text;
    return text.empty();
}

void reset_state()
{
    APPMODE = MODE_MENU;
    LAPPMODE = BSET = LBSET = 0;
    language = 1;
    music = fullscreen = sfullscreen = 0;
    screen = image = simage = NULL;
    font1 = font2 = NULL;
    quit = quitapp = 0;
    player_name = NULL;
    nplayer = 0;
    event = SDL_Event{};
    memset(players, 0, sizeof players);
    memset(playersi, 0, sizeof playersi);
    oneone = call = pub = position = ix = iy = 0;
    smusic.store(NULL);

    std::lock_guard<std::mutex> lock(sound_mutex);
    st = State{};
    clock_now = 0;
    clock_step = 1000;
    record.clear(), rendered.clear(), fail_pictures.clear(), alphas.clear(), forced_rand.clear();
    fail_init = fail_rename = 0;
    fail_video_mode = fail_ttf_init = fail_calloc = false;
}

Uint32 pixel_of(SDL_Surface *surface, int x, int y)
{
    SDL_LockSurface(surface);
    SDL_PixelFormat *f = surface->format;
    Uint32 value = 0;
    memcpy(&value, (Uint8 *)surface->pixels + y * surface->pitch + x * f->BytesPerPixel, f->BytesPerPixel);
    SDL_UnlockSurface(surface);
    Uint8 r, g, b;
    SDL_GetRGB(value, f, &r, &g, &b);
    return ((Uint32)r << 16) | ((Uint32)g << 8) | b;
}

Uint32 pixel(int x, int y) { return pixel_of(screen, x, y); }

Uint32 colour_of(const std::string &picture, int x, int y)
{
    SDL_Surface *s = IMG_Load((std::string(data_dir) + "/" + picture).c_str());
    Uint32 c = s == NULL ? 0x1000000 : pixel_of(s, x, y);
    SDL_FreeSurface(s);
    return c;
}

static int saved_stdout = -1;
static std::string capture_path;

void capture_stdout()
{
    fflush(stdout);
    capture_path = "/tmp/zenobar-stdout-" + std::to_string(getpid());
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
    std::ofstream(path, std::ios::binary) << content;
}

bool file_exists(const std::string &path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

}  // namespace harness

// Every test plays in a fresh game folder linked to the built game's data.
void GameTest::SetUp()
{
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
    alarm(60);  // a hang is a failure, not a stuck build
}

void GameTest::TearDown()
{
    alarm(0);
    if (HasFailure())
        fprintf(stderr, "test folder kept: %s\n", folder.c_str());
    else if (chdir("/") == 0)
        system(("rm -rf '" + folder + "'").c_str());
}

int GameTest::run_game()
{
    char name[] = "zenobar";
    char *argv[] = {name, NULL};
    int status = zenobar_main(1, argv);
    // The game leaves its last sound loaded at exit; this process goes on.
    Mix_FreeMusic(smusic.exchange(NULL));
    return status;
}

// The linker's --wrap sends the game code's calls here and leaves the SDL
// libraries their own: their threads keep the real clock.
#define REAL(result, name, ...) extern "C" result __real_##name(__VA_ARGS__);
REAL(int, SDL_Init, Uint32)
REAL(int, SDL_SetAlpha, SDL_Surface *, Uint32, Uint8)
REAL(int, SDL_WM_ToggleFullScreen, SDL_Surface *)
REAL(SDL_Surface *, SDL_SetVideoMode, int, int, int, Uint32)
REAL(SDL_Surface *, SDL_CreateRGBSurface, Uint32, int, int, int, Uint32, Uint32, Uint32, Uint32)
REAL(int, SDL_UpperBlit, SDL_Surface *, SDL_Rect *, SDL_Surface *, SDL_Rect *)
REAL(int, SDL_FillRect, SDL_Surface *, SDL_Rect *, Uint32)
REAL(void, SDL_FreeSurface, SDL_Surface *)
REAL(SDL_Surface *, IMG_Load, const char *)
REAL(int, TTF_Init, void)
REAL(SDL_Surface *, TTF_RenderText_Solid, TTF_Font *, const char *, SDL_Color)
REAL(void *, calloc, size_t, size_t)
REAL(Mix_Music *, Mix_LoadMUS, const char *)
REAL(void, Mix_FreeMusic, Mix_Music *)
REAL(int, Mix_PlayMusic, Mix_Music *, int)
REAL(int, rand, void)
REAL(void, srand, unsigned int)
REAL(int, rename, const char *, const char *)

using namespace harness;

extern "C" int __wrap_SDL_PollEvent(SDL_Event *out)
{
    while (!st.script.empty() && st.script.front().step) {
        std::function<void()> step = std::move(st.script.front().step);
        st.script.pop_front();
        size_t outer = st.insert_at;
        st.insert_at = 0;
        step();
        st.insert_at = outer;
    }
    if (st.script.empty()) {
        if (++st.exhausted_polls > 100000) {
            fprintf(stderr, "harness: the script is spent and the program does not end\n");
            abort();
        }
        *out = SDL_Event{};
        out->type = SDL_QUIT;
        return 1;
    }
    Item &item = st.script.front();
    if (item.idle_polls > 0) {
        if (--item.idle_polls == 0)
            st.script.pop_front();
        return 0;
    }
    SDL_Event e = item.event;
    st.script.pop_front();
    if (e.type == SDL_MOUSEMOTION) {
        st.mouse_x = e.motion.x;
        st.mouse_y = e.motion.y;
    } else if (e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP) {
        st.mouse_x = e.button.x;
        st.mouse_y = e.button.y;
    } else if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) {
        st.keys[e.key.keysym.sym] = e.type == SDL_KEYDOWN;
    }
    *out = e;
    return 1;
}

extern "C" Uint32 __wrap_SDL_GetTicks(void) { return (clock_now += clock_step) - clock_step; }

extern "C" void __wrap_SDL_Delay(Uint32 ms)
{
    clock_now += ms;
    record.push_back("delay " + std::to_string(ms));
}

extern "C" Uint8 __wrap_SDL_GetMouseState(int *x, int *y)
{
    if (x != NULL)
        *x = st.mouse_x;
    if (y != NULL)
        *y = st.mouse_y;
    return 0;  // the game never asks which buttons are down
}

extern "C" Uint8 *__wrap_SDL_GetKeyState(int *) { return st.keys; }

extern "C" int __wrap_SDL_Init(Uint32 flags)
{
    if (flags & fail_init) {
        SDL_SetError("harness refuses");
        return -1;
    }
    return __real_SDL_Init(flags);
}

// A fade makes its black surface, then sets a first alpha of 0 (darkening)
// or 255 (brightening); the picture it blits every frame is kept once.
extern "C" SDL_Surface *__wrap_SDL_CreateRGBSurface(Uint32 flags, int w, int h, int d, Uint32 r, Uint32 g,
                                                     Uint32 b, Uint32 a)
{
    st.fade_starting = true;
    return __real_SDL_CreateRGBSurface(flags, w, h, d, r, g, b, a);
}

extern "C" int __wrap_SDL_SetAlpha(SDL_Surface *surface, Uint32 flags, Uint8 alpha)
{
    alphas.push_back(alpha);
    bool shown = !record.empty() && record.back().compare(0, 5, "show ") == 0;
    std::string picture = shown ? record.back().substr(5) : "?";
    if (shown)
        record.pop_back();
    if (st.fade_starting)
        record.push_back(std::string(alpha == 0 ? "fade out " : "fade in ") + picture);
    st.fade_starting = false;
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
    bool withheld = std::find(fail_pictures.begin(), fail_pictures.end(), file) != fail_pictures.end();
    if (withheld)
        SDL_SetError("harness withholds %s", file);
    SDL_Surface *s = withheld ? NULL : __real_IMG_Load(file);
    record.push_back(std::string("load ") + file + (s == NULL ? " failed" : ""));
    if (s != NULL)
        st.pictures[s] = file;
    return s;
}

extern "C" void __wrap_SDL_FreeSurface(SDL_Surface *surface)
{
    st.pictures.erase(surface);
    st.texts.erase(surface);
    st.styles.erase(surface);
    __real_SDL_FreeSurface(surface);
}

extern "C" int __wrap_SDL_UpperBlit(SDL_Surface *src, SDL_Rect *from, SDL_Surface *dst, SDL_Rect *to)
{
    std::string at = to == NULL ? "0,0" : numbers({to->x, to->y});
    auto picture = st.pictures.find(src), text = st.texts.find(src);
    if (dst != screen || src == NULL) {
    } else if (text != st.texts.end()) {
        record.push_back("text " + text->second + " at " + at + st.styles[src]);
    } else if (picture != st.pictures.end() && from == NULL) {
        record.push_back("show " + picture->second + (at == "0,0" ? "" : " at " + at));
    } else if (picture != st.pictures.end()) {
        record.push_back("blit " + picture->second + " " + numbers({from->x, from->y, from->w, from->h}) + " at " + at);
    }
    return __real_SDL_UpperBlit(src, from, dst, to);
}

extern "C" int __wrap_SDL_FillRect(SDL_Surface *dst, SDL_Rect *r, Uint32 colour)
{
    if (dst == screen && r != NULL) {
        Uint8 red, green, blue;
        SDL_GetRGB(colour, dst->format, &red, &green, &blue);
        record.push_back("fill " + numbers({r->x, r->y, r->w, r->h}) + " " + hex(red, green, blue));
    }
    return __real_SDL_FillRect(dst, r, colour);
}

extern "C" int __wrap_TTF_Init(void) { return fail_ttf_init ? -1 : __real_TTF_Init(); }

extern "C" SDL_Surface *__wrap_TTF_RenderText_Solid(TTF_Font *font, const char *text, SDL_Color fg)
{
    rendered.push_back(text);
    SDL_Surface *s = __real_TTF_RenderText_Solid(font, text, fg);
    if (s != NULL) {
        st.texts[s] = "'" + std::string(text) + "'";
        st.styles[s] = std::string(font == font1 ? " f20 " : font == font2 ? " f14 " : " f? ") + hex(fg.r, fg.g, fg.b);
    }
    return s;
}

extern "C" void *__wrap_calloc(size_t count, size_t size) { return fail_calloc ? NULL : __real_calloc(count, size); }
// Weak: a suite may count renames its own way.
extern "C" __attribute__((weak)) int __wrap_rename(const char *from, const char *to)
{
    return fail_rename ? (errno = fail_rename, -1) : __real_rename(from, to);
}

extern "C" Mix_Music *__wrap_Mix_LoadMUS(const char *file)
{
    Mix_Music *m = __real_Mix_LoadMUS(file);
    std::lock_guard<std::mutex> lock(sound_mutex);
    st.loads.push_back(file);
    if (m != NULL && st.sounds.count(m))
        st.sound_faults.push_back("handle reused while still loaded");
    if (m != NULL)
        st.sounds[m] = file;
    return m;
}

extern "C" int __wrap_Mix_PlayMusic(Mix_Music *m, int loops)
{
    std::unique_lock<std::mutex> lock(sound_mutex);
    std::string name = st.sounds.count(m) ? st.sounds[m] : "?";
    lock.unlock();
    record.push_back("sound " + name + " loops " + std::to_string(loops));
    return __real_Mix_PlayMusic(m, loops);
}

extern "C" void __wrap_Mix_FreeMusic(Mix_Music *m)
{
    if (m != NULL) {
        std::lock_guard<std::mutex> lock(sound_mutex);
        if (st.sounds.erase(m) == 0)
            st.sound_faults.push_back("handle freed twice or never loaded");
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
extern "C" void __wrap_srand(unsigned int) { __real_srand(1); }
