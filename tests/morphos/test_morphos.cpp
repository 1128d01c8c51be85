// zenobar-morphos started from e/, its game folder m/ holding a copy of the program, the data and libs/.
#include "tests/morphos/scenario.h"
#include "toolkit/toolkit.h"

const std::string open3 = "open=powersdl.library/10 open=powersdl_mixer.library/6 open=powersdl_image.library/6 ",
                  close3 = "close=powersdl_image.library close=powersdl_mixer.library close=powersdl.library ";
static std::string err, notes;  // of the last start

static int start(std::string program, std::string libs, std::string args = "", std::string env = "")
{
    std::string sh = "rm -rf m e && mkdir -p m/libs e && cp " + program + " m/zenobar-morphos && cp -P gfx sfx "
                     "quest Vera.ttf m/ && for l in " + libs + "; do ln -s $l m/libs/; done && cd e && " + env +
                     " ../m/zenobar-morphos " + args + " 2>../err 3>../notes 4>../log";
    int status = WEXITSTATUS(system(sh.c_str()));
    err = read_file("err"), notes = read_file("notes");
    return status;
}

TEST_F(GameTest, MorphosPlaysOnlyWithItsLibraries)
{
    EXPECT_EQ(start(SCRIPTED_PROGRAM, TEST_LIBS "/powersdl_*.library"), 20);  // all but powersdl.library
    EXPECT_EQ(err, "SDL startup message\nNeed version 10 of powersdl.library\n[Abort]\n");
    EXPECT_EQ(notes, "refused=powersdl.library/10 open=intuition.library/0 close=intuition.library cwd=e");
    // The first one found decides, though a good one comes later.
    EXPECT_EQ(start(SCRIPTED_PROGRAM, TEST_LIBS "/*.library " OLD_LIBS "/powersdl_ttf.library"), 20);
    EXPECT_EQ(err, "");
    EXPECT_EQ(notes, open3 + "refused=powersdl_ttf.library/6 " + close3 + "cwd=e");
    EXPECT_EQ(start(GAME_PROGRAM, GAME_LIBS "/*.library", "",
                    "LD_PRELOAD=" QUITTER " ASAN_OPTIONS=$ASAN_OPTIONS:verify_asan_link_order=0"), 0) << err;
    EXPECT_EQ(read_file("m/config"), "0 0\n");  // in its own folder, though started elsewhere
}

TEST_F(GameTest, MorphosPlaysTheSameGameAsZenobar)
{
    script_whole_game();
    capture_stdout();
    ASSERT_EQ(run_game(), 0);
    std::string log = record_text(), trace = captured_stdout(), table = read_file("highscores");
    play_sound(SND_STOP);  // the game leaves its last sound loaded at exit; this process goes on
    ASSERT_NE(table.find("eva\n3\n"), std::string::npos) << table;
    EXPECT_EQ(start(SCRIPTED_PROGRAM, TEST_LIBS "/*.library", "game"), 0);
    EXPECT_EQ(read_file("log"), log);
    EXPECT_EQ(err, trace);  // on the debug output
    EXPECT_EQ(read_file("m/config") + read_file("m/highscores"), read_file("config") + table);
    // Opened before main, closed in reverse after it, and back in the folder it was started in.
    EXPECT_EQ(notes, open3 + "open=powersdl_ttf.library/6 main close=powersdl_ttf.library " + close3 + "cwd=e");
}
