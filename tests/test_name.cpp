#include <string.h>

#include "scores/scores.h"
#include "shell/shell.h"
#include "tests/harness.h"

using namespace harness;

class NameEntry : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        open_sdl();
        APPMODE = MODE_NAME;
        nplayer = 0;
    }
    void TearDown() override
    {
        close_sdl();
        GameTest::TearDown();
    }
    void keys(const char *letters)
    {
        for (const char *c = letters; *c; c++)
            type(*c);
    }
    std::string name() { return player_name; }
    bool field_has_ink()
    {
        for (int y = 400; y < 430; y++)
            for (int x = 140; x < 400; x++)
                if (pixel(x, y) == 0)
                    return true;
        return false;
    }
};

TEST_F(NameEntry, TypingAndBackspace)
{
    keys("abc");
    type(SDLK_BACKSPACE);
    type(SDLK_RETURN);
    enter_name();
    EXPECT_EQ(name(), "ab");
    EXPECT_EQ(nplayer, 2);
    EXPECT_EQ(APPMODE, MODE_GAME);
    EXPECT_EQ(quit, 1);
    EXPECT_TRUE(field_has_ink());
}

TEST_F(NameEntry, BackspaceOnEmptyNameStaysEmpty)
{
    type(SDLK_BACKSPACE);
    type(SDLK_BACKSPACE);
    type(SDLK_RETURN);
    enter_name();
    EXPECT_EQ(name(), "");
    EXPECT_EQ(nplayer, 0);
}

TEST_F(NameEntry, TwelveLettersKeepElevenWithTheLastReplaced)
{
    keys("abcdefghijkl");
    type(SDLK_RETURN);
    enter_name();
    EXPECT_EQ(name(), "abcdefghijl");
    EXPECT_EQ(nplayer, 10);
}

TEST_F(NameEntry, BackspaceOnElevenLettersRemovesTwo)
{
    keys("abcdefghijk");
    type(SDLK_BACKSPACE);
    type(SDLK_RETURN);
    enter_name();
    EXPECT_EQ(name(), "abcdefghi");
    EXPECT_EQ(nplayer, 9);
}

TEST_F(NameEntry, OtherKeysChangeNothingAndEscapeStaysHere)
{
    keys("ab");
    type(SDLK_1);
    type(SDLK_SPACE);
    type(SDLK_ESCAPE);
    type(SDLK_RETURN);
    Uint64 before = delayed_ms;
    enter_name();
    EXPECT_EQ(name(), "ab");
    EXPECT_EQ(APPMODE, MODE_GAME);
    // Entry pause, then each of the five handled keys pauses 100 ms.
    EXPECT_EQ(delayed_ms - before, 100u + 5 * 100u);
}

TEST_F(NameEntry, UppercaseSymbolsAreStoredAsTheyCome)
{
    type('Q');
    type(SDLK_RETURN);
    enter_name();
    EXPECT_EQ(name(), "Q");
}

TEST_F(NameEntry, SoundsOnlyForEffects)
{
    keys("ab");
    type(SDLK_RETURN);
    enter_name();
    EXPECT_EQ(sounds_loaded(),
              (std::vector<std::string>{"sfx/name_input.wav", "sfx/name_input.wav", "sfx/start_button.wav"}));

    music = 1;
    sound_log_reset();
    APPMODE = MODE_NAME;
    LAPPMODE = 0;
    nplayer = 0;
    keys("ab");
    type(SDLK_RETURN);
    enter_name();
    EXPECT_EQ(sound_loads(), 0);
}

TEST_F(NameEntry, HeldLetterRepeatsUntilReleased)
{
    key_down(SDLK_x);
    idle(3);  // no new event: the held key is handled again each pass
    key_up(SDLK_x);
    idle(3);
    type(SDLK_RETURN);
    enter_name();
    EXPECT_EQ(name(), "xxxx");
}

TEST_F(NameEntry, EntryClearsTheNameAndDrawsThePrompt)
{
    memset(player_name, 'z', 20);
    language = 4;
    Uint32 prompt_ink = 0;
    on_flip = [&] {
        for (int x = 270; x < 400 && !prompt_ink; x++)
            for (int y = 360; y < 380; y++)
                if (pixel(x, y) == 0)
                    prompt_ink = 1;
    };
    type(SDLK_RETURN);
    enter_name();
    EXPECT_EQ(prompt_ink, 1u);
    for (int i = 0; i < 10; i++)
        EXPECT_EQ(player_name[i], 0) << i;
    EXPECT_EQ(player_name[10], '\n');
    EXPECT_EQ(player_name[11], 'z');
    // The whole picture shows, not the fade's last, slightly dark frame.
    EXPECT_EQ(pixel(600, 420), colour_of("gfx/name.png"));
    EXPECT_EQ(pixel(5, 5), colour_of("gfx/name.png"));
}

TEST_F(NameEntry, CloseRequestEndsTheProgram)
{
    keys("a");
    close_window();
    enter_name();
    EXPECT_EQ(APPMODE, MODE_QUIT);
    EXPECT_EQ(quitapp, 1);
    EXPECT_EQ(name(), "a");
}

TEST_F(NameEntry, OtherModesReturnAtOnce)
{
    APPMODE = MODE_MENU;
    quit = 1;
    keys("a");
    enter_name();
    EXPECT_EQ(quit, 0);
    EXPECT_EQ(script_left(), 2u);
}
