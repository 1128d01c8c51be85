#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "scores/scores.h"
#include "shell/shell.h"
#include "tests/harness.h"

using namespace harness;

static const char default_table[] = "NOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\n";

static struct stat info(const std::string &path)
{
    struct stat st = {};
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return st;
}

static mode_t bits(const std::string &path) { return info(path).st_mode & 07777; }

static std::string link_of(const std::string &path)
{
    char buf[4096];
    ssize_t n = readlink(path.c_str(), buf, sizeof buf);
    return n < 0 ? "(not a link)" : std::string(buf, (size_t)n);
}

// Runs `body` in a forked child with its stdout thrown away; gives the
// child's exit status, or 128 + the signal that ended it.
static int in_child(const std::function<int()> &body)
{
    fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

static void quiet_saveh()
{
    capture_stdout();
    saveh();
    captured_stdout();
}

class SaveFile : public GameTest {};

TEST_F(SaveFile, ReplacesTheWholeContentAndLeavesNoTemporaryFile)
{
    write_file("config", "0 1 and a tail longer than the new content\n");
    EXPECT_EQ(save_file("config", "config.tmp", "new\n", 4), 0);
    EXPECT_EQ(read_file("config"), "new\n");
    EXPECT_EQ(save_file("config", "config.tmp", "", 0), 0);
    EXPECT_EQ(read_file("config"), "");
    EXPECT_FALSE(file_exists("config.tmp"));
}

TEST_F(SaveFile, FailedWriteLeavesTheOldFilesWholeAndNoTemporaryFile)
{
    write_file("config", "0 1\n");
    write_file("highscores", "old\n3\n");
    chmod("config", 0640);
    // The disk "fills up" after three bytes: the first write is cut short,
    // the next fails with EFBIG.
    int status = in_child([] {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {3, 3};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 10;
        if (save_file("config", "config.tmp", "1 -1\n", 5) != -1)
            return 11;
        fullscreen = 1;
        music = -1;
        savec();
        for (int i = 0; i < 5; i++)
            snprintf(players[i], sizeof players[i], "winner");
        saveh();
        return 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(read_file("config"), "0 1\n");
    EXPECT_EQ(read_file("highscores"), "old\n3\n");
    EXPECT_EQ(bits("config"), 0640u);
    EXPECT_FALSE(file_exists("config.tmp"));
    EXPECT_FALSE(file_exists("highscores.tmp"));
}

TEST_F(SaveFile, StaleTemporaryFileFromAKilledRunIsReplaced)
{
    write_file("config.tmp", "half a line from a killed r");
    chmod("config.tmp", 0400);
    savec();
    EXPECT_EQ(read_file("config"), "0 0\n");
    EXPECT_FALSE(file_exists("config.tmp"));

    // A link planted under the temporary name is removed, not followed.
    write_file("victim", "precious\n");
    ASSERT_EQ(symlink("victim", "highscores.tmp"), 0);
    loadh();
    quiet_saveh();
    EXPECT_EQ(read_file("highscores"), default_table);
    EXPECT_EQ(read_file("victim"), "precious\n");
    EXPECT_FALSE(file_exists("highscores.tmp"));
}

TEST_F(SaveFile, LinkToARegularFileStaysALinkAndItsTargetIsReplaced)
{
    ASSERT_EQ(mkdir("real", 0755), 0);
    write_file("real/config", "9 9 and an old tail\n");
    chmod("real/config", 0640);
    write_file("real/scores", "old\n");
    ASSERT_EQ(symlink("real/config", "config"), 0);
    ASSERT_EQ(symlink((folder + "/real/scores").c_str(), "highscores"), 0);

    fullscreen = 1;
    music = -1;
    savec();
    loadh();
    quiet_saveh();
    EXPECT_EQ(link_of("config"), "real/config");
    EXPECT_EQ(link_of("highscores"), folder + "/real/scores");
    EXPECT_EQ(read_file("real/config"), "1 -1\n");
    EXPECT_EQ(bits("real/config"), 0640u);
    EXPECT_EQ(read_file("real/scores"), "old\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\n");
    for (const char *left : {"config.tmp", "highscores.tmp", "real/config.tmp", "real/highscores.tmp"})
        EXPECT_FALSE(file_exists(left)) << left;
}

TEST_F(SaveFile, LinkToAMissingFileOrADeviceIsWrittenThrough)
{
    mode_t old_mask = umask(022);
    ASSERT_EQ(symlink("made-by-save", "config"), 0);
    savec();
    EXPECT_EQ(link_of("config"), "made-by-save");
    EXPECT_EQ(read_file("made-by-save"), "0 0\n");
    EXPECT_EQ(bits("made-by-save"), 0644u);

    ASSERT_EQ(symlink("/dev/null", "highscores"), 0);
    loadh();
    quiet_saveh();
    umask(old_mask);
    EXPECT_EQ(link_of("highscores"), "/dev/null");
    EXPECT_TRUE(S_ISCHR(info("/dev/null").st_mode));
    EXPECT_FALSE(file_exists("highscores.tmp"));
    EXPECT_FALSE(file_exists("/dev/highscores.tmp"));
}

TEST_F(SaveFile, PermissionBitsAndOwnerAreKeptAndNewFilesFollowTheUmask)
{
    write_file("config", "0 0\n");
    write_file("highscores", "");
    chmod("config", 0640);
    chmod("highscores", 0600);
    if (geteuid() == 0) {
        ASSERT_EQ(chown("config", 65534, 65534), 0);
    }
    savec();
    quiet_saveh();
    EXPECT_EQ(bits("config"), 0640u);
    EXPECT_EQ(bits("highscores"), 0600u);
    if (geteuid() == 0) {
        EXPECT_EQ(info("config").st_uid, 65534u);
        EXPECT_EQ(info("config").st_gid, 65534u);
    }
    // A new file gets the bits of a plain write: 0666 less the umask.
    unlink("config");
    unlink("highscores");
    mode_t old_mask = umask(027);
    savec();
    umask(0);
    quiet_saveh();
    umask(old_mask);
    EXPECT_EQ(bits("config"), 0640u);
    EXPECT_EQ(bits("highscores"), 0666u);
}

// Root ignores permission bits, so the child becomes nobody in a folder
// that nobody owns but may not write.
TEST_F(SaveFile, FolderThatRefusesNewFilesGetsTheFileRewrittenInPlace)
{
    const uid_t nobody = 65534;
    ASSERT_EQ(mkdir("ro", 0755), 0);
    write_file("ro/config", "1 -1 and an old tail\n");
    write_file("ro/highscores", std::string(500, 'x'));
    write_file("ro/highscores.tmp", "left by a run killed before the folder was locked");
    write_file("ro/locked", "keep\n");
    chmod("ro/locked", 0444);
    if (geteuid() == 0) {
        for (const char *p : {"ro", "ro/config", "ro/highscores", "ro/highscores.tmp", "ro/locked"})
            ASSERT_EQ(chown(p, nobody, nobody), 0);
    }
    ASSERT_EQ(chmod("ro", 0555), 0);
    ino_t config_ino = info("ro/config").st_ino, scores_ino = info("ro/highscores").st_ino;

    int status = in_child([nobody] {
        if (chdir("ro") != 0)
            return 10;
        if (geteuid() == 0 && (setgroups(0, NULL) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0))
            return 11;
        int probe = open("probe", O_WRONLY | O_CREAT, 0644);
        if (probe >= 0)
            return 77;  // the folder takes new files after all
        fullscreen = 0;
        music = 1;
        savec();
        loadh();
        saveh();
        if (save_file("locked", "locked.tmp", "x", 1) != -1)
            return 12;
        return 0;
    });
    chmod("ro", 0755);
    if (status == 77)
        GTEST_SKIP() << "cannot make a folder that refuses new files";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(read_file("ro/config"), "0 1\n");
    EXPECT_EQ(info("ro/config").st_ino, config_ino);
    // The table read from the old file: 19-character pieces, saved as 18.
    std::string piece(18, 'x');
    std::string table = piece + "\n0\n" + piece + "\n0\n" + piece + "\n0\n" + piece + "\n0\n" + piece + "\n0\n";
    EXPECT_EQ(read_file("ro/highscores"), table);
    EXPECT_EQ(info("ro/highscores").st_ino, scores_ino);
    EXPECT_EQ(read_file("ro/locked"), "keep\n");
    EXPECT_FALSE(file_exists("ro/locked.tmp"));
}
