// The machine against the game: no display, a text terminal for one, no
// audio device, a game folder that cannot be written, a full disk. The
// game never crashes, and never leaves a cut file behind.
#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>

#include "tests/endurance/process.h"
#include "tests/harness.h"

using namespace harness;

#ifndef PLAYER_PATH
#error "PLAYER_PATH must name zenobar-player"
#endif

// Files as a player's folder holds them after some play; each a little
// off from what a save writes, so a rewrite shows.
static const char old_config[] = "2 0";
static const char old_table[] = "NOonE\n0\nNOonE\n0\nNOonE\n0\nann\n4\nbob\n9";

static const std::vector<std::string> traces = {"Zenobar: players ", "char-2 "};

struct Snapshot {
    std::string config, table;
    struct stat config_info = {}, table_info = {};
    std::vector<std::string> names;
};

static std::vector<std::string> listing(const std::string &dir)
{
    std::string out;
    proc::run({{"/bin/ls", "-A", dir}, {}, "", false}, 10, &out);
    std::vector<std::string> names;
    for (size_t start = 0, end; start < out.size(); start = end + 1) {
        end = out.find('\n', start);
        names.push_back(out.substr(start, end - start));
    }
    std::sort(names.begin(), names.end());
    return names;
}

class Faults : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        std::string out;
        if (proc::run({{"/usr/bin/unshare", "-m", "/bin/true"}, {}, "", false}, 10, &out) == 0)
            namespaces = true;
    }

    // Old files, dated an hour back so that a rewrite shows.
    void old_files(const std::string &dir = ".")
    {
        write_file(dir + "/config", old_config);
        write_file(dir + "/highscores", old_table);
        struct timeval past[2];
        gettimeofday(&past[0], nullptr);
        past[0].tv_sec -= 3600;
        past[1] = past[0];
        utimes((dir + "/config").c_str(), past);
        utimes((dir + "/highscores").c_str(), past);
    }

    Snapshot snapshot(const std::string &dir = ".")
    {
        Snapshot s;
        s.config = read_file(dir + "/config");
        s.table = read_file(dir + "/highscores");
        stat((dir + "/config").c_str(), &s.config_info);
        stat((dir + "/highscores").c_str(), &s.table_info);
        s.names = listing(dir);
        return s;
    }

    void expect_untouched(const Snapshot &before, const Snapshot &after)
    {
        EXPECT_EQ(after.config, before.config);
        EXPECT_EQ(after.table, before.table);
        EXPECT_EQ(after.config_info.st_ino, before.config_info.st_ino);
        EXPECT_EQ(after.config_info.st_mtime, before.config_info.st_mtime);
        EXPECT_EQ(after.table_info.st_ino, before.table_info.st_ino);
        EXPECT_EQ(after.table_info.st_mtime, before.table_info.st_mtime);
        EXPECT_EQ(after.names, before.names);
    }

    // What the player's session n makes of the old files in a folder where
    // nothing stands in its way.
    struct Saved {
        std::string config, table;
    };
    Saved reference_session(int n)
    {
        std::string scratch = folder + "/scratch";
        mkdir(scratch.c_str(), 0755);
        for (const char *item : {"gfx", "sfx", "quest", "Vera.ttf"})
            symlink((std::string(data_dir) + "/" + item).c_str(), (scratch + "/" + item).c_str());
        old_files(scratch);
        std::string out, err;
        EXPECT_EQ(proc::run({{PLAYER_PATH, "session", std::to_string(n)}, {}, scratch, false}, 60, &out, &err), 0)
            << err;
        Saved saved = {read_file(scratch + "/config"), read_file(scratch + "/highscores")};
        system(("rm -rf '" + scratch + "'").c_str());
        return saved;
    }
    // Proof that a session had something to save.
    void expect_session_saves_something(int n)
    {
        Saved saved = reference_session(n);
        EXPECT_NE(saved.config, old_config);
        EXPECT_NE(saved.table, old_table);
    }

    bool namespaces = false;
};

TEST_F(Faults, NoDisplayStopsAtOnceWithOneLineAndTouchesNoFile)
{
    old_files();
    Snapshot before = snapshot();
    std::string out, err;
    int status = proc::run({{ZENOBAR_PATH}, {"SDL_VIDEODRIVER=x11", "DISPLAY"}, folder, false}, 30, &out, &err);
    EXPECT_EQ(status, 255);
    ASSERT_GE(out.size(), 2u);
    EXPECT_EQ(out.rfind("Could not initialize SDL: ", 0), 0u) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_EQ(out.substr(out.size() - 2), ".\n") << out;
    expect_untouched(before, snapshot());
}

// Without X, Debian's SDL draws with libcaca in the terminal the game was
// started from.
TEST_F(Faults, WithoutXTheGameRunsInTheTerminal)
{
    old_files();
    proc::Options text = {{ZENOBAR_PATH},
                          {"SDL_VIDEODRIVER", "DISPLAY", "TERM=xterm", "SDL_AUDIODRIVER=dummy"},
                          folder,
                          true};
    {
        // The real program: it draws the intro as text and is still
        // running when it is told to stop. In a terminal the close
        // request is the terminal library's: it puts the terminal back
        // and ends the program without a save, as a kill would.
        proc::Child game(text);
        game.pump(3);
        EXPECT_TRUE(game.running());
        EXPECT_EQ(game.out.find("Could not initialize SDL"), std::string::npos);
        EXPECT_NE(game.out.find("\033[41m"), std::string::npos) << "no dark red logo in the text";
        game.signal(SIGTERM);
        EXPECT_NE(game.wait(10), -1) << "did not end";
        EXPECT_NE(game.out.find("\033[?1049l"), std::string::npos) << "the terminal was not put back";
        EXPECT_EQ(read_file("config"), old_config);
        EXPECT_EQ(read_file("highscores"), old_table);
    }
    // A whole scripted session in the terminal ends as it should and saves
    // what it saves anywhere else.
    Saved want = reference_session(4);
    text.argv = {PLAYER_PATH, "session", "4"};
    proc::Child player(text);
    EXPECT_EQ(player.wait(60), 0) << player.out.substr(0, 2000);
    EXPECT_EQ(player.out.find("Could not initialize SDL"), std::string::npos);
    EXPECT_GT(player.out.size(), 100000u) << "it drew little";
    EXPECT_EQ(read_file("config"), want.config);
    EXPECT_EQ(read_file("highscores"), want.table);
}

TEST_F(Faults, NoAudioDeviceOneLineThenPlaysAndSavesOnClose)
{
    old_files();
    // The real program, its clock hurried: a terminate signal is a close
    // request once its screen is open.
    proc::Child game({{QUICK_PATH}, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=none"}, folder, false});
    game.pump(30, "zenobar-quick: screen open");
    ASSERT_NE(game.err.find("zenobar-quick: screen open"), std::string::npos) << game.err;
    game.signal(SIGTERM);
    EXPECT_EQ(game.wait(30), 0);
    EXPECT_EQ(game.out.rfind("Unable to initialize audio\n", 0), 0u) << game.out.substr(0, 200);
    std::string rest = game.out.substr(game.out.find('\n') + 1);
    EXPECT_EQ(proc::lines_other_than(rest, traces), std::vector<std::string>{});
    EXPECT_EQ(read_file("config"), "2 0\n");
    EXPECT_EQ(read_file("highscores"), std::string(old_table) + "\n");

    // A whole session without the device.
    Saved want = reference_session(7);
    std::string out, err;
    EXPECT_EQ(proc::run({{PLAYER_PATH, "session", "7"}, {"SDL_AUDIODRIVER=none"}, folder, false}, 60, &out, &err), 0)
        << err;
    EXPECT_EQ(proc::lines_other_than(out, traces), std::vector<std::string>{"Unable to initialize audio"});
    EXPECT_EQ(read_file("config"), want.config);
    EXPECT_EQ(read_file("highscores"), want.table);
}

TEST_F(Faults, ReadOnlyFolderKeepsTheOldFilesWholeAndSaysNothing)
{
    if (!namespaces)
        GTEST_SKIP() << "no private mount namespace here (unshare -m)";
    expect_session_saves_something(5);
    old_files();
    Snapshot before = snapshot();
    const char *script =
        "mount --bind \"$0\" \"$0\" && mount -o remount,bind,ro \"$0\" || exit 90\n"
        "touch \"$0/probe\" 2>/dev/null && exit 91\n"
        "cd \"$0\" && exec \"$1\" session 5";
    std::string out, err;
    int status = proc::run({{"/usr/bin/unshare", "-m", "--propagation", "private", "/bin/sh", "-c", script,
                             folder, PLAYER_PATH},
                            {},
                            "",
                            false},
                           60, &out, &err);
    ASSERT_NE(status, 90) << "cannot mount: " << err;
    ASSERT_NE(status, 91) << "the folder took a new file";
    EXPECT_EQ(status, 0) << err;
    EXPECT_EQ(proc::lines_other_than(out, traces), std::vector<std::string>{});
    EXPECT_EQ(err, "");
    expect_untouched(before, snapshot());
}

// A tmpfs of a few pages, filled up before the game starts.
class FullDisk : public Faults {
protected:
    struct Outcome {
        int status = -1;
        std::string out, err, config, table;
        std::vector<std::string> names;
    };

    Outcome run_on_full_disk(const std::string &filler, bool with_old_files)
    {
        Outcome o;
        std::string source = folder + "/source", disk = folder + "/disk", result = folder + "/result";
        system(("rm -rf '" + source + "' '" + disk + "' '" + result + "'").c_str());
        mkdir(source.c_str(), 0755);
        mkdir(disk.c_str(), 0755);
        mkdir(result.c_str(), 0755);
        for (const char *item : {"gfx", "sfx", "quest", "Vera.ttf"})
            symlink((std::string(data_dir) + "/" + item).c_str(), (source + "/" + item).c_str());
        if (with_old_files)
            old_files(source);
        std::string script =
            "D=$0 S=$1 P=$2 R=$3\n"
            "mount -t tmpfs -o size=64k,nr_inodes=64 zenobar-full \"$D\" || exit 90\n"
            "cp -P \"$S\"/* \"$D\"/ || exit 91\n"
            "cd \"$D\"\n"
            "i=0\n" +
            filler +
            "\n"
            "\"$P\" session 6 > \"$R/stdout\" 2> \"$R/stderr\"\n"
            "echo $? > \"$R/status\"\n"
            "ls -A > \"$R/listing\"\n"
            "for f in config highscores; do [ -e \"$f\" ] && cp \"$f\" \"$R/$f\"; done\n"
            "exit 0\n";
        std::string err;
        int shell = proc::run({{"/usr/bin/unshare", "-m", "--propagation", "private", "/bin/sh", "-c", script,
                                disk, source, PLAYER_PATH, result},
                               {},
                               "",
                               false},
                              60, nullptr, &err);
        EXPECT_EQ(shell, 0) << err;
        o.status = atoi(read_file(result + "/status").c_str());
        o.out = read_file(result + "/stdout");
        o.err = read_file(result + "/stderr");
        o.config = read_file(result + "/config");
        o.table = read_file(result + "/highscores");
        std::string names = read_file(result + "/listing");
        for (size_t start = 0, end; start < names.size(); start = end + 1) {
            end = names.find('\n', start);
            std::string name = names.substr(start, end - start);
            if (name.rfind("fill", 0) != 0 && name.rfind("node", 0) != 0)
                o.names.push_back(name);
        }
        std::sort(o.names.begin(), o.names.end());
        return o;
    }

    const std::string fill_pages =
        "while dd if=/dev/zero of=fill$i bs=4096 count=1 2>/dev/null; do i=$((i+1)); done\n"
        "dd if=/dev/zero of=fill.last bs=1 count=1 2>/dev/null && exit 92";
    const std::string fill_inodes =
        "while touch node$i 2>/dev/null; do i=$((i+1)); done\n"
        "touch node.last 2>/dev/null && exit 92";
};

TEST_F(FullDisk, NoRoomLeavesTheOldFilesWholeAndNoTemporaryFile)
{
    if (!namespaces)
        GTEST_SKIP() << "no private mount namespace here (unshare -m)";
    expect_session_saves_something(6);
    const std::vector<std::string> game_folder = {"Vera.ttf", "config", "gfx", "highscores", "quest", "sfx"};
    struct {
        const char *what;
        std::string filler;
    } cases[] = {{"no free block", fill_pages}, {"no free inode", fill_inodes}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Outcome o = run_on_full_disk(c.filler, true);
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(proc::lines_other_than(o.out, traces), std::vector<std::string>{});
        EXPECT_EQ(o.err, "");
        EXPECT_EQ(o.config, old_config);
        EXPECT_EQ(o.table, old_table);
        EXPECT_EQ(o.names, game_folder);
    }
    // A first run on a full disk leaves no empty or cut file either.
    Outcome fresh = run_on_full_disk(fill_pages, false);
    EXPECT_EQ(fresh.status, 0) << fresh.err;
    EXPECT_EQ(fresh.names, (std::vector<std::string>{"Vera.ttf", "gfx", "quest", "sfx"}));
}
