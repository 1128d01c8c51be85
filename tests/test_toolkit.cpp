#include "tests/harness.h"
#include "shell/shell.h"

TEST(Pressed, EdgesAreInclusive)
{
    Button b;
    set_button(&b, 161, 121, 320, 50);
    EXPECT_TRUE(pressed(&b, 161, 121));
    EXPECT_TRUE(pressed(&b, 481, 171));
    EXPECT_TRUE(pressed(&b, 481, 121));
    EXPECT_FALSE(pressed(&b, 160, 121));
    EXPECT_FALSE(pressed(&b, 482, 121));
    EXPECT_FALSE(pressed(&b, 161, 172));
    set_button(&b, 10, 20, 0, 0);
    EXPECT_TRUE(pressed(&b, 10, 20));
    EXPECT_FALSE(pressed(&b, 11, 20));
}

TEST(SetButton, KeepsLowSixteenBits)
{
    Button b;
    set_button(&b, -5, -7, 65536 + 12, 70000);
    EXPECT_EQ(b.x, -5);
    EXPECT_EQ(b.y, -7);
    EXPECT_EQ(b.w, 12);
    EXPECT_EQ(b.h, 70000 - 65536);
    // A negative corner still hit-tests with signed sums.
    set_button(&b, -10, -10, 20, 20);
    EXPECT_TRUE(pressed(&b, -10, 0));
    EXPECT_TRUE(pressed(&b, 10, 10));
}

class Text : public GameTest {};

TEST_F(Text, EmptyStringDrawsNothingButFlips)
{
    harness::open_sdl();
    SDL_FillRect(screen, NULL, SDL_MapRGB(screen->format, 255, 255, 255));
    long before = harness::flips;
    DrawText(font1, "", 10, 10, 0, 0, 0);
    EXPECT_EQ(harness::flips, before + 1);
    for (int x = 0; x < 100; x++)
        ASSERT_EQ(harness::pixel(x, 20), 0xffffffu);
    harness::close_sdl();
}

TEST_F(Text, DrawsAtTopLeftCornerAndOverlays)
{
    harness::open_sdl();
    SDL_FillRect(screen, NULL, SDL_MapRGB(screen->format, 255, 255, 255));
    DrawText(font1, "W", 100, 100, 255, 0, 0);
    DrawText(font1, "-", 100, 100, 0, 0, 255);
    int red = 0, blue = 0, outside = 0;
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++) {
            Uint32 p = harness::pixel(x, y);
            if (p == 0xff0000u)
                red++;
            if (p == 0x0000ffu)
                blue++;
            if (p != 0xffffffu && (x < 100 || y < 100 || x > 140 || y > 130))
                outside++;
        }
    EXPECT_GT(red, 10);  // both texts show, the second over the first
    EXPECT_GT(blue, 3);
    EXPECT_EQ(outside, 0);
    harness::close_sdl();
}

TEST_F(Text, AbsentFontDrawsNothing)
{
    harness::open_sdl();
    SDL_FillRect(screen, NULL, SDL_MapRGB(screen->format, 255, 255, 255));
    long before = harness::flips;
    DrawText(NULL, "Zenobar", 10, 10, 0, 0, 0);
    EXPECT_EQ(harness::flips, before + 1);
    EXPECT_EQ(harness::pixel(15, 20), 0xffffffu);
    harness::close_sdl();
}

class Requester : public GameTest {};

TEST_F(Requester, ClosesOnAnyReleaseNotOnPress)
{
    harness::open_sdl();
    language = 2;
    harness::press(10, 10, SDL_BUTTON_RIGHT);
    harness::idle(5);
    harness::motion(20, 20);
    harness::release(10, 10, SDL_BUTTON_RIGHT);
    harness::click(1, 1);  // must be left for the caller
    requester(50, 200, "You just won 100");
    EXPECT_EQ(quit, 1);
    EXPECT_EQ(quitapp, 0);
    EXPECT_EQ(event.type, 0);
    EXPECT_EQ(harness::script_left(), 2u);
    // The box and the prompt at their places: message at (90, 220), prompt at (90, 255).
    EXPECT_EQ(harness::pixel(52, 202), harness::colour_of("gfx/information.png"));
    bool text = false, prompt = false;
    for (int x = 90; x < 200; x++)
        for (int y = 220; y < 240; y++)
            text |= harness::pixel(x, y) == 0;
    for (int x = 90; x < 200; x++)
        for (int y = 255; y < 270; y++)
            prompt |= harness::pixel(x, y) == 0x0000c8u;
    EXPECT_TRUE(text);
    EXPECT_TRUE(prompt);
    harness::close_sdl();
}

TEST_F(Requester, StoredCloseRequestEndsItAtOnce)
{
    harness::open_sdl();
    event.type = SDL_QUIT;
    harness::idle(3);  // no newer event: the stored one acts
    harness::click(5, 5);
    requester(20, 200, "Cannot open file: x");
    EXPECT_EQ(quit, 1);
    EXPECT_EQ(quitapp, 1);
    EXPECT_EQ(event.type, 0);
    EXPECT_EQ(harness::script_left(), 3u);
    harness::close_sdl();
}

TEST_F(Requester, MissingBoxStillWaitsForRelease)
{
    harness::open_sdl();
    unlink("gfx");
    mkdir("gfx", 0755);
    SDL_FillRect(screen, NULL, SDL_MapRGB(screen->format, 1, 2, 3));
    long before = harness::flips;
    harness::idle(10);
    harness::release(0, 0);
    requester(20, 200, "x");
    EXPECT_EQ(quit, 1);
    EXPECT_EQ(harness::flips, before);
    EXPECT_EQ(harness::pixel(100, 230), 0x010203u);
    harness::close_sdl();
}
