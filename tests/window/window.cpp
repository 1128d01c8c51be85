// The real game in a real window under a private X server: one short game,
// played with xdotool and checked against the pictures the game shows.
//   zenobar-window GAME_DIR
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <SDL/SDL_image.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

static std::string game_dir, folder;
static pid_t xvfb = -1, game = -1;
static Display *dpy;
static Window win;

static void fail(const std::string &why)
{
    fprintf(stderr, "FAILED: %s\nthe game's folder, with its output: %s\n", why.c_str(), folder.c_str());
    if (game > 0)
        kill(game, SIGKILL);  // only when it would not end by itself
    if (xvfb > 0)
        kill(xvfb, SIGTERM);
    exit(1);
}

// Runs `ready` until it holds, for at most `seconds`.
static void wait_for(const char *what, double seconds, const std::function<bool()> &ready)
{
    auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (!ready()) {
        if (Clock::now() > end)
            fail("waited " + std::to_string(seconds) + " s for " + what);
        usleep(50000);
    }
}

static Window find_window(Window w)
{
    XTextProperty name;
    if (XGetWMName(dpy, w, &name) && name.value != NULL &&
        std::string((char *)name.value, name.nitems) == "Zenobar 1.0")
        return w;
    Window root, parent, *children, found = 0;
    if (unsigned n = 0; XQueryTree(dpy, w, &root, &parent, &children, &n)) {
        for (unsigned i = 0; i < n && !found; i++)
            found = find_window(children[i]);
        XFree(children);
    }
    return found;
}

// Where the window is now, on the screen.
static void origin(int *x, int *y)
{
    Window child;
    XTranslateCoordinates(dpy, win, DefaultRootWindow(dpy), 0, 0, x, y, &child);
}

using Pixels = std::vector<unsigned long>;  // 640x480, 0xRRGGBB

// The window as the screen shows it.
static Pixels grab()
{
    int x, y;
    origin(&x, &y);
    XImage *image = XGetImage(dpy, DefaultRootWindow(dpy), x, y, 640, 480, AllPlanes, ZPixmap);
    if (image == NULL)
        fail("cannot read the window");
    Pixels p(640 * 480);
    for (int i = 0; i < 640 * 480; i++)
        p[i] = XGetPixel(image, i % 640, i / 640) & 0xffffff;
    XDestroyImage(image);
    return p;
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

// Pixels of a rectangle that differ between the two.
static int changed(const Pixels &a, const Pixels &b, int x0, int y0, int w, int h)
{
    int n = 0;
    for (int y = y0; y < y0 + h; y++)
        for (int x = x0; x < x0 + w; x++)
            n += a[y * 640 + x] != b[y * 640 + x];
    return n;
}

// The picture fully faded in: nine in ten of a grid of points as in the
// file; texts and highlights may cover the rest.
static void wait_shown(const char *name)
{
    Pixels p = picture(name);
    wait_for(name, 10, [&] {
        Pixels shot = grab();
        int same = 0;
        for (int y = 15; y < 480; y += 30)
            for (int x = 20; x < 640; x += 40)
                same += shot[y * 640 + x] == p[y * 640 + x];
        return same >= 16 * 16 * 9 / 10;
    });
}

static void xdotool(const std::string &args)
{
    if (system(("xdotool " + args).c_str()) != 0)
        fail("xdotool " + args);
}

static void click(int x, int y, int times = 1)
{
    int wx, wy;
    origin(&wx, &wy);
    xdotool("mousemove " + std::to_string(wx + x) + " " + std::to_string(wy + y) + " sleep 0.1 click --repeat " +
            std::to_string(times) + " --delay 150 1");
}

int main(int argc, char **argv)
{
    if (argc != 2)
        fail("usage: zenobar-window GAME_DIR");
    game_dir = argv[1];

    // A display of its own: Xvfb picks a free number and says which.
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0 || (xvfb = fork()) < 0)
        fail("cannot start Xvfb");
    if (xvfb == 0) {
        dup2(pipe_fds[1], 3);
        execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp", (char *)NULL);
        _exit(127);
    }
    close(pipe_fds[1]);
    char number[16] = "";
    if (read(pipe_fds[0], number, sizeof number - 1) <= 0)
        fail("Xvfb gave no display");
    setenv("DISPLAY", (":" + std::to_string(atoi(number))).c_str(), 1);
    if ((dpy = XOpenDisplay(NULL)) == NULL)
        fail("cannot open the display");

    // The game's folder: its pictures but the two of the intro, which
    // would take 14 s; four copies of one question a level, whose right
    // answer is by far the shortest.
    char tmpl[] = "/tmp/zenobar-window-XXXXXX";
    folder = mkdtemp(tmpl);
    fs::create_directories(folder + "/quest/eng"), fs::create_directories(folder + "/gfx");
    for (const auto &e : fs::directory_iterator(game_dir + "/gfx"))
        if (e.path().filename() != "logo.png" && e.path().filename() != "title.png")
            fs::create_symlink(e.path(), fs::path(folder + "/gfx") / e.path().filename());
    fs::create_symlink(game_dir + "/sfx", folder + "/sfx");
    fs::create_symlink(game_dir + "/Vera.ttf", folder + "/Vera.ttf");
    std::string question = "What is 1 + 1?\n\n2\nMMMMMMMMMMMM\nMMMMMMMMMMMM\nMMMMMMMMMMMM\n1000\n";
    for (const char *level : {"latwe", "srednie", "trudne"})
        std::ofstream(folder + "/quest/eng/" + level + ".qst") << question << question << question << question;

    if ((game = fork()) == 0) {
        dup2(open((folder + "/output").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(1, 2);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("SDL_VIDEODRIVER");
        if (chdir(folder.c_str()) == 0)
            execl((game_dir + "/zenobar").c_str(), "zenobar", (char *)NULL);
        _exit(127);
    }
    wait_for("the window", 10, [] { return (win = find_window(DefaultRootWindow(dpy))) != 0; });

    wait_shown("slanguage.png");
    click(190, 370);  // English
    wait_shown("eng/menu.png");
    click(321, 146);  // new game
    wait_shown("name.png");
    // At once, so each release is queued before the game looks again (a key
    // still down types again); no letter twice in a row, which looks held.
    xdotool("type --delay 0 eva");
    xdotool("key Return");
    wait_shown("game.png");

    // Each answer's text against the bare picture: the right one is the
    // one least covered. The red bar marks the first click of two.
    Pixels board = picture("game.png");
    const int text_x[4] = {85, 405, 85, 405}, text_y[4] = {365, 365, 430, 430};
    const int bar_x[4] = {87, 413, 87, 413}, bar_y[4] = {395, 395, 457, 457};
    for (int question = 1; question <= 2; question++) {
        int ink[4];
        wait_for("the answers", 10, [&] {
            Pixels shot = grab();
            for (int s = 0; s < 4; s++)
                if ((ink[s] = changed(shot, board, text_x[s], text_y[s], 200, 18)) == 0 ||
                    changed(shot, board, bar_x[s], bar_y[s], 205, 5) > 0)
                    return false;
            return true;
        });
        int pick = 0;  // the right answer first, a wrong one then
        for (int s = 1; s < 4; s++)
            if (question == 1 ? ink[s] < ink[pick] : ink[s] > ink[pick])
                pick = s;
        click(text_x[pick] + 50, text_y[pick] + 10);
        wait_for("the red bar", 5, [&] { return changed(grab(), board, bar_x[pick], bar_y[pick], 205, 5) > 500; });
        click(text_x[pick] + 50, text_y[pick] + 10);
    }
    wait_for("the result", 5, [] {
        Pixels shot = grab();
        return std::count(shot.begin() + 250 * 640, shot.begin() + 280 * 640, 0x0000c8) > 50;
    });
    // The close request, answered at once even by the result.
    XClientMessageEvent close = {ClientMessage, 0, False, dpy, win, XInternAtom(dpy, "WM_PROTOCOLS", False), 32, {}};
    close.data.l[0] = (long)XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    XSendEvent(dpy, win, False, NoEventMask, (XEvent *)&close);
    XFlush(dpy);
    int status = -1;
    wait_for("the game to end", 10, [&] { return waitpid(game, &status, WNOHANG) == game; });
    game = -1;
    std::stringstream table;  // one right answer: the first rung
    table << std::ifstream(folder + "/highscores").rdbuf();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || table.str().find("eva\n1\n") == std::string::npos)
        fail("the game ended with status " + std::to_string(status) + " and the table\n" + table.str());
    kill(xvfb, SIGTERM);
    waitpid(xvfb, NULL, 0);
    fs::remove_all(folder);
    return 0;
}
