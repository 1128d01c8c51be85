// The menu, options, information, best-players and name screens, driven
// from the intro on as a player would.
#include "tests/harness.h"

using namespace harness;

class Screens : public GameTest {};

// Releases at the entries' edges and just outside: the sound, the next
// screen (quitting: the epilogue), or nothing at all.
TEST_F(Screens, MenuEntriesLeadToTheirScreens)
{
    const std::string start = "sound sfx/start_button.wav loops 1", click = "sound sfx/button.wav loops 1";
    struct Row { int x, y; std::string sound, next; } rows[] = {
        {161, 121, start, "load gfx/name.png"},     {481, 171, start, "load gfx/name.png"},
        {161, 184, click, "load gfx/option.png"},   {481, 234, click, "load gfx/option.png"},
        {161, 249, click, "load gfx/thebest.png"},  {300, 299, click, "load gfx/thebest.png"},
        {161, 307, click, "load gfx/info.png"},     {481, 357, click, "load gfx/info.png"},
        {161, 367, click, "delay 200"},             {481, 417, click, "delay 200"},
        {300, 120, "", ""}, {300, 172, "", ""}, {160, 183, "", ""}, {482, 300, "", ""}, {300, 418, "", ""},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::to_string(row.x) + "," + std::to_string(row.y));
        reset_state();
        choose_language(2);
        then([] { record.clear(); });
        motion(row.x, row.y);
        release(row.x, row.y);
        close_window();
        run_game();
        if (row.sound.empty()) {  // only the close request's pass
            EXPECT_EQ(record, std::vector<std::string>({click, "delay 200", "delay 200", "delay 200"}));
            continue;
        }
        ASSERT_GE(record.size(), 3u);
        EXPECT_EQ(record[1], row.sound) << record_text();
        EXPECT_NE(std::find(record.begin() + 2, record.end(), row.next), record.end()) << record_text();
    }
}

TEST_F(Screens, MenuLightsTheEntryUnderTheMouseAndPlaysItsTuneWithMusic)
{
    write_file("config", "0 1\n");
    choose_language(1);
    motion(320, 146);
    motion(320, 392);
    then([] {
        EXPECT_EQ(pixel(161, 367), colour_of("gfx/smenu.png", 161, 367));
        EXPECT_EQ(pixel(480, 416), colour_of("gfx/smenu.png", 480, 416));
        EXPECT_EQ(pixel(161, 121), colour_of("gfx/menu.png", 161, 121));
        EXPECT_EQ(pixel(160, 367), colour_of("gfx/menu.png", 160, 367));
    });
    motion(10, 10);
    then([] { EXPECT_EQ(pixel(161, 367), colour_of("gfx/menu.png", 161, 367)); });
    close_window();
    run_game();
    expect_in_order({"fade out gfx/slanguage.png", "sound sfx/msx_menu.ogg loops -1", "load gfx/menu.png",
                     "fade in gfx/menu.png", "show gfx/menu.png", "load gfx/smenu.png", "delay 100",
                     "blit gfx/smenu.png 161,121,320,50 at 161,121", "blit gfx/smenu.png 161,367,320,50 at 161,367",
                     "blit gfx/menu.png 161,121,320,50 at 161,121", "blit gfx/menu.png 161,367,320,50 at 161,367"});
    EXPECT_EQ(count_of("sound sfx/button.wav"), 1);  // the intro's click only: music, no effects
}

// Options: each click from each sound setting, what is lit, what is heard
// and what the settings file keeps.
TEST_F(Screens, OptionsChangeSoundAndDisplay)
{
    // The music and effects pair lit or not after the click, then the
    // full-screen and window pair.
    auto area = [](bool lit, int x, int y) {
        std::string at = std::to_string(x) + "," + std::to_string(y);
        return std::string("blit gfx/") + (lit ? "soption" : "option") + ".png " + at + ",240,35 at " + at;
    };
    struct Row { const char *config; int x, y; const char *saved; std::vector<std::string> after_click; int clicks; };
    const Row rows[] = {  // clicks: effect clicks heard in the options screen
        {"0 0\n", 0, 180, "0 1\n", {area(false, 400, 180), area(true, 0, 180)}, 1},
        {"0 1\n", 240, 215, "0 -1\n", {area(false, 400, 180), area(false, 0, 180)}, 0},
        {"0 -1\n", 0, 215, "0 1\n", {area(false, 400, 180), area(true, 0, 180)}, 0},
        {"0 0\n", 400, 180, "0 -1\n", {area(false, 400, 180), area(false, 0, 180)}, 1},
        {"0 1\n", 640, 215, "0 0\n", {area(true, 400, 180), area(false, 0, 180)}, 0},
        {"0 0\n", 0, 335, "1 0\n", {area(false, 400, 335), area(true, 0, 335)}, 1},
        {"1 0\n", 640, 370, "0 0\n", {area(true, 400, 335), area(false, 0, 335)}, 1},
        {"0 0\n", 241, 216, "0 0\n", {}, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::to_string(row.x) + "," + std::to_string(row.y) + " from " + row.config);
        reset_state();
        write_file("config", row.config);
        choose_language(2);
        menu_entry(2);
        then([] { record.clear(); });
        click(row.x, row.y);
        click(240, 430);  // "Quit", back to the menu
        menu_entry(5);
        run_game();
        EXPECT_EQ(read_file("config"), row.saved);
        std::vector<std::string> want = row.after_click;
        want.push_back("delay 200");
        expect_in_order(want);
        EXPECT_EQ(count_of("sound sfx/button.wav"), row.clicks + (row.saved[2] == '0' ? 2 : 0)) << record_text();
        // The display follows the setting on leaving the screen only.
        EXPECT_EQ(count_of("toggle"), row.config[0] != row.saved[0] ? 1 : 0);
    }
}

TEST_F(Screens, OptionsShowTheSettingsOnEntry)
{
    struct Row { const char *config; std::vector<std::string> lit; } rows[] = {
        {"0 1\n", {"blit gfx/soption.png 0,180,240,35 at 0,180", "sound sfx/msx_menu.ogg loops -1",
                   "blit gfx/soption.png 400,335,240,35 at 400,335"}},
        {"0 0\n", {"blit gfx/soption.png 400,180,240,35 at 400,180", "sound sfx/button.wav loops 1",
                   "blit gfx/soption.png 400,335,240,35 at 400,335"}},
        {"1 -1\n", {"sound sfx/button.wav loops 1", "blit gfx/soption.png 0,335,240,35 at 0,335"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.config);
        reset_state();
        write_file("config", row.config);
        choose_language(3);
        then([] { record.clear(); });
        menu_entry(2);
        close_window();
        run_game();
        std::vector<std::string> want = {"fade out gfx/swe/menu.png", "load gfx/option.png", "fade in gfx/option.png",
                                         "show gfx/option.png", "load gfx/soption.png", "delay 100",
                                         "text 'Quit' at 240,430 f20 ffffff"};
        want.insert(want.end(), row.lit.begin(), row.lit.end());
        expect_in_order(want);
        EXPECT_EQ(count_of("blit gfx/soption.png"), (int)row.lit.size() - 1);
    }
}

TEST_F(Screens, InformationAndBestPlayersWaitForAClick)
{
    write_file("highscores", "Ann\n12\nBo\n3\nCy\n0\nDee\n7\nEve\n13\n");
    choose_language(2);
    menu_entry(4);
    idle(5);
    release(5, 5);
    menu_entry(3);
    idle(5);
    release(5, 5);
    menu_entry(5);
    capture_stdout();
    run_game();
    std::string out = captured_stdout();
    expect_in_order({"fade out gfx/eng/menu.png", "load gfx/info.png", "fade in gfx/info.png", "show gfx/info.png",
                     "delay 100", "sound sfx/button.wav loops 1", "delay 200", "fade out gfx/info.png",
                     "load gfx/eng/menu.png", "sound sfx/button.wav loops 1", "fade out gfx/eng/menu.png",
                     "load gfx/thebest.png", "fade in gfx/thebest.png", "show gfx/thebest.png",
                     "text 'Ann' at 110,380 f20 000000", "text '10000000' at 480,380 f20 000000",
                     "text 'Bo' at 110,329 f20 000000", "text '500' at 480,329 f20 000000",
                     "text 'Cy' at 110,278 f20 000000", "text '0' at 480,278 f20 000000",
                     "text 'Dee' at 110,227 f20 000000", "text '12000' at 480,227 f20 000000",
                     "text 'Eve' at 110,176 f20 000000", "text '?' at 480,176 f20 000000",
                     "sound sfx/aplause.wav loops 1", "delay 100", "sound sfx/button.wav loops 1", "delay 200",
                     "fade out gfx/thebest.png"});
    // The bytes around each name's end, the terminator included.
    EXPECT_NE(out.find(std::string("char-2 n char-1 \n char \0\n", 25)), std::string::npos) << out;
    EXPECT_NE(out.find(std::string("char-2 o char-1 \n char \0\n", 25)), std::string::npos) << out;
}

// Typing the name: letters only, Backspace, the tenth-letter rule, and a
// key held down typing again.
TEST_F(Screens, NameEntryTakesLetters)
{
    struct Row { std::function<void()> keys; const char *name; int letter_sounds; } rows[] = {
        {[] { type_name("Ann"); }, "Ann", 3},
        {[] { type('A'); type('1'); type(' '); type('b'); type(SDLK_RETURN); }, "Ab", 2},
        {[] { type('x'); type(SDLK_BACKSPACE); type(SDLK_BACKSPACE); type('Z'); type(SDLK_RETURN); }, "Z", 2},
        {[] { type_name("abcdefghijKLM"); }, "abcdefghijM", 13},
        {[] { key_down('q'); idle(2); key_up('q'); type(SDLK_RETURN); }, "qqq", 3},
    };
    for (const Row &row : rows) {
        reset_state();
        choose_language(1);
        menu_entry(1);
        row.keys();
        close_window();
        run_game();
        SCOPED_TRACE(row.name);
        EXPECT_EQ(count_of("sound sfx/name_input.wav"), row.letter_sounds);
        expect_in_order({"fade out gfx/menu.png", "load gfx/name.png", "show gfx/name.png", "fade in gfx/name.png",
                         "show gfx/name.png", "blit gfx/name.png 120,402,520,30 at 120,402",
                         "text 'Prosze wpisac swoje imie' at 270,360 f20 000000", "delay 100",
                         std::string("text '") + row.name + "' at 140,400 f20 000000",
                         "sound sfx/start_button.wav loops 1", "load gfx/game.png",
                         std::string("text '") + row.name + "' at 40,20 f20 000000"});
    }
}
