// zenobar-morphos run whole, from another folder (e/): its game folder (m/)
// holds a copy of the program (its folder is that of the file), the data
// and libs/.
#include <sstream>

#include "tests/morphos/scenario.h"

using namespace harness;

static const char requester[] = "SDL startup message\nNeed version 10 of powersdl.library\n[Abort]\n";
static const std::string sdl = TEST_LIBS "/powersdl.library ", mixer = TEST_LIBS "/powersdl_mixer.library ",
                         image = TEST_LIBS "/powersdl_image.library ";

class Morphos : public GameTest {
protected:
    int status;
    std::string err, notes;  // the scripted program's notes, the record apart
    std::vector<std::string> log;

    void start(const std::string &program, const std::string &libs, const std::string &arg, const std::string &env = "")
    {
        std::string sh = "rm -rf m e && mkdir -p m/libs e && cp " + program + " m/zenobar-morphos && cp -P gfx sfx quest "
                         "Vera.ttf m/ && for l in " + libs + "; do ln -s $l m/libs/; done && cd e && " + env +
                         " ../m/zenobar-morphos " + arg + " >../out 2>../err 3>../notes";
        status = WEXITSTATUS(system(sh.c_str()));
        err = read_file("err"), notes = "", log.clear();
        std::istringstream lines(read_file("notes"));
        for (std::string line; std::getline(lines, line);)
            if (line.rfind("log ", 0) == 0)
                log.push_back(line);
            else if (line.rfind("cwd ", 0) == 0)
                EXPECT_EQ(line, "cwd " + folder + "/e");  // the folder it was started in, again at the end
            else
                notes += line;
        EXPECT_EQ(read_file("out"), "");
        EXPECT_EQ(rmdir("e"), 0);  // nothing written there
    }
};

TEST_F(Morphos, OpensItsLibrariesBeforeMainAndClosesEachOnceInReverse)
{
    const std::string first3 = "open=powersdl.library/10 open=powersdl_mixer.library/6 open=powersdl_image.library/6 ",
                      no_sdl = "refused=powersdl.library/10 open=intuition.library/0 close=intuition.library ";
    const struct {
        std::string libs, notes;
    } cases[] = {
        {sdl + mixer + image, first3 + "open=powersdl_ttf.library/6 main status=0 close=powersdl_ttf.library "
                                       "close=powersdl_image.library close=powersdl_mixer.library close=powersdl.library "},
        {mixer + image, no_sdl},
        {OLD_LIBS "/powersdl.library " + mixer + image, no_sdl},
        {sdl + mixer, "open=powersdl.library/10 open=powersdl_mixer.library/6 refused=powersdl_image.library/6 "
                       "close=powersdl_mixer.library close=powersdl.library "},
        // The first one found decides, though a good one comes later.
        {sdl + mixer + image + OLD_LIBS "/powersdl_ttf.library",
         first3 + "refused=powersdl_ttf.library/6 close=powersdl_image.library close=powersdl_mixer.library "
                  "close=powersdl.library "},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.notes);
        start(SCRIPTED_PROGRAM, c.libs, "close");
        bool ran = c.notes.find("main") != std::string::npos;
        EXPECT_EQ(status, ran ? 0 : 20);
        EXPECT_EQ(ran ? "" : err, c.notes == no_sdl ? requester : "");
        EXPECT_EQ(notes, c.notes);
        EXPECT_EQ(file_exists("m/config"), ran);
    }
}

TEST_F(Morphos, PlaysTheSameGameAsZenobar)
{
    script_whole_game();
    capture_stdout();
    ASSERT_EQ(run_game(), 0);
    std::string trace = captured_stdout(), config = read_file("config"), table = read_file("highscores");
    std::vector<std::string> zenobar_log;
    for (const std::string &line : harness::record)
        zenobar_log.push_back("log " + line);
    EXPECT_NE(table.find("eva\n3\n"), std::string::npos) << table;
    ASSERT_GT(zenobar_log.size(), 100u);

    start(SCRIPTED_PROGRAM, sdl + mixer + image, "game");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(log, zenobar_log);
    EXPECT_EQ(err, trace);  // the trace lines go to the debug output
    EXPECT_EQ(read_file("m/config"), config);
    EXPECT_EQ(read_file("m/highscores"), table);
}

TEST_F(Morphos, TheGameFolderProgramNeedsItsLibrariesAndPlaysFromAnywhere)
{
    start(GAME_PROGRAM, "", "");
    EXPECT_EQ(status, 20);
    EXPECT_EQ(err, requester);
    start(GAME_PROGRAM, GAME_LIBS "/*.library", "",
          "LD_PRELOAD=" QUITTER " ASAN_OPTIONS=$ASAN_OPTIONS:verify_asan_link_order=0");
    EXPECT_EQ(status, 0) << err;
    EXPECT_NE(err.find("Zenobar: players NOonE"), std::string::npos);
    EXPECT_EQ(read_file("m/config"), "0 0\n");
    EXPECT_EQ(read_file("m/highscores"), "NOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\n");
}
