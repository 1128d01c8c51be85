// dos's locks and current folder, on the host's folders.
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "morphos/system.h"

struct FileLock {
    int fd;
};

// The folder the process was started in belongs to whoever started it:
// it is handed out by CurrentDir but never unlocked.
static FileLock starting_folder = {-1};
static BPTR current = 0;

const char *HostPath(const char *name, char *buffer, unsigned long size)
{
    if (strncmp(name, "PROGDIR:", 8) != 0) {
        if (strlen(name) >= size)
            return NULL;
        return strcpy(buffer, name);
    }
    char program[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", program, sizeof program - 1);
    if (n <= 0)
        return NULL;
    program[n] = 0;
    *strrchr(program, '/') = 0;
    const char *rest = name + 8;
    int len = snprintf(buffer, size, "%s%s%s", program, *rest ? "/" : "", rest);
    return len >= 0 && (unsigned long)len < size ? buffer : NULL;
}

BPTR Lock(const char *name, LONG mode)
{
    (void)mode;  // every lock here is shared
    char path[PATH_MAX];
    if (HostPath(name, path, sizeof path) == NULL)
        return 0;
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    FileLock *lock = (FileLock *)malloc(sizeof *lock);
    if (lock == NULL) {
        close(fd);
        return 0;
    }
    lock->fd = fd;
    return (BPTR)lock;
}

void UnLock(BPTR lock)
{
    FileLock *l = (FileLock *)lock;
    if (l == NULL || l == &starting_folder)
        return;
    close(l->fd);
    free(l);
}

BPTR CurrentDir(BPTR lock)
{
    if (current == 0) {
        if (starting_folder.fd < 0)
            starting_folder.fd = open(".", O_RDONLY | O_CLOEXEC);
        current = (BPTR)&starting_folder;
    }
    BPTR previous = current;
    if (lock != 0 && fchdir(((FileLock *)lock)->fd) == 0)
        current = lock;
    return previous;
}
