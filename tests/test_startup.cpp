#include <fcntl.h>

#include <algorithm>

#include "quiz/quiz.h"
#include "scores/scores.h"
#include "shell/shell.h"
#include "tests/harness.h"

using namespace harness;

static const char default_table[] = "NOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\n";

static int count_of(const std::vector<std::string> &v, const std::string &what)
{
    return (int)std::count(v.begin(), v.end(), what);
}

static int lines_starting(const std::string &text, const std::string &prefix)
{
    int n = 0;
    size_t pos = 0;
    while ((pos = text.find(prefix, pos)) != std::string::npos) {
        if (pos == 0 || text[pos - 1] == '\n')
            n++;
        pos += prefix.size();
    }
    return n;
}

class Program : public GameTest {};

TEST_F(Program, PlayerChoosesEnglishAndQuitsFromTheMenu)
{
    motion(150, 350);  // English flag
    release(150, 350);
    motion(300, 390);  // menu entry 5
    release(300, 390);
    capture_stdout();
    EXPECT_EQ(run_game(), 0);
    std::string out = captured_stdout();
    EXPECT_EQ(language, 2);
    EXPECT_EQ(APPMODE, MODE_QUIT);
    EXPECT_EQ(script_left(), 0u);
    EXPECT_EQ(polls_after_script(), 0);  // ended by the menu, not by the harness
    EXPECT_EQ(read_file("config"), "0 0\n");
    EXPECT_EQ(read_file("highscores"), default_table);
    EXPECT_EQ(lines_starting(out, "Zenobar: players "), 100);
    EXPECT_EQ(out.find("error!:"), std::string::npos);
    EXPECT_FALSE(file_exists("config.tmp"));
    EXPECT_FALSE(file_exists("highscores.tmp"));
    // The menu faded out the chooser the intro left and showed the English menu.
    EXPECT_EQ(count_of(sounds_loaded(), "sfx/button.wav"), 3);  // intro, entry 5, info epilogue
}

TEST_F(Program, CloseDuringIntroRunsOnePassAndWritesBothFiles)
{
    write_file("config", "0 0\n");
    close_window();
    EXPECT_EQ(run_game(), 0);
    EXPECT_EQ(quitapp, 1);
    // Logo and title each stay 3 s; the one pass adds its 600 ms of epilogues.
    EXPECT_EQ(delayed_ms, 3000u + 3000u + 600u);
    std::vector<std::string> sounds = sounds_loaded();
    EXPECT_EQ(count_of(sounds, "sfx/button.wav"), 2);  // the intro's click and one epilogue click
    EXPECT_EQ(read_file("config"), "0 0\n");
    EXPECT_EQ(read_file("highscores"), default_table);
}

TEST_F(Program, EscapeInMenuRunsTheRestOfThePassThenTheMenuAgain)
{
    key_down(SDLK_ESCAPE);  // chooser: Escape keeps Polish
    key_up(SDLK_ESCAPE);
    key_down(SDLK_ESCAPE);  // menu
    key_up(SDLK_ESCAPE);
    run_game();
    EXPECT_EQ(language, 1);
    // Two passes: Escape's, then the close request's; each clicks once.
    EXPECT_EQ(delayed_ms, 6000u + 100u + 2 * 600u);
    EXPECT_EQ(count_of(sounds_loaded(), "sfx/button.wav"), 1 + 2);
}

TEST_F(Program, SettingsDecideFullScreenAtStart)
{
    write_file("config", "1 -1\n");
    close_window();
    run_game();
    EXPECT_EQ(fullscreen_toggles, 1);
    EXPECT_EQ(read_file("config"), "1 -1\n");
    // With music -1 the only sound is the intro's click.
    EXPECT_EQ(sounds_loaded(), std::vector<std::string>{"sfx/button.wav"});
}

TEST_F(Program, OtherFirstNumbersStartInAWindow)
{
    write_file("config", "2 1\n");
    close_window();
    run_game();
    EXPECT_EQ(fullscreen_toggles, 0);
    EXPECT_EQ(read_file("config"), "2 1\n");
}

TEST_F(Program, RunsWithoutAnyPicture)
{
    unlink("gfx");
    mkdir("gfx", 0755);
    motion(300, 390);
    release(300, 390);
    capture_stdout();
    EXPECT_EQ(run_game(), 0);
    std::string out = captured_stdout();
    // logo, title, chooser; then the menu's two pictures
    EXPECT_EQ(lines_starting(out, "error!:  "), 5);
    EXPECT_NE(out.find("error!:  Couldn't open gfx/logo.png\n"), std::string::npos);
    EXPECT_EQ(language, 1);
    EXPECT_EQ(APPMODE, MODE_QUIT);
    EXPECT_EQ(polls_after_script(), 0);
    EXPECT_EQ(read_file("highscores"), default_table);
}

TEST_F(Program, MissingFontIsReportedTwiceAndTheGameGoesOn)
{
    unlink("Vera.ttf");
    close_window();
    capture_stdout();
    EXPECT_EQ(run_game(), 0);
    std::string out = captured_stdout();
    EXPECT_EQ(lines_starting(out, "TTF_OpenFont: "), 2);
    EXPECT_EQ(read_file("config"), "0 0\n");
}

TEST_F(Program, SdlThatCannotStartLeavesBothFilesUntouched)
{
    setenv("SDL_VIDEODRIVER", "x11", 1);
    unsetenv("DISPLAY");
    write_file("config", "7 7");
    capture_stdout();
    EXPECT_EQ(run_game(), -1);
    std::string out = captured_stdout();
    EXPECT_EQ(out, "Could not initialize SDL: No available video device.\n");
    EXPECT_EQ(read_file("config"), "7 7");
    EXPECT_FALSE(file_exists("highscores"));
}

TEST_F(Program, NoScreenShutsDownFromTheMixerAndWritesBothFiles)
{
    fail_video_mode = true;
    write_file("config", "2 -1 ");
    write_file("highscores", "ann\n4\nbob\n9\n");
    capture_stdout();
    EXPECT_EQ(run_game(), 1);
    std::string out = captured_stdout();
    EXPECT_NE(out.find("Cannot open screen!\n"), std::string::npos);
    EXPECT_EQ(out.find("TTF_OpenFont"), std::string::npos);
    EXPECT_EQ(read_file("config"), "2 -1\n");
    EXPECT_EQ(read_file("highscores"), "ann\n4\nbob\n9\nNOonE\n0\nNOonE\n0\nNOonE\n0\n");
}

TEST_F(Program, NoTtfEngineShutsDownAndWritesBothFiles)
{
    fail_ttf_init = true;
    capture_stdout();
    EXPECT_EQ(run_game(), 1);
    std::string out = captured_stdout();
    EXPECT_NE(out.find("Cannot initialize TTF Engine!\n"), std::string::npos);
    EXPECT_EQ(read_file("config"), "0 0\n");
    EXPECT_EQ(read_file("highscores"), default_table);
}

TEST_F(Program, NoMemoryForTheNameEndsWithStatusOne)
{
    EXPECT_EXIT(
        {
            int fd = open("out.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, 1);
            fail_calloc = true;
            run_game();
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(read_file("out.txt"), "Cannot allocate memory for player!\n");
    EXPECT_FALSE(file_exists("config"));
    EXPECT_FALSE(file_exists("highscores"));
}

TEST_F(Program, NoAudioDeviceIsReportedAndTheGamePlaysSilently)
{
    setenv("SDL_AUDIODRIVER", "no-such-device", 1);
    motion(150, 350);
    release(150, 350);
    motion(300, 260);  // best players, with its applause and click
    release(300, 260);
    click(5, 5);
    motion(300, 390);
    release(300, 390);
    capture_stdout();
    EXPECT_EQ(run_game(), 0);
    std::string out = captured_stdout();
    EXPECT_EQ(out.rfind("Unable to initialize audio\n", 0), 0u);
    EXPECT_EQ(lines_starting(out, "Unable"), 1);
    EXPECT_EQ(polls_after_script(), 0);
    EXPECT_EQ(read_file("config"), "0 0\n");
}
