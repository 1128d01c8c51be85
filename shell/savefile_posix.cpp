// Saving's POSIX part: links kept as links, the old file's mode and owner,
// fsync, and a rewrite in place where no new file can take the old one's
// place.
#include <errno.h>
#include <fcntl.h>
#include <libgen.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/save_local.h"

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

// Overwrites the file itself, and only then cuts it to its new length.
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

static std::string folder_of(const std::string &path)
{
    std::string copy = path;
    return dirname(&copy[0]);
}

int plan_save(const char *name, const char *tmpname, const char *data, size_t len, SavePlan *plan)
{
    plan->target = name;
    struct stat link_info;
    if (lstat(name, &link_info) == 0 && S_ISLNK(link_info.st_mode)) {
        char *real = realpath(name, NULL);
        struct stat real_info;
        if (real == NULL || stat(real, &real_info) != 0 || !S_ISREG(real_info.st_mode)) {
            free(real);
            return write_through(name, data, len);
        }
        plan->target = real;
        free(real);
    }
    std::string folder = folder_of(plan->target);
    plan->tmp = folder == "." ? std::string(tmpname) : folder + "/" + tmpname;
    // A file its owner made read-only is not ours to replace.
    if (access(plan->target.c_str(), F_OK) == 0 && access(plan->target.c_str(), W_OK) != 0)
        return -1;
    // A leftover of a killed run (or a file planted under that name) goes,
    // so that the new temporary file is surely our own. A folder there
    // stays, and so does anything the folder will not let us remove.
    unlink(plan->tmp.c_str());
    return SAVE_GO;
}

FILE *open_temporary(const SavePlan *plan)
{
    int fd = open(plan->tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
    if (fd < 0)
        return NULL;
    FILE *file = fdopen(fd, "wb");
    if (file == NULL)
        close(fd);
    return file;
}

int settle_temporary(const SavePlan *plan, FILE *file)
{
    int fd = fileno(file);
    struct stat old_info;
    if (stat(plan->target.c_str(), &old_info) == 0) {
        fchmod(fd, old_info.st_mode & 07777);
        if (geteuid() == 0 && fchown(fd, old_info.st_uid, old_info.st_gid) != 0) {
            // Ownership is a courtesy; the content matters.
        }
    }
    return fsync(fd);
}

// No temporary file (the folder refuses new files, or something not ours
// holds its name), or a rename refused (another player's file in a shared
// sticky folder): a file that is there and writable is rewritten in place.
int save_otherwise(const SavePlan *plan, const char *data, size_t len, int made)
{
    int why = errno;
    if (made)
        unlink(plan->tmp.c_str());
    bool refused = made ? why == EPERM || why == EACCES || why == EBUSY
                        : why == EEXIST || why == EACCES || why == EPERM || why == EROFS;
    if (!refused || access(plan->target.c_str(), W_OK) != 0)
        return -1;
    return rewrite_in_place(plan->target.c_str(), data, len);
}

// The rename reaches the disk only with its folder.
void save_done(const SavePlan *plan)
{
    int fd = open(folder_of(plan->target).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}
