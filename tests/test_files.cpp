// The high-score file and table, and saving that never loses a file.
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <regex>

#include "tests/harness.h"

using namespace harness;

static const std::string none = "NOonE\n0\n";

class Files : public GameTest {};

// What a run reads from "highscores" and writes back, closed in the intro.
TEST_F(Files, HighScoreFileRoundTrip)
{
    std::string x19(19, 'x'), x18(18, 'x');
    struct Row { const char *name; std::string before, after; } rows[] = {
        {"empty", "", none + none + none + none + none},
        {"short", "Ann\n5\n", "Ann\n5\n" + none + none + none + none},
        {"levels as atoi reads them", "A\n7x\nB\n-3\nC\n 12\nD\nx\nE\n99\n", "A\n7\nB\n-3\nC\n12\nD\n0\nE\n99\n"},
        {"carriage returns kept", "Ann\r\n5\r\n", "Ann\r\n5\n" + none + none + none + none},
        // A name that fills the 20-byte read leaves its line feed to be read
        // as the level, and the records after it come a line late.
        {"19 letters", x19 + "\n4\nBo\n2\n", x18 + "\n0\n4\n0\n2\n0\n" + none + none},
        {"last line without line feed", "Ann\n5\nBo\n6", "Ann\n5\nBo\n6\n" + none + none + none},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        reset_state();
        write_file("highscores", row.before);
        close_window();
        capture_stdout();
        run_game();
        std::string out = captured_stdout();
        EXPECT_EQ(read_file("highscores"), row.after);
        // Twenty trace lines for every entry, each with the name as cut.
        const std::regex trace("Zenobar: players ");
        EXPECT_EQ(std::distance(std::sregex_iterator(out.begin(), out.end(), trace), std::sregex_iterator()), 100);
        EXPECT_NE(out.find("Zenobar: players " + row.after.substr(0, row.after.find('\n'))), std::string::npos);
    }
}

TEST_F(Files, ResultsEnterTheTableInOrder)
{
    struct Row { std::string table; int level; std::string after; } rows[] = {
        {none + none + none + none + none, 0, none + none + none + none + "New\n0\n"},
        {"a\n1\nb\n2\nc\n3\nd\n4\ne\n5\n", 3, "b\n2\nc\n3\nNew\n3\nd\n4\ne\n5\n"},
        {"a\n1\nb\n2\nc\n3\nd\n4\ne\n5\n", 0, "a\n1\nb\n2\nc\n3\nd\n4\ne\n5\n"},
        {"a\n1\nb\n2\nc\n3\nd\n4\ne\n5\n", 1, "New\n1\nb\n2\nc\n3\nd\n4\ne\n5\n"},
        {"a\n1\nb\n2\nc\n3\nd\n4\ne\n5\n", 12, "b\n2\nc\n3\nd\n4\ne\n5\nNew\n12\n"},
        // Out of order, the same steps: the new entry climbs past lower ones.
        {"a\n9\nb\n2\nc\n3\nd\n4\ne\n5\n", 9, "b\n2\nc\n3\nd\n4\ne\n5\nNew\n9\n"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.after);
        write_file("highscores", row.table);
        capture_stdout();
        loadh();
        insert_score("New", row.level);
        saveh();
        captured_stdout();
        EXPECT_EQ(read_file("highscores"), row.after);
    }
}

static struct stat info(const std::string &path)
{
    struct stat st = {};
    stat(path.c_str(), &st);
    return st;
}

// Runs `body` in a child; gives its exit status.
static int in_child(const std::function<int()> &body)
{
    fflush(stdout);
    pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Every kind of target: the save's result, what it then holds, and a check
// of what surrounds it (shell commands in the test's folder).
TEST_F(Files, SavingKeepsOldOrNewWhole)
{
    bool root = geteuid() == 0;
    struct Row { const char *before; int result; const char *target, *content, *after; int rename_errno = 0; } rows[] = {
        {":", 0, "f", "new\n", "test ! -e f.tmp"},
        {"echo old and longer > f", 0, "f", "new\n", "test ! -e f.tmp"},
        {"echo stale > f.tmp", 0, "f", "new\n", "test ! -e f.tmp"},
        {"mkdir d && echo old > d/real && ln -s d/real f", 0, "d/real", "new\n", "test -L f && test ! -e d/f.tmp"},
        {"ln -s gone f", 0, "gone", "new\n", "test -L f"},
        {"echo mine > f && chmod 444 f", root ? 0 : -1, "f", root ? "new\n" : "mine\n", "test ! -e f.tmp"},
        {"echo old > f && chmod 640 f", 0, "f", "new\n", "test $(stat -c %a f) = 640"},
        // Where no new file can take the old one's place, it is rewritten:
        // another's file in a sticky folder, a folder by the temporary name.
        {"echo old and longer > f && ls -i f > i", 0, "f", "new\n", "test ! -e f.tmp && ls -i f | cmp i", EPERM},
        {"mkdir -p f.tmp/x && echo old and longer > f", 0, "f", "new\n", "test -d f.tmp/x"},
        {"mkdir f.tmp", -1, "f", "", "test -d f.tmp"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.before);
        ASSERT_EQ(system((std::string("rm -rf f f.tmp d gone i && ") + row.before).c_str()), 0);
        fail_rename = row.rename_errno;
        EXPECT_EQ(save_file("f", "f.tmp", "new\n", 4), row.result);
        fail_rename = 0;
        EXPECT_EQ(read_file(row.target), row.content);
        EXPECT_EQ(system(row.after), 0) << row.after;
    }
}

// A full disk fails the write: the old file stays whole, no leftover.
TEST_F(Files, FullDiskKeepsTheOldFile)
{
    write_file("config", "1 -1\n");
    write_file("highscores", "Ann\n5\n" + none + none + none + none);
    int status = in_child([] {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {2, 2};
        setrlimit(RLIMIT_FSIZE, &limit);
        fullscreen = 0;
        music = 1;
        capture_stdout();
        loadh();
        insert_score("Bo", 9);
        return (savec() == 0 && saveh() == 0) ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(read_file("config"), "1 -1\n");
    EXPECT_EQ(read_file("highscores"), "Ann\n5\n" + none + none + none + none);
    EXPECT_FALSE(file_exists("config.tmp"));
    EXPECT_FALSE(file_exists("highscores.tmp"));
}

// Root ignores permission bits, so the child becomes nobody in a folder
// that nobody owns but may not write: the file is rewritten in place.
TEST_F(Files, FolderThatRefusesNewFilesGetsTheFileRewrittenInPlace)
{
    const uid_t nobody = 65534;
    mkdir("ro", 0755);
    write_file("ro/config", "1 -1 and an old tail\n");
    write_file("ro/config.tmp", "left by a killed run");
    for (const char *p : {"ro", "ro/config", "ro/config.tmp"})
        ASSERT_TRUE(geteuid() != 0 || chown(p, nobody, nobody) == 0) << p;
    chmod("ro", 0555);
    ino_t inode = info("ro/config").st_ino;
    int status = in_child([nobody] {
        if (chdir("ro") != 0 || (geteuid() == 0 && (setgroups(0, NULL) || setgid(nobody) || setuid(nobody))))
            return 10;
        if (open("probe", O_WRONLY | O_CREAT, 0644) >= 0)
            return 77;
        fullscreen = 0;
        music = 1;
        savec();
        return 0;
    });
    chmod("ro", 0755);
    if (status == 77)
        GTEST_SKIP() << "cannot make a folder that refuses new files";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(read_file("ro/config"), "0 1\n");
    EXPECT_EQ(info("ro/config").st_ino, inode);
}
