#include <string.h>

#include "scores/scores.h"
#include "shell/shell.h"
#include "tests/harness.h"

using namespace harness;

class BestPlayers : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        open_sdl();
        APPMODE = MODE_SCORES;
    }
    void TearDown() override
    {
        close_sdl();
        GameTest::TearDown();
    }
    void set(int i, const char *name, int level)
    {
        memset(players[i], 0, sizeof players[i]);
        strcpy(players[i], name);
        playersi[i] = level;
    }
    // Rightmost black column of the row at y, from x on, or -1.
    int ink_end(int x, int y)
    {
        int last = -1;
        for (int px = x; px < x + 300 && px < 640; px++)
            for (int py = y; py < y + 24; py++)
                if (pixel(px, py) == 0)
                    last = px;
        return last;
    }
    int width_of(const char *text)
    {
        int w = 0, h = 0;
        TTF_SizeText(font1, text, &w, &h);
        return w;
    }
};

TEST_F(BestPlayers, DefaultTableShowsFiveNobodiesWithNothingWon)
{
    loadh();  // no file: defaults, each name with its newline
    release(10, 10);
    capture_stdout();
    highscores();
    std::string out = captured_stdout();
    std::string line = std::string("char-2 E char-1 \n char ") + '\0' + "\n";
    std::string all;
    for (int i = 0; i < 5; i++)
        all += line;
    EXPECT_EQ(out, all);
    for (int i = 0; i < 5; i++) {
        int y = 380 - 51 * i;
        // The newline is cut: nothing drawn past the name's own width.
        int end = ink_end(110, y);
        EXPECT_GT(end, 110);
        EXPECT_LE(end, 110 + width_of("NOonE"));
        EXPECT_GT(ink_end(480, y), 480);
        EXPECT_LE(ink_end(480, y), 480 + width_of("0"));
    }
    EXPECT_EQ(APPMODE, MODE_MENU);
    EXPECT_EQ(sounds_loaded(), (std::vector<std::string>{"sfx/aplause.wav", "sfx/button.wav"}));
}

TEST_F(BestPlayers, RowsRiseFromTheLowestEntry)
{
    const char *names[] = {"a", "bb", "ccc", "dddd", "eeeeeeeeeee"};
    for (int i = 0; i < 5; i++)
        set(i, names[i], i * 3);
    int texts = 0;
    on_flip = [&] {
        // The rows' texts come one per flip after the picture is up.
        if (image != NULL && texts < 10)
            texts++;
    };
    release(10, 10);
    highscores();
    EXPECT_EQ(texts, 10);
    const char *amounts[] = {"0", "500", "6000", "50000", "10000000"};
    for (int i = 0; i < 5; i++) {
        int y = 380 - 51 * i;
        SCOPED_TRACE(y);
        EXPECT_NEAR(ink_end(110, y), 110 + width_of(names[i]), 3);
        EXPECT_NEAR(ink_end(480, y), 480 + width_of(amounts[i]), 3);
    }
}

TEST_F(BestPlayers, ShortNamesAndLevelsOffTheLadder)
{
    set(0, "", 13);
    set(1, "x", -1);
    set(2, "\n", 12);
    set(3, "ok", 0);
    set(4, "ok", 2147483647);
    release(10, 10);
    capture_stdout();
    highscores();
    std::string out = captured_stdout();
    std::string nul(1, '\0');
    std::string expected = "char-2 " + nul + " char-1 " + nul + " char " + nul + "\n" +
                           "char-2 " + nul + " char-1 x char " + nul + "\n" +
                           "char-2 " + nul + " char-1 \n char " + nul + "\n" +
                           "char-2 o char-1 k char " + nul + "\n" + "char-2 o char-1 k char " + nul + "\n";
    EXPECT_EQ(out, expected);
    EXPECT_EQ(playersi[0], 13);
    EXPECT_EQ(playersi[1], -1);
    EXPECT_NEAR(ink_end(480, 380), 480 + width_of("?"), 3);
    EXPECT_NEAR(ink_end(480, 329), 480 + width_of("?"), 3);
    EXPECT_NEAR(ink_end(480, 176), 480 + width_of("?"), 3);
    EXPECT_EQ(ink_end(110, 278), -1);  // a lone newline leaves nothing to draw
}

TEST_F(BestPlayers, KeysDoNothingAndEachVisitTracesFiveLines)
{
    loadh();
    music = 1;
    key_down(SDLK_ESCAPE);
    idle(3);
    press(5, 5);
    release(5, 5);
    capture_stdout();
    highscores();
    APPMODE = MODE_SCORES;
    LAPPMODE = MODE_MENU;
    release(5, 5);
    highscores();
    std::string out = captured_stdout();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n') - 5 * 2, 10);  // each default name holds a newline
    EXPECT_EQ(sound_loads(), 0);
    EXPECT_EQ(APPMODE, MODE_MENU);
}

TEST_F(BestPlayers, WaitsOnEveryCallAndSurvivesAMissingPicture)
{
    APPMODE = MODE_MENU;
    Uint64 before = delayed_ms;
    highscores();
    EXPECT_EQ(delayed_ms - before, 200u);

    unlink("gfx");
    mkdir("gfx", 0755);
    APPMODE = MODE_SCORES;
    loadh();
    close_window();
    capture_stdout();
    highscores();
    std::string out = captured_stdout();
    EXPECT_EQ(out, "error!:  Couldn't open gfx/thebest.png\n");
    EXPECT_EQ(APPMODE, MODE_QUIT);
    EXPECT_EQ(quitapp, 1);
    EXPECT_EQ(sounds_loaded(), std::vector<std::string>{"sfx/button.wav"});
}
