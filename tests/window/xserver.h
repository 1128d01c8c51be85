// A private X server, the programs started on it, and what a player and a
// window manager do to a window.
#ifndef ZENOBAR_WINDOW_XSERVER_H
#define ZENOBAR_WINDOW_XSERVER_H

#include <sys/types.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "picture.h"

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A child process that dies with the test, whatever ends the test.
class Child {
public:
    Child() = default;
    Child(const std::vector<std::string> &argv, const std::map<std::string, std::string> &env,
          const std::string &folder = "", const std::string &log = "", int keep_fd = -1);
    Child(Child &&other) noexcept : pid_(other.pid_), status_(other.status_) { other.pid_ = -1; }
    Child &operator=(Child &&other) noexcept;
    ~Child() { stop(); }
    bool running();
    // Waits up to `seconds` for the end; false if it is still running.
    bool wait(double seconds);
    int status() const { return status_; }  // as waitpid gives it
    void stop();
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int status_ = -1;
};

double now();
void pause_for(double seconds);

class XServer {
public:
    explicit XServer(double timeout);  // starts Xvfb on a free display
    ~XServer();
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    const std::string &display() const { return display_; }
    void paint_root(uint32_t rgb);

    // The top-level window with this title and its drawing window, once
    // both are mapped; false until then.
    bool find_window(const std::string &title, unsigned long &frame, unsigned long &canvas);
    // Where the drawing window stands on the screen now.
    void origin(unsigned long canvas, int &x, int &y);
    Image grab(int x, int y, int w, int h);
    bool announces_close(unsigned long frame);
    // What a window manager sends when the player closes the window.
    void close_request(unsigned long frame);

    // The player's hand: xdotool, never allowed to hang.
    void xdotool(const std::vector<std::string> &args);

private:
    Child server_;
    std::string display_;
    void *dpy_ = nullptr;
};

#endif
