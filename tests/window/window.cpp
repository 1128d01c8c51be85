// One real game in a real window under a private X server, played with xdotool.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <SDL/SDL_image.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

using Pixels = std::vector<uint32_t>;  // 640x480, 0xRRGGBB
static std::string game_dir, folder;
static Display *dpy;
static Window win;

[[noreturn]] static void fail(const std::string &why)
{
    fprintf(stderr, "FAILED: %s\nthe game's folder, with its output: %s\n", why.c_str(), folder.c_str());
    exit(1);
}

static bool wait_for(const std::string &what, double seconds, const std::function<bool()> &ready)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (; !ready(); usleep(100000))
        if (std::chrono::steady_clock::now() > end)
            return what.empty() ? false : (fail("waited for " + what), false);
    return true;
}

static std::string xdotool(const std::string &args, bool must = true)  // its output
{
    char out[64] = "";
    FILE *p = popen(("xdotool " + args).c_str(), "r");
    size_t n = p ? fread(out, 1, sizeof out - 1, p) : 0;
    if ((p == NULL || pclose(p) != 0) && must)
        fail("xdotool " + args);
    return std::string(out, n);
}

static Pixels grab()  // black while the window is not yet mapped
{
    XImage *image = XGetImage(dpy, win, 0, 0, 640, 480, AllPlanes, ZPixmap);
    Pixels p(640 * 480);
    if (image == NULL || image->bits_per_pixel != 32)
        return p;
    for (int i = 0; i < 640 * 480; i++)
        p[i] = ((uint32_t *)(image->data + i / 640 * image->bytes_per_line))[i % 640] & 0xffffff;
    XDestroyImage(image);
    return p;
}

static Pixels settled()  // two looks a fifth of a second apart agree
{
    Pixels last = grab(), now;
    wait_for("a still screen", 10, [&] { return usleep(200000), (now = grab()) == last || (last = now, false); });
    return now;
}

static Pixels picture(const std::string &name)
{
    SDL_Surface *s = IMG_Load((game_dir + "/gfx/" + name).c_str()),
                *c = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 32, 0xff0000, 0xff00, 0xff, 0);
    if (s == NULL || s->w != 640 || s->h != 480 || SDL_BlitSurface(s, NULL, c, NULL) != 0)
        fail("cannot load " + name);
    Pixels p((Uint32 *)c->pixels, (Uint32 *)c->pixels + 640 * 480);
    SDL_FreeSurface(s), SDL_FreeSurface(c);
    return p;
}

static int changed(const Pixels &a, const Pixels &b, int x0, int y0, int w, int h)
{
    int n = 0;
    for (int y = y0; y < y0 + h; y++)
        for (int x = x0; x < x0 + w; x++)
            n += a[y * 640 + x] != b[y * 640 + x];
    return n;
}

// Nine in ten of a grid of points: texts and highlights may cover the rest.
static void wait_shown(const char *name)
{
    Pixels p = picture(name);
    wait_for(name, 15, [&] {
        int same = 0;
        Pixels shot = grab();
        for (int i = 0; i < 256; i++)
            same += shot[(15 + i / 16 * 30) * 640 + 20 + i % 16 * 40] == p[(15 + i / 16 * 30) * 640 + 20 + i % 16 * 40];
        return same >= 256 * 9 / 10;
    });
}

// Sent again only while the screen shows no sign of it: a loaded machine may lose one.
static void act(const std::string &args)
{
    for (int tries = 0; tries < 3; tries++) {
        Pixels before = settled();
        xdotool(args);
        if (wait_for("", 5, [&] { return grab() != before; }))
            return;
    }
    fail("no answer to xdotool " + args);
}

static void click(int x, int y)
{
    xdotool("mousemove --window " + std::to_string(win) + " " + std::to_string(x) + " " + std::to_string(y));
    act("click 1");
}

// A key whose release comes late types again: the letters (apart, in this name) are counted and mended.
static void type_name(const std::string &name)
{
    Pixels board = picture("name.png");
    for (int tries = 0; tries < 15; tries++) {
        Pixels shot = settled();
        size_t runs = 0;
        for (int x = 121; x < 640; x++)
            runs += changed(shot, board, x, 402, 1, 30) > 0 && changed(shot, board, x - 1, 402, 1, 30) == 0;
        if (runs == name.size())
            return act("key Return");
        act(runs < name.size() ? "key " + name.substr(runs, 1) : "key BackSpace");
    }
    fail("cannot type the name");
}

int main(int argc, char **argv)
{
    if (argc != 2)
        fail("usage: zenobar-window GAME_DIR");
    game_dir = argv[1];
    // A free display, which ends once its last client has gone.
    FILE *xvfb = popen("Xvfb -displayfd 1 -terminate -screen 0 1024x768x24 -nolisten tcp", "r");
    char number[16] = "";
    if (!fgets(number, sizeof number, xvfb) || setenv("DISPLAY", (":" + std::to_string(atoi(number))).c_str(), 1) ||
        (dpy = XOpenDisplay(NULL)) == NULL)
        fail("cannot open the display");
    XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });

    // No intro (14 s).
    char tmpl[] = "/tmp/zenobar-window-XXXXXX";
    folder = mkdtemp(tmpl);
    std::filesystem::create_directories(folder + "/gfx");
    for (const auto &e : std::filesystem::directory_iterator(game_dir + "/gfx"))
        if (e.path().filename() != "logo.png" && e.path().filename() != "title.png")
            std::filesystem::create_symlink(e.path(), folder + "/gfx/" + e.path().filename().string());
    for (const char *shared : {"sfx", "quest", "Vera.ttf"})
        std::filesystem::create_symlink(game_dir + "/" + shared, folder + "/" + shared);
    pid_t game = fork();
    if (game == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);  // a failed test leaves no game behind
        setenv("SDL_AUDIODRIVER", "dummy", 1), unsetenv("SDL_VIDEODRIVER");
        if (chdir(folder.c_str()) == 0 && freopen("output", "w", stdout) && dup2(1, 2) == 2)
            execl((game_dir + "/zenobar").c_str(), "zenobar", (char *)NULL);
        _exit(127);
    }
    wait_for("the window", 15, [] { return (win = atol(xdotool("search --name '^Zenobar 1.0$'", false).c_str())); });

    wait_shown("slanguage.png");
    click(190, 370);  // English
    wait_shown("eng/menu.png");
    click(321, 146);  // new game
    wait_shown("name.png");
    type_name("lil");
    wait_shown("game.png");

    // Closed during the first question: the game ends at 0, its result
    // passed by the same close request.
    XClientMessageEvent close = {ClientMessage, 0, False, dpy, win, XInternAtom(dpy, "WM_PROTOCOLS", False), 32, {}};
    close.data.l[0] = (long)XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    XSendEvent(dpy, win, False, NoEventMask, (XEvent *)&close), XFlush(dpy);
    int status = -1;
    wait_for("the game to end", 15, [&] { return waitpid(game, &status, WNOHANG) == game; });
    std::ifstream in(folder + "/highscores");
    std::string table{std::istreambuf_iterator<char>(in), {}};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || table.find("lil\n0\n") == std::string::npos)
        fail("the game ended with status " + std::to_string(status) + " and the table\n" + table);
    std::filesystem::remove_all(folder);
}
