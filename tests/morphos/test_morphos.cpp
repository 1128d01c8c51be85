// zenobar-morphos run whole, as a process of its own started from another
// folder: its game folder holds the program, the data and libs/.
#include <fcntl.h>
#include <sys/wait.h>

#include <filesystem>
#include <sstream>

#include "tests/morphos/scenario.h"

using namespace harness;
namespace fs = std::filesystem;

static const char requester[] = "SDL startup message\nNeed version 10 of powersdl.library\n[Abort]\n";
static const char *const sdl = TEST_LIBS "/powersdl.library", *const mixer = TEST_LIBS "/powersdl_mixer.library",
                         *const image = TEST_LIBS "/powersdl_image.library";

struct Outcome {
    int status;
    std::string out, err;
    std::vector<std::string> notes, log;  // the scripted program's, "log " lines apart
};

class Morphos : public GameTest {
protected:
    // The program is copied, not linked: its own folder is that of the file.
    Outcome start(const std::string &program, const std::vector<std::string> &libs, const char *arg,
              std::vector<std::string> env = {})
    {
        std::string game = folder + "/morphos", elsewhere = folder + "/elsewhere";
        fs::remove_all(game);
        fs::create_directories(game + "/libs");
        fs::create_directories(elsewhere);
        fs::copy_file(program, game + "/zenobar-morphos");
        for (const char *item : {"gfx", "sfx", "quest", "Vera.ttf"})
            fs::create_symlink(std::string(data_dir) + "/" + item, game + "/" + item);
        for (const std::string &lib : libs)
            fs::create_symlink(lib, game + "/libs/" + fs::path(lib).filename().string());
        fflush(NULL);
        pid_t pid = fork();
        if (pid == 0) {
            for (const char *name : {"/out", "/err", "/notes"})
                dup2(open((folder + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), name[1] == 'o' ? 1 : name[1] == 'e' ? 2 : 3);
            for (std::string &e : env)
                putenv(&e[0]);
            if (chdir(elsewhere.c_str()) == 0)
                execl((game + "/zenobar-morphos").c_str(), "zenobar-morphos", arg, (char *)NULL);
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        Outcome run{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), read_file(folder + "/out"),
                read_file(folder + "/err"), {}, {}};
        std::istringstream notes(read_file(folder + "/notes"));
        for (std::string line; std::getline(notes, line);)
            (line.rfind("log ", 0) == 0 ? run.log : run.notes).push_back(line);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(fs::is_empty(elsewhere));
        if (!run.notes.empty()) {
            EXPECT_EQ(run.notes.back(), "cwd " + elsewhere);
        }
        return run;
    }
};

TEST_F(Morphos, OpensItsLibrariesBeforeMainAndClosesEachOnceInReverse)
{
    const std::string ttf = "powersdl_ttf.library 6", image6 = "powersdl_image.library 6";
    struct Case {
        const char *what;
        std::vector<std::string> libs, env, notes;
        int status;
        std::string err;
    } cases[] = {
        {"all four, the last from the system's folder", {sdl, mixer, image}, {},
         {"open powersdl.library 10", "open powersdl_mixer.library 6", "open " + image6, "open " + ttf, "main",
          "status 0", "close powersdl_ttf.library", "close powersdl_image.library", "close powersdl_mixer.library",
          "close powersdl.library"}, 0, ""},
        {"powersdl missing", {mixer, image}, {},
         {"refused powersdl.library 10", "open intuition.library 0", "close intuition.library"}, 20, requester},
        {"powersdl too old", {OLD_LIBS "/powersdl.library", mixer, image}, {},
         {"refused powersdl.library 10", "open intuition.library 0", "close intuition.library"}, 20, requester},
        {"a companion missing", {sdl, mixer}, {},
         {"open powersdl.library 10", "open powersdl_mixer.library 6", "refused " + image6,
          "close powersdl_mixer.library", "close powersdl.library"}, 20, ""},
        // The first one found decides, though a good one is further on.
        {"a companion too old", {sdl, mixer, image, OLD_LIBS "/powersdl_ttf.library"}, {},
         {"open powersdl.library 10", "open powersdl_mixer.library 6", "open " + image6, "refused " + ttf,
          "close powersdl_image.library", "close powersdl_mixer.library", "close powersdl.library"}, 20, ""},
        {"its folder cannot be locked", {sdl, mixer, image}, {"ZENOBAR_TEST_LOCK_FAILS=1"},
         {"open powersdl.library 10", "close powersdl.library"}, 20, ""},
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.what);
        Outcome run = start(SCRIPTED_PROGRAM, c.libs, "close", c.env);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(c.status == 0 ? "" : run.err, c.err);  // a game's trace lines apart
        if (!run.notes.empty())
            run.notes.pop_back();
        EXPECT_EQ(run.notes, c.notes);
        EXPECT_EQ(file_exists(folder + "/morphos/config"), c.status == 0);
    }
}

TEST_F(Morphos, PlaysTheSameGameAsZenobar)
{
    script_whole_game();
    capture_stdout();
    ASSERT_EQ(run_game(), 0);
    std::string trace = captured_stdout(), config = read_file("config"), table = read_file("highscores");
    std::vector<std::string> log_lines;
    for (const std::string &line : harness::record)
        log_lines.push_back("log " + line);
    EXPECT_NE(table.find("eva\n3\n"), std::string::npos) << table;
    ASSERT_GT(log_lines.size(), 100u);

    Outcome run = start(SCRIPTED_PROGRAM, {sdl, mixer, image}, "game");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.log, log_lines);
    EXPECT_EQ(run.err, trace);  // the trace lines go to the debug output
    EXPECT_EQ(read_file(folder + "/morphos/config"), config);
    EXPECT_EQ(read_file(folder + "/morphos/highscores"), table);
}

TEST_F(Morphos, TheGameFolderProgramNeedsItsLibrariesAndPlaysFromAnywhere)
{
    Outcome without = start(GAME_PROGRAM, {}, "");
    EXPECT_EQ(without.status, 20);
    EXPECT_EQ(without.err, requester);
    std::vector<std::string> libs;
    for (const char *name : {"powersdl", "powersdl_mixer", "powersdl_image", "powersdl_ttf"})
        libs.push_back(std::string(GAME_LIBS) + "/" + name + ".library");
    const char *asan = getenv("ASAN_OPTIONS");
    Outcome run = start(GAME_PROGRAM, libs, "",
                    {"LD_PRELOAD=" QUITTER, std::string("ASAN_OPTIONS=") + (asan ? asan : "") + ":verify_asan_link_order=0"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("Zenobar: players NOonE"), std::string::npos);
    EXPECT_EQ(read_file(folder + "/morphos/config"), "0 0\n");
    EXPECT_EQ(read_file(folder + "/morphos/highscores"), "NOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\n");
}
