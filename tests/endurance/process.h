// Child processes for the endurance suite: started with their own
// environment and folder, their output collected from pipes or from a
// terminal, and never waited for without a limit.
#ifndef ZENOBAR_ENDURANCE_PROCESS_H
#define ZENOBAR_ENDURANCE_PROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

namespace proc {

struct Options {
    std::vector<std::string> argv;  // argv[0] is the program's path
    std::vector<std::string> env;   // "NAME=value" sets, "NAME" alone unsets
    std::string dir;                // working folder, if any
    bool terminal = false;          // a pseudo-terminal for all three streams
};

class Child {
public:
    explicit Child(const Options &options);
    ~Child();
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;

    // Collects output for up to `seconds`, or until `until` shows up in it.
    void pump(double seconds, const std::string &until = "");
    bool running();
    void signal(int sig);
    // Waits up to `seconds`; past that the child is killed and -1 returned.
    // Otherwise its exit status, or 128 + the signal that ended it.
    int wait(double seconds);
    // From the start to its end, as far as running() or wait() saw it.
    double seconds_alive() const;

    pid_t pid = -1;
    std::string out, err;  // with a terminal, everything lands in out

private:
    int out_fd = -1, err_fd = -1;
    int status = -1;
    bool reaped = false;
    double started = 0, ended = 0;
};

// Runs to the end (or is killed after `seconds`); gives the status.
int run(const Options &options, double seconds, std::string *out = nullptr, std::string *err = nullptr);

double now();

// The lines of `text` that do not start with any of `prefixes` (empty
// lines are skipped).
std::vector<std::string> lines_other_than(const std::string &text, const std::vector<std::string> &prefixes);

}  // namespace proc

#endif
