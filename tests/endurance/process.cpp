#include "tests/endurance/process.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace proc {

double now()
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

[[noreturn]] static void exec_child(const Options &o)
{
    for (const std::string &e : o.env) {
        size_t eq = e.find('=');
        if (eq == std::string::npos)
            unsetenv(e.c_str());
        else
            setenv(e.substr(0, eq).c_str(), e.c_str() + eq + 1, 1);
    }
    if (!o.dir.empty() && chdir(o.dir.c_str()) != 0)
        _exit(126);
    std::vector<char *> args;
    for (const std::string &a : o.argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
}

Child::Child(const Options &options)
{
    fflush(stdout);
    fflush(stderr);
    started = now();
    if (options.terminal) {
        struct winsize size = {};
        size.ws_row = 24;
        size.ws_col = 80;
        pid = forkpty(&out_fd, nullptr, nullptr, &size);
        if (pid == 0)
            exec_child(options);
    } else {
        int o[2], e[2];
        if (pipe2(o, O_CLOEXEC) != 0 || pipe2(e, O_CLOEXEC) != 0)
            return;
        pid = fork();
        if (pid == 0) {
            int null = open("/dev/null", O_RDONLY);
            dup2(null, 0);
            dup2(o[1], 1);
            dup2(e[1], 2);
            exec_child(options);
        }
        close(o[1]);
        close(e[1]);
        out_fd = o[0];
        err_fd = e[0];
    }
    if (out_fd >= 0)
        fcntl(out_fd, F_SETFL, O_NONBLOCK);
    if (err_fd >= 0)
        fcntl(err_fd, F_SETFL, O_NONBLOCK);
}

Child::~Child()
{
    if (pid > 0 && !reaped) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    if (out_fd >= 0)
        close(out_fd);
    if (err_fd >= 0)
        close(err_fd);
}

void Child::pump(double seconds, const std::string &until)
{
    double end = now() + seconds;
    for (;;) {
        if (!until.empty() && (out.find(until) != std::string::npos || err.find(until) != std::string::npos))
            return;
        struct pollfd fds[2];
        int n = 0;
        if (out_fd >= 0)
            fds[n++] = {out_fd, POLLIN, 0};
        if (err_fd >= 0)
            fds[n++] = {err_fd, POLLIN, 0};
        double left = end - now();
        if (n == 0 || left <= 0)
            return;
        int ready = poll(fds, (nfds_t)n, (int)(left * 1000) + 1);
        if (ready <= 0)
            continue;
        for (int i = 0; i < n; i++) {
            if (fds[i].revents == 0)
                continue;
            char buf[65536];
            ssize_t got = read(fds[i].fd, buf, sizeof buf);
            int &fd = fds[i].fd == out_fd ? out_fd : err_fd;
            std::string &into = fds[i].fd == out_fd ? out : err;
            if (got > 0) {
                into.append(buf, (size_t)got);
            } else if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
                // End of output (a terminal reports EIO once the child is gone).
                close(fd);
                fd = -1;
            }
        }
    }
}

bool Child::running()
{
    if (reaped || pid <= 0)
        return false;
    if (waitpid(pid, &status, WNOHANG) == pid) {
        reaped = true;
        ended = now();
    }
    return !reaped;
}

void Child::signal(int sig)
{
    if (pid > 0 && !reaped)
        kill(pid, sig);
}

int Child::wait(double seconds)
{
    if (pid <= 0)
        return -1;
    double end = now() + seconds;
    while (running() && now() < end)
        pump(0.02);
    if (!reaped) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        reaped = true;
        ended = now();
        pump(0.2);
        return -1;
    }
    pump(0.2);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

double Child::seconds_alive() const { return (reaped ? ended : now()) - started; }

int run(const Options &options, double seconds, std::string *out, std::string *err)
{
    Child child(options);
    int status = child.wait(seconds);
    if (out != nullptr)
        *out = child.out;
    if (err != nullptr)
        *err = child.err;
    return status;
}

std::vector<std::string> lines_other_than(const std::string &text, const std::vector<std::string> &prefixes)
{
    std::vector<std::string> other;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        bool known = line.empty();
        for (const std::string &p : prefixes)
            known = known || line.rfind(p, 0) == 0;
        if (!known)
            other.push_back(line);
        start = end + 1;
    }
    return other;
}

}  // namespace proc
