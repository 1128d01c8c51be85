// Saving without ever truncating the old file first: a killed run or a
// full disk must leave the player's scores and settings whole.
#include <errno.h>
#include <fcntl.h>
#include <libgen.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "shell/shell.h"

static int write_all(int fd, const char *data, size_t len)
{
    while (len > 0) {
        ssize_t n = write(fd, data, len);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return -1;
        data += n;
        len -= (size_t)n;
    }
    return 0;
}

// A link to a device or to nothing: write through it as a plain save would.
static int write_through(const char *name, const char *data, size_t len)
{
    FILE *file = fopen(name, "w");
    if (file == NULL)
        return -1;
    int bad = fwrite(data, 1, len, file) != len;
    bad |= fclose(file) != 0;
    return bad ? -1 : 0;
}

// The folder takes no new file but the file itself is writable: overwrite
// in place, and only then cut it to its new length.
static int rewrite_in_place(const char *target, const char *data, size_t len)
{
    int fd = open(target, O_WRONLY | O_NOFOLLOW);
    if (fd < 0)
        return -1;
    int bad = write_all(fd, data, len) != 0;
    bad = bad || ftruncate(fd, (off_t)len) != 0;
    bad = bad || fsync(fd) != 0;
    bad |= close(fd) != 0;
    return bad ? -1 : 0;
}

static void sync_folder(const std::string &folder)
{
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

int save_file(const char *name, const char *tmpname, const char *data, size_t len)
{
    std::string target = name;
    std::string folder = ".";

    struct stat link_info;
    if (lstat(name, &link_info) == 0 && S_ISLNK(link_info.st_mode)) {
        char *real = realpath(name, NULL);
        struct stat real_info;
        if (real == NULL || stat(real, &real_info) != 0 || !S_ISREG(real_info.st_mode)) {
            free(real);
            return write_through(name, data, len);
        }
        target = real;
        std::string copy = real;
        folder = dirname(&copy[0]);
        free(real);
    }
    std::string tmp = folder == "." ? std::string(tmpname) : folder + "/" + tmpname;

    struct stat old_info;
    bool exists = stat(target.c_str(), &old_info) == 0;
    // A file its owner made read-only is not ours to replace.
    if (exists && access(target.c_str(), W_OK) != 0)
        return -1;

    // A leftover from a killed run (or anything planted under that name)
    // goes first, so the new temporary file is surely our own.
    // One the folder will not let us remove means it refuses new files too.
    bool refused = unlink(tmp.c_str()) != 0 && (errno == EACCES || errno == EPERM || errno == EROFS);
    int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
    if (fd < 0) {
        if (exists && (refused || errno == EACCES || errno == EPERM || errno == EROFS))
            return rewrite_in_place(target.c_str(), data, len);
        return -1;
    }
    if (exists) {
        fchmod(fd, old_info.st_mode & 07777);
        if (geteuid() == 0 && fchown(fd, old_info.st_uid, old_info.st_gid) != 0) {
            // Ownership is a courtesy; the content matters.
        }
    }
    int bad = write_all(fd, data, len) != 0;
    bad = bad || fsync(fd) != 0;
    bad |= close(fd) != 0;
    bad = bad || rename(tmp.c_str(), target.c_str()) != 0;
    if (bad) {
        unlink(tmp.c_str());
        return -1;
    }
    sync_folder(folder);
    return 0;
}
