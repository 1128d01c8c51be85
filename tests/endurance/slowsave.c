/* Preloaded into the game to stretch its saves: every call the save code
 * makes on "highscores", "config" or their temporary files pauses, and
 * writes go through a few bytes at a time, so that a kill at a random
 * moment most likely lands inside a save. Each step is noted in a log:
 *   o open for writing, w write, f fsync, c close, r rename begun,
 *   R rename done.
 * ZENOBAR_SAVE_PAUSE_US  pause per step (default 4000)
 * ZENOBAR_SAVE_CHUNK     bytes per write (default 8)
 * ZENOBAR_SAVE_LOG       file the steps are appended to (none if unset)
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#define MAX_FD 4096

static int (*real_open)(const char *, int, ...);
static int (*real_open64)(const char *, int, ...);
static ssize_t (*real_write)(int, const void *, size_t);
static int (*real_fsync)(int);
static int (*real_close)(int);
static int (*real_rename)(const char *, const char *);

static unsigned char tracked[MAX_FD];
static long pause_us = 4000;
static size_t chunk = 8;
static int log_fd = -1;

__attribute__((constructor)) static void init(void)
{
    real_open = dlsym(RTLD_NEXT, "open");
    real_open64 = dlsym(RTLD_NEXT, "open64");
    real_write = dlsym(RTLD_NEXT, "write");
    real_fsync = dlsym(RTLD_NEXT, "fsync");
    real_close = dlsym(RTLD_NEXT, "close");
    real_rename = dlsym(RTLD_NEXT, "rename");
    const char *p = getenv("ZENOBAR_SAVE_PAUSE_US");
    if (p != NULL)
        pause_us = atol(p);
    const char *c = getenv("ZENOBAR_SAVE_CHUNK");
    if (c != NULL && atol(c) > 0)
        chunk = (size_t)atol(c);
    const char *log = getenv("ZENOBAR_SAVE_LOG");
    if (log != NULL)
        log_fd = real_open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

static void step(char what)
{
    if (log_fd >= 0)
        real_write(log_fd, &what, 1);
}

static void hold(void)
{
    struct timespec t = {pause_us / 1000000, (pause_us % 1000000) * 1000};
    int saved = errno;
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
    errno = saved;
}

static int is_save_file(const char *path)
{
    const char *base = strrchr(path, '/');
    base = base != NULL ? base + 1 : path;
    return strcmp(base, "highscores") == 0 || strcmp(base, "highscores.tmp") == 0 ||
           strcmp(base, "config") == 0 || strcmp(base, "config.tmp") == 0;
}

static int is_tracked(int fd) { return fd >= 0 && fd < MAX_FD && tracked[fd]; }

static int opened(int fd, const char *path, int flags)
{
    if (fd >= 0 && fd < MAX_FD && (flags & O_ACCMODE) != O_RDONLY && is_save_file(path)) {
        tracked[fd] = 1;
        step('o');
        hold();
    }
    return fd;
}

static mode_t mode_of(int flags, va_list args)
{
    return (flags & (O_CREAT | O_TMPFILE)) ? (mode_t)va_arg(args, int) : 0;
}

int open(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    mode_t mode = mode_of(flags, args);
    va_end(args);
    return opened(real_open(path, flags, mode), path, flags);
}

int open64(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    mode_t mode = mode_of(flags, args);
    va_end(args);
    return opened(real_open64(path, flags, mode), path, flags);
}

ssize_t write(int fd, const void *data, size_t len)
{
    if (!is_tracked(fd))
        return real_write(fd, data, len);
    hold();
    ssize_t n = real_write(fd, data, len < chunk ? len : chunk);
    step('w');
    hold();
    return n;
}

int fsync(int fd)
{
    if (!is_tracked(fd))
        return real_fsync(fd);
    hold();
    int r = real_fsync(fd);
    step('f');
    hold();
    return r;
}

int close(int fd)
{
    if (!is_tracked(fd))
        return real_close(fd);
    tracked[fd] = 0;
    hold();
    int r = real_close(fd);
    step('c');
    return r;
}

int rename(const char *from, const char *to)
{
    if (!is_save_file(to))
        return real_rename(from, to);
    step('r');
    hold();
    int r = real_rename(from, to);
    step('R');
    hold();
    return r;
}
