#include "xserver.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char **environ;

double now()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void pause_for(double seconds)
{
    timespec t = {time_t(seconds), long((seconds - double(time_t(seconds))) * 1e9)};
    while (nanosleep(&t, &t) == -1 && errno == EINTR) {
    }
}

Child::Child(const std::vector<std::string> &argv, const std::map<std::string, std::string> &env,
             const std::string &folder, const std::string &log, int keep_fd)
{
    // Everything the child needs is prepared here: after fork only
    // async-signal-safe calls are allowed.
    std::map<std::string, std::string> merged;
    for (char **e = environ; *e != NULL; e++) {
        const char *eq = strchr(*e, '=');
        if (eq != NULL)
            merged[std::string(*e, size_t(eq - *e))] = eq + 1;
    }
    for (const auto &kv : env) {
        if (kv.second.empty())
            merged.erase(kv.first);
        else
            merged[kv.first] = kv.second;
    }
    std::vector<std::string> env_text;
    for (const auto &kv : merged)
        env_text.push_back(kv.first + "=" + kv.second);
    std::vector<char *> envp, args;
    for (auto &s : env_text)
        envp.push_back(&s[0]);
    envp.push_back(NULL);
    std::vector<std::string> argv_copy = argv;
    for (auto &s : argv_copy)
        args.push_back(&s[0]);
    args.push_back(NULL);
    pid_t parent = getpid();

    pid_ = fork();
    if (pid_ < 0)
        throw Failure("fork failed");
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(126);
        int in = open("/dev/null", O_RDONLY);
        dup2(in, 0);
        if (!log.empty()) {
            int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            dup2(out, 1);
            dup2(out, 2);
        }
        if (keep_fd >= 0)
            fcntl(keep_fd, F_SETFD, 0);
        if (!folder.empty() && chdir(folder.c_str()) != 0)
            _exit(126);
        execvpe(args[0], args.data(), envp.data());
        const char *msg = "cannot start the program\n";
        if (write(2, msg, strlen(msg)) < 0) {
        }
        _exit(127);
    }
}

Child &Child::operator=(Child &&other) noexcept
{
    stop();
    pid_ = other.pid_;
    status_ = other.status_;
    other.pid_ = -1;
    return *this;
}

bool Child::running()
{
    if (pid_ < 0)
        return false;
    int st;
    if (waitpid(pid_, &st, WNOHANG) == pid_) {
        status_ = st;
        pid_ = -1;
        return false;
    }
    return true;
}

bool Child::wait(double seconds)
{
    double end = now() + seconds;
    while (running()) {
        if (now() > end)
            return false;
        pause_for(0.02);
    }
    return true;
}

void Child::stop()
{
    if (!running())
        return;
    kill(pid_, SIGTERM);
    if (!wait(3)) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status_, 0);
        pid_ = -1;
    }
}

static int x_error = 0;

static int note_error(Display *, XErrorEvent *e)
{
    x_error = e->error_code;
    return 0;
}

static int lost_server(Display *)
{
    // Xlib ends the process after this; the children end with it.
    fprintf(stderr, "lost the connection to the X server\n");
    _exit(3);
}

#define DPY ((Display *)dpy_)

XServer::XServer(double timeout)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw Failure("pipe failed");
    // -displayfd: the server takes the first free display and tells it.
    server_ = Child({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                     "-noreset"},
                    {}, "", "/dev/null", fds[1]);
    close(fds[1]);
    std::string number;
    double end = now() + timeout;
    char c = 0;
    while (c != '\n') {
        pollfd p = {fds[0], POLLIN, 0};
        int left = int((end - now()) * 1000);
        if (left <= 0 || poll(&p, 1, left) <= 0 || read(fds[0], &c, 1) != 1) {
            close(fds[0]);
            throw Failure("Xvfb did not start (is the xvfb package installed?)");
        }
        if (c >= '0' && c <= '9')
            number += c;
    }
    close(fds[0]);
    display_ = ":" + number;
    XSetErrorHandler(note_error);
    XSetIOErrorHandler(lost_server);
    while ((dpy_ = XOpenDisplay(display_.c_str())) == nullptr) {
        if (now() > end)
            throw Failure("cannot connect to Xvfb on " + display_);
        pause_for(0.1);
    }
}

XServer::~XServer()
{
    if (dpy_ != nullptr)
        XCloseDisplay(DPY);
    server_.stop();
}

void XServer::paint_root(uint32_t rgb)
{
    Window root = DefaultRootWindow(DPY);
    XSetWindowBackground(DPY, root, rgb);
    XClearWindow(DPY, root);
    XSync(DPY, False);
}

bool XServer::find_window(const std::string &title, unsigned long &frame, unsigned long &canvas)
{
    Window root = DefaultRootWindow(DPY), parent, *kids = NULL;
    unsigned int n = 0;
    bool found = false;
    if (!XQueryTree(DPY, root, &root, &parent, &kids, &n))
        return false;
    for (unsigned int i = 0; i < n && !found; i++) {
        char *name = NULL;
        XWindowAttributes a;
        x_error = 0;
        if (!XFetchName(DPY, kids[i], &name) || name == NULL)
            continue;
        bool named = title == name;
        XFree(name);
        if (!named || !XGetWindowAttributes(DPY, kids[i], &a) || a.map_state != IsViewable)
            continue;
        Window r, p, *inner = NULL;
        unsigned int m = 0;
        if (XQueryTree(DPY, kids[i], &r, &p, &inner, &m) && m == 1 && XGetWindowAttributes(DPY, inner[0], &a) &&
            a.map_state == IsViewable && x_error == 0) {
            frame = kids[i];
            canvas = inner[0];
            found = true;
        }
        if (inner != NULL)
            XFree(inner);
    }
    if (kids != NULL)
        XFree(kids);
    return found;
}

void XServer::origin(unsigned long canvas, int &x, int &y)
{
    Window child;
    x_error = 0;
    Bool same = XTranslateCoordinates(DPY, canvas, DefaultRootWindow(DPY), 0, 0, &x, &y, &child);
    XSync(DPY, False);
    if (!same || x_error != 0)
        throw Failure("the game's window is gone");
}

Image XServer::grab(int x, int y, int w, int h)
{
    x_error = 0;
    XImage *xi = XGetImage(DPY, DefaultRootWindow(DPY), x, y, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
    if (xi == NULL)
        throw Failure("cannot read the screen");
    Image image;
    image.w = w;
    image.h = h;
    image.px.resize(size_t(w) * size_t(h));
    for (int row = 0; row < h; row++) {
        for (int col = 0; col < w; col++) {
            unsigned long p = XGetPixel(xi, col, row);
            uint32_t r = uint32_t((p & xi->red_mask) >> 16), g = uint32_t((p & xi->green_mask) >> 8),
                     b = uint32_t(p & xi->blue_mask);
            image.px[size_t(row) * size_t(w) + size_t(col)] = 0xff000000u | r << 16 | g << 8 | b;
        }
    }
    XDestroyImage(xi);
    return image;
}

bool XServer::announces_close(unsigned long frame)
{
    Atom *protocols = NULL;
    int n = 0;
    Atom wanted = XInternAtom(DPY, "WM_DELETE_WINDOW", False);
    bool found = false;
    if (XGetWMProtocols(DPY, frame, &protocols, &n)) {
        for (int i = 0; i < n; i++)
            found |= protocols[i] == wanted;
        XFree(protocols);
    }
    return found;
}

void XServer::close_request(unsigned long frame)
{
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = frame;
    e.xclient.message_type = XInternAtom(DPY, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(XInternAtom(DPY, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(DPY, frame, False, NoEventMask, &e);
    XSync(DPY, False);
}

void XServer::xdotool(const std::vector<std::string> &args)
{
    std::vector<std::string> argv = {"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    Child tool(argv, {{"DISPLAY", display_}});
    if (!tool.wait(10)) {
        tool.stop();
        throw Failure("xdotool did not finish within 10 s");
    }
    if (!WIFEXITED(tool.status()) || WEXITSTATUS(tool.status()) != 0)
        throw Failure("xdotool failed (is the xdotool package installed?)");
}
