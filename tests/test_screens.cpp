#include <algorithm>

#include "screens/screens.h"
#include "shell/shell.h"
#include "tests/harness.h"

using namespace harness;

class Screen : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        open_sdl();
    }
    void TearDown() override
    {
        close_sdl();
        GameTest::TearDown();
    }
    Uint32 centre(const Button &b) { return pixel(b.x + b.w / 2, b.y + b.h / 2); }
    int sound_count(const std::string &file)
    {
        std::vector<std::string> s = sounds_loaded();
        return (int)std::count(s.begin(), s.end(), file);
    }
};

// ------------------------------------------------------------ main menu

class Menu : public Screen {};

TEST_F(Menu, HighlightFollowsTheMouse)
{
    const Uint32 lit = colour_of("gfx/smenu.png"), plain = colour_of("gfx/menu.png");
    Uint32 first_entry_lit = 0;
    motion(200, 130);  // entry 1
    idle(3);
    motion(200, 190);  // entry 2
    idle(3);
    release(200, 190);
    on_flip = [&] {
        if (script_left() == 3 && image != NULL)
            first_entry_lit = centre(mbutton[0]);
    };
    APPMODE = MODE_MENU;
    main_menu();
    EXPECT_EQ(first_entry_lit, lit);
    EXPECT_EQ(APPMODE, MODE_OPTIONS);
    EXPECT_EQ(centre(mbutton[0]), plain);
    EXPECT_EQ(centre(mbutton[1]), lit);
    EXPECT_EQ(centre(mbutton[2]), plain);
    EXPECT_EQ(pixel(10, 10), plain);
}

TEST_F(Menu, MovingWithinOneEntryBlitsNothing)
{
    APPMODE = MODE_MENU;
    LAPPMODE = MODE_MENU;  // no screen change: pictures set by hand
    image = IMG_Load("gfx/menu.png");
    simage = IMG_Load("gfx/smenu.png");
    SDL_BlitSurface(image, NULL, screen, NULL);
    BSET = 0;
    motion(200, 130);
    motion(300, 150);
    key_down(SDLK_ESCAPE);
    bool marked = false;
    on_flip = [&] {
        if (!marked && BSET == 1) {
            marked = true;
            SDL_Rect dot = {170, 125, 4, 4};
            SDL_FillRect(screen, &dot, SDL_MapRGB(screen->format, 1, 2, 3));
        }
    };
    main_menu();
    EXPECT_TRUE(marked);
    EXPECT_EQ(pixel(171, 126), 0x010203u);  // the second motion did not blit over it
    EXPECT_EQ(BSET, 1);
    EXPECT_EQ(LBSET, 1);
}

TEST_F(Menu, EscapeEndsTheLoopAndKeepsTheMode)
{
    APPMODE = MODE_MENU;
    key_down(SDLK_a);  // not Escape: nothing
    idle(5);
    key_down(SDLK_ESCAPE);
    main_menu();
    EXPECT_EQ(quit, 1);
    EXPECT_EQ(APPMODE, MODE_MENU);
    EXPECT_EQ(script_left(), 0u);
}

TEST_F(Menu, EntriesLeadToTheirModesWithTheirSounds)
{
    struct {
        int y, mode, quitapp;
        const char *sound;
    } entries[] = {
        {130, MODE_NAME, 0, "sfx/start_button.wav"}, {190, MODE_OPTIONS, 0, "sfx/button.wav"},
        {260, MODE_SCORES, 0, "sfx/button.wav"},     {320, MODE_INFO, 0, "sfx/button.wav"},
        {380, MODE_QUIT, 1, "sfx/button.wav"},
    };
    for (int m : {0, 1, -1}) {
        for (const auto &e : entries) {
            SCOPED_TRACE(testing::Message() << "music " << m << " entry at y " << e.y);
            APPMODE = MODE_MENU;
            LAPPMODE = 0;
            quitapp = 0;
            music = m;
            nplayer = 7;
            sound_log_reset();
            motion(300, e.y);
            release(300, e.y, SDL_BUTTON_WHEELDOWN);
            main_menu();
            EXPECT_EQ(APPMODE, e.mode);
            EXPECT_EQ(quitapp, e.quitapp);
            EXPECT_EQ(nplayer, e.mode == MODE_INFO || e.mode == MODE_QUIT ? 7 : 0);
            std::vector<std::string> expected;
            if (m == 1)
                expected.push_back("sfx/msx_menu.ogg");
            if (m == 0)
                expected.push_back(e.sound);
            EXPECT_EQ(sounds_loaded(), expected);
        }
    }
}

TEST_F(Menu, ReleaseWithoutHighlightDoesNothing)
{
    APPMODE = MODE_MENU;
    motion(20, 20);
    release(20, 20);
    idle(3);
    close_window();
    main_menu();
    EXPECT_EQ(APPMODE, MODE_QUIT);
    EXPECT_EQ(quitapp, 1);
    EXPECT_EQ(sounds_loaded().size(), 0u);  // the close plays nothing
}

TEST_F(Menu, PicturesFollowTheLanguage)
{
    for (int l : {1, 2, 4}) {
        language = l;
        APPMODE = MODE_MENU;
        LAPPMODE = 0;
        motion(300, 320);
        key_down(SDLK_ESCAPE);
        main_menu();
        const char *normal = l == 1 ? "gfx/menu.png" : l == 2 ? "gfx/eng/menu.png" : "gfx/swe/menu.png";
        const char *lit = l == 1 ? "gfx/smenu.png" : l == 2 ? "gfx/eng/smenu.png" : "gfx/swe/smenu.png";
        EXPECT_EQ(pixel(5, 5), colour_of(normal));
        EXPECT_EQ(centre(mbutton[3]), colour_of(lit));
    }
}

// ------------------------------------------------------------ options

class Options : public Screen {
protected:
    void run() { options(); }
    void click_area(int i) { click(opt[i].x + 5, opt[i].y + 5); }
    Uint32 plain = colour_of("gfx/option.png"), lit = colour_of("gfx/soption.png");
};

TEST_F(Options, MusicAreaGoesZeroOneMinusOne)
{
    APPMODE = MODE_OPTIONS;
    click_area(0);
    click_area(0);
    click_area(4);
    run();
    EXPECT_EQ(music, -1);
    EXPECT_EQ(APPMODE, MODE_MENU);
    EXPECT_EQ(centre(opt[0]), plain);
    EXPECT_EQ(centre(opt[1]), plain);
    EXPECT_EQ(centre(opt[3]), lit);  // window
    // The entry click, and the first change's click (music was 0).
    EXPECT_EQ(sound_count("sfx/button.wav"), 2);
}

TEST_F(Options, EffectsAreaTogglesAndMusicFromMinusOneIsOne)
{
    APPMODE = MODE_OPTIONS;
    click_area(1);  // 0 -> -1
    click_area(0);  // -1 -> 1
    click_area(1);  // 1 -> 0
    click_area(4);
    run();
    EXPECT_EQ(music, 0);
    EXPECT_EQ(centre(opt[1]), lit);
    EXPECT_EQ(centre(opt[0]), plain);
}

TEST_F(Options, EntryHighlightsAndSoundsBySetting)
{
    for (int m : {1, 0, -1}) {
        SCOPED_TRACE(m);
        music = m;
        fullscreen = 1;
        sfullscreen = 1;
        APPMODE = MODE_OPTIONS;
        LAPPMODE = 0;
        sound_log_reset();
        click_area(4);
        run();
        EXPECT_EQ(centre(opt[0]), m == 1 ? lit : plain);
        EXPECT_EQ(centre(opt[1]), m == 0 ? lit : plain);
        EXPECT_EQ(centre(opt[2]), lit);
        EXPECT_EQ(centre(opt[3]), plain);
        EXPECT_EQ(sounds_loaded(), std::vector<std::string>{m == 1 ? "sfx/msx_menu.ogg" : "sfx/button.wav"});
        // "Quit" in white at the corner of its area, in every language.
        bool white = false;
        for (int x = 240; x < 290; x++)
            for (int y = 430; y < 455; y++)
                white |= pixel(x, y) == 0xffffffu;
        EXPECT_TRUE(white);
    }
}

TEST_F(Options, DisplaySwitchesOnlyWhenTheScreenIsLeft)
{
    APPMODE = MODE_OPTIONS;
    click_area(2);  // full screen
    click_area(2);  // again: nothing but the click
    int toggles_inside = -1;
    click_area(4);
    on_flip = [&] {
        if (APPMODE == MODE_OPTIONS)
            toggles_inside = fullscreen_toggles;
    };
    run();
    EXPECT_EQ(toggles_inside, 0);
    EXPECT_EQ(fullscreen, 1);
    EXPECT_EQ(sfullscreen, 1);
    EXPECT_EQ(fullscreen_toggles, 1);
    EXPECT_EQ(centre(opt[2]), lit);
    EXPECT_EQ(centre(opt[3]), plain);

    // Back to a window, leaving by the close button: applied all the same.
    APPMODE = MODE_OPTIONS;
    LAPPMODE = 0;
    click_area(3);
    close_window();
    run();
    EXPECT_EQ(fullscreen, 0);
    EXPECT_EQ(sfullscreen, 0);
    EXPECT_EQ(fullscreen_toggles, 2);
    EXPECT_EQ(quitapp, 1);
    EXPECT_EQ(APPMODE, MODE_QUIT);
}

TEST_F(Options, EpilogueOnEveryCall)
{
    APPMODE = MODE_MENU;
    fullscreen = 1;
    Uint64 before = delayed_ms;
    options();
    EXPECT_EQ(delayed_ms - before, 200u);
    EXPECT_EQ(fullscreen_toggles, 1);
    EXPECT_EQ(sfullscreen, 1);
    options();
    EXPECT_EQ(fullscreen_toggles, 1);
}

TEST_F(Options, ReleaseOutsideTheAreasDoesNothing)
{
    APPMODE = MODE_OPTIONS;
    click(320, 100);
    click(245, 200);
    click_area(4);
    run();
    EXPECT_EQ(music, 0);
    EXPECT_EQ(fullscreen, 0);
    EXPECT_EQ(sound_count("sfx/button.wav"), 1);  // the entry's
}

// ------------------------------------------------------------ intro

class Intro : public Screen {};

TEST_F(Intro, FlagsShareRowTwoNinetyAndTheFirstWins)
{
    struct {
        int x, y, language;
    } cases[] = {{250, 290, 1}, {400, 290, 1}, {150, 291, 2}, {500, 291, 4}, {300, 130, 1}, {360, 450, 4}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        language = 0;
        quit = 0;
        SDL_FreeSurface(image);
        SDL_FreeSurface(simage);
        image = simage = NULL;
        motion(c.x, c.y);
        release(c.x, c.y);
        intro_part(screen);
        EXPECT_EQ(language, c.language);
        EXPECT_EQ(script_left(), 0u);
    }
}

TEST_F(Intro, FlagHighlightAndClickWhateverMusicHolds)
{
    music = -1;
    motion(150, 350);
    idle(2);
    Uint32 flag2 = 0, flag1 = 0;
    on_flip = [&] {
        if (script_left() == 1) {
            flag2 = centre(lang[1]);
            flag1 = centre(lang[0]);
        }
    };
    release(150, 350);
    intro_part(screen);
    EXPECT_EQ(flag2, colour_of("gfx/sslanguage.png"));
    EXPECT_EQ(flag1, colour_of("gfx/slanguage.png"));
    EXPECT_EQ(language, 2);
    EXPECT_EQ(sounds_loaded(), std::vector<std::string>{"sfx/button.wav"});
    EXPECT_EQ(delayed_ms, 6000u);
}

TEST_F(Intro, EscapeOrReleaseBeforeMotionKeepsPolish)
{
    release(150, 350);  // no flag under the mouse yet
    idle(3);
    key_down(SDLK_ESCAPE);
    intro_part(screen);
    EXPECT_EQ(language, 1);
    EXPECT_EQ(quitapp, 0);
    EXPECT_EQ(script_left(), 0u);
}

TEST_F(Intro, CloseSetsQuitMode)
{
    close_window();
    intro_part(screen);
    EXPECT_EQ(quitapp, 1);
    EXPECT_EQ(APPMODE, MODE_QUIT);
}

// ------------------------------------------------------------ information

class Info : public Screen {};

TEST_F(Info, AnyReleaseReturnsAndEscapeDoesNothing)
{
    APPMODE = MODE_INFO;
    key_down(SDLK_ESCAPE);
    idle(3);
    release(600, 10, SDL_BUTTON_WHEELUP);
    info_menu();
    EXPECT_EQ(APPMODE, MODE_MENU);
    EXPECT_EQ(pixel(320, 240), colour_of("gfx/info.png"));
    EXPECT_EQ(sounds_loaded(), std::vector<std::string>{"sfx/button.wav"});
}

TEST_F(Info, EpilogueClicksOnlyForEffects)
{
    for (int m : {0, 1, -1}) {
        music = m;
        sound_log_reset();
        APPMODE = MODE_GAME;
        Uint64 before = delayed_ms;
        info_menu();
        EXPECT_EQ(delayed_ms - before, 200u);
        EXPECT_EQ(sound_loads(), m == 0 ? 1 : 0);
    }
}
