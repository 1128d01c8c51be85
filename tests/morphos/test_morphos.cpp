// zenobar-morphos run whole, as a separate process started from another
// folder: its own game folder with the program, the data and libs/.
#include <fcntl.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "tests/harness.h"
#include "tests/morphos/scenario.h"

using namespace harness;

static const char default_table[] = "NOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\n";
static const char requester[] = "SDL startup message\nNeed version 10 of powersdl.library\n[Abort]\n";

struct Outcome {
    int status;
    std::string out, err;
    std::vector<std::string> notes;  // the scripted program's, see scripted_main.cpp
};

static std::vector<std::string> lines_of(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

static int count_starting(const std::vector<std::string> &lines, const std::string &prefix)
{
    return (int)std::count_if(lines.begin(), lines.end(),
                              [&](const std::string &l) { return l.rfind(prefix, 0) == 0; });
}

static std::vector<std::string> starting(const std::vector<std::string> &lines,
                                         std::initializer_list<const char *> prefixes)
{
    std::vector<std::string> kept;
    for (const std::string &l : lines)
        for (const char *p : prefixes)
            if (l.rfind(p, 0) == 0) {
                kept.push_back(l);
                break;
            }
    return kept;
}

// The libraries opened, in order; closed, the order they were closed in.
static std::vector<std::string> opened(const std::vector<std::string> &notes)
{
    std::vector<std::string> names;
    for (const std::string &l : notes) {
        std::istringstream in(l);
        std::string what, name, version, result;
        if (in >> what >> name >> version >> result && what == "OpenLibrary" && result == "ok")
            names.push_back(name);
    }
    return names;
}

static std::vector<std::string> closed_reversed(const std::vector<std::string> &notes)
{
    std::vector<std::string> names;
    for (const std::string &l : notes)
        if (l.rfind("CloseLibrary ", 0) == 0)
            names.insert(names.begin(), l.substr(strlen("CloseLibrary ")));
    return names;
}

static std::string test_lib(const char *name) { return std::string(TEST_LIBS) + "/" + name + ".library"; }
static std::string old_lib(const char *name) { return std::string(OLD_LIBS) + "/" + name + ".library"; }

// powersdl_ttf.library comes from the system's folder unless a test puts
// one in libs/.
static std::vector<std::string> test_libs()
{
    return {test_lib("powersdl"), test_lib("powersdl_mixer"), test_lib("powersdl_image")};
}

class Morphos : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        game = folder + "/morphos";
        elsewhere = folder + "/elsewhere";
        mkdir(game.c_str(), 0755);
        mkdir(elsewhere.c_str(), 0755);
        mkdir((folder + "/run").c_str(), 0755);
    }

    // The program is copied, not linked: "PROGDIR:" is the folder of the
    // program file itself.
    void lay_out(const std::string &program, const std::vector<std::string> &libs)
    {
        namespace fs = std::filesystem;
        fs::copy_file(program, game + "/zenobar-morphos");
        for (const char *item : {"gfx", "sfx", "quest", "Vera.ttf"})
            fs::create_symlink(std::string(data_dir) + "/" + item, game + "/" + item);
        fs::create_directory(game + "/libs");
        for (const std::string &lib : libs)
            fs::create_symlink(lib, game + "/libs/" + fs::path(lib).filename().string());
    }

    Outcome start(const char *script, std::vector<std::pair<const char *, std::string>> env = {})
    {
        std::string out = folder + "/run/out", err = folder + "/run/err", notes = folder + "/run/notes";
        fflush(NULL);
        pid_t pid = fork();
        if (pid == 0) {
            int fds[3] = {open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
                          open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
                          open(notes.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)};
            for (int i = 0; i < 3; i++)
                dup2(fds[i], i + 1);
            for (auto &e : env)
                setenv(e.first, e.second.c_str(), 1);
            if (chdir(elsewhere.c_str()) == 0) {
                std::string program = game + "/zenobar-morphos";
                execl(program.c_str(), program.c_str(), script, (char *)NULL);
            }
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        Outcome run;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        run.out = read_file(out);
        run.err = read_file(err);
        run.notes = lines_of(read_file(notes));
        return run;
    }

    bool wrote_nothing()
    {
        return !file_exists(game + "/config") && !file_exists(game + "/highscores") &&
               std::filesystem::is_empty(elsewhere);
    }

    std::string game, elsewhere;
};

TEST_F(Morphos, RunsInItsOwnFolderFromAnywhereAndClosesEachLibraryOnceInReverse)
{
    lay_out(SCRIPTED_PROGRAM, test_libs());
    Outcome run = start("close");
    EXPECT_EQ(run.status, 0) << run.err;
    // Its pictures and font found: no message at all.
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(read_file(game + "/config"), "0 0\n");
    EXPECT_EQ(read_file(game + "/highscores"), default_table);
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
    ASSERT_FALSE(run.notes.empty());
    EXPECT_EQ(run.notes.back(), "cwd " + elsewhere);

    std::vector<std::string> libraries = opened(run.notes);
    ASSERT_EQ(libraries.size(), 4u) << ::testing::PrintToString(run.notes);
    EXPECT_EQ(libraries[0], "powersdl.library");
    std::sort(libraries.begin() + 1, libraries.end());
    EXPECT_EQ(libraries, (std::vector<std::string>{"powersdl.library", "powersdl_image.library",
                                                   "powersdl_mixer.library", "powersdl_ttf.library"}));
    EXPECT_EQ(closed_reversed(run.notes), opened(run.notes));
    // Opened before main, closed after it.
    auto main_at = std::find(run.notes.begin(), run.notes.end(), "main");
    EXPECT_EQ(count_starting(std::vector<std::string>(run.notes.begin(), main_at), "OpenLibrary"), 4);
    EXPECT_EQ(count_starting(std::vector<std::string>(main_at, run.notes.end()), "CloseLibrary"), 4);
    EXPECT_EQ(count_starting(run.notes, "tgl handed"), 1);
}

TEST_F(Morphos, PlaysTheSameGameAsZenobarWithTheTraceOnStandardError)
{
    script_whole_game();
    capture_stdout();
    int status = run_game();
    std::string linux_out = captured_stdout();
    std::vector<std::string> linux_transcript = transcript();

    lay_out(SCRIPTED_PROGRAM, test_libs());
    Outcome run = start("game");
    EXPECT_EQ(run.status, status) << run.err;
    EXPECT_EQ(status, 0);
    EXPECT_EQ(starting(run.notes, {"text ", "sound ", "delayed ", "polls after script "}), linux_transcript);
    EXPECT_EQ(read_file(game + "/config"), read_file("config"));
    EXPECT_EQ(read_file(game + "/highscores"), read_file("highscores"));
    // The held letter repeats on every pass as on Linux.
    EXPECT_EQ(read_file(game + "/highscores"), "NOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\nevaaa\n3\n");
    EXPECT_TRUE(was_rendered("Grattis du vann 500"));

    // zenobar prints nothing but the trace lines here; zenobar-morphos
    // sends the same bytes to the debug output.
    EXPECT_EQ(count_starting(lines_of(linux_out), "Zenobar: players "), 100);
    EXPECT_EQ(count_starting(lines_of(linux_out), "char-2 "), 5);
    EXPECT_EQ(run.err, linux_out);
    EXPECT_EQ(run.out, "");
}

TEST_F(Morphos, MissingOrOldPowerSDLShowsTheRequesterAndEndsWith20)
{
    for (bool old : {false, true}) {
        SCOPED_TRACE(old ? "version 9" : "missing");
        std::filesystem::remove_all(game);
        mkdir(game.c_str(), 0755);
        std::vector<std::string> libs = {test_lib("powersdl_mixer"), test_lib("powersdl_image")};
        if (old)
            libs.push_back(old_lib("powersdl"));
        lay_out(SCRIPTED_PROGRAM, libs);
        Outcome run = start("game");
        EXPECT_EQ(run.status, 20);
        EXPECT_EQ(run.err, requester);
        EXPECT_EQ(run.out, "");
        // main never ran, so no window opened.
        EXPECT_EQ(starting(run.notes, {"OpenLibrary", "CloseLibrary", "main"}),
                  (std::vector<std::string>{"OpenLibrary powersdl.library 10 null",
                                            "OpenLibrary intuition.library 0 ok",
                                            "CloseLibrary intuition.library"}));
        EXPECT_TRUE(wrote_nothing());
    }
}

TEST_F(Morphos, TheGameFolderProgramShowsTheRequesterWithoutItsLibraries)
{
    lay_out(GAME_PROGRAM, {});
    Outcome run = start("");
    EXPECT_EQ(run.status, 20);
    EXPECT_EQ(run.err, requester);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(wrote_nothing());
}

TEST_F(Morphos, MissingOrOldCompanionEndsWith20WithoutAMessage)
{
    // The old one in libs/ is found before the good one in the system's folder.
    for (bool old : {false, true}) {
        SCOPED_TRACE(old ? "powersdl_ttf version 5" : "powersdl_image missing");
        std::filesystem::remove_all(game);
        mkdir(game.c_str(), 0755);
        std::vector<std::string> libs = {test_lib("powersdl"), test_lib("powersdl_mixer")};
        if (old) {
            libs.push_back(test_lib("powersdl_image"));
            libs.push_back(old_lib("powersdl_ttf"));
        }
        lay_out(SCRIPTED_PROGRAM, libs);
        Outcome run = start("game");
        EXPECT_EQ(run.status, 20);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(count_starting(run.notes, "main"), 0);
        EXPECT_EQ(count_starting(run.notes, "OpenLibrary intuition"), 0);
        std::vector<std::string> libraries = opened(run.notes);
        ASSERT_FALSE(libraries.empty());
        EXPECT_EQ(libraries[0], "powersdl.library");
        EXPECT_EQ(closed_reversed(run.notes), libraries);
        ASSERT_FALSE(run.notes.empty());
        EXPECT_EQ(run.notes.back(), "cwd " + elsewhere);
        EXPECT_TRUE(wrote_nothing());
    }
}

TEST_F(Morphos, UnlockableProgramFolderEndsWith20AndClosesPowerSDLAgain)
{
    lay_out(SCRIPTED_PROGRAM, test_libs());
    Outcome run = start("game", {{"ZENOBAR_TEST_LOCK_FAILS", "1"}});
    EXPECT_EQ(run.status, 20);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(starting(run.notes, {"OpenLibrary", "CloseLibrary", "main"}),
              (std::vector<std::string>{"OpenLibrary powersdl.library 10 ok",
                                        "CloseLibrary powersdl.library"}));
    EXPECT_EQ(run.notes.back(), "cwd " + elsewhere);
    EXPECT_TRUE(wrote_nothing());
}

TEST_F(Morphos, TheGameFolderProgramPlaysFromAnywhere)
{
    std::vector<std::string> libs;
    for (const char *name : {"powersdl", "powersdl_mixer", "powersdl_image", "powersdl_ttf"})
        libs.push_back(std::string(GAME_LIBS) + "/" + name + ".library");
    lay_out(GAME_PROGRAM, libs);
    const char *asan = getenv("ASAN_OPTIONS");
    Outcome run = start("", {{"LD_PRELOAD", QUITTER},
                         {"ASAN_OPTIONS", std::string(asan ? asan : "") + ":verify_asan_link_order=0"}});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(count_starting(lines_of(run.err), "Zenobar: players NOonE"), 100);
    EXPECT_EQ(read_file(game + "/config"), "0 0\n");
    EXPECT_EQ(read_file(game + "/highscores"), default_table);
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
}
