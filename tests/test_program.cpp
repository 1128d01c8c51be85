// The whole program from start to shut-down: the intro, the mode loop's
// epilogues, the failures at start-up, and what reaches the two files.
#include "tests/harness.h"

using namespace harness;

static const char default_table[] = "NOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\n";

class Program : public GameTest {};

TEST_F(Program, IntroShowsTwoPicturesThenTheChooserAndTakesTheFlag)
{
    choose_language(3);
    then([] {
        char *title = NULL;
        SDL_WM_GetCaption(&title, NULL);
        EXPECT_STREQ(title, "Zenobar 1.0");
        EXPECT_EQ(screen->w * 1000 + screen->h + screen->format->BitsPerPixel, 640504);
    });
    menu_entry(5);
    capture_stdout();
    EXPECT_EQ(run_game(), 0);
    EXPECT_EQ(captured_stdout().find("error!:"), std::string::npos);
    EXPECT_EQ(language, 4);
    EXPECT_EQ(polls_after_script(), 0);  // the menu ended it, not the harness
    expect_in_order({"load gfx/logo.png", "fade in gfx/logo.png", "show gfx/logo.png", "delay 3000",
                     "fade out gfx/logo.png", "load gfx/title.png", "fade in gfx/title.png",
                     "show gfx/title.png", "delay 3000", "fade out gfx/title.png", "load gfx/slanguage.png",
                     "load gfx/sslanguage.png", "fade in gfx/slanguage.png", "show gfx/slanguage.png",
                     // the Swedish flag lights up, then the click of leaving
                     "blit gfx/sslanguage.png 360,290,220,160 at 360,290", "sound sfx/button.wav loops 1",
                     "fade out gfx/slanguage.png", "load gfx/swe/menu.png", "fade in gfx/swe/menu.png",
                     "show gfx/swe/menu.png", "load gfx/swe/smenu.png", "delay 100"});
    EXPECT_EQ(count_of("delay 3000"), 2);
    expect_fades_of_two_seconds();
}

// Each flag, its edges inclusive, and the places between flags.
TEST_F(Program, FlagsChooseTheirLanguageAtTheirEdges)
{
    struct Row { int x, y, language; } rows[] = {{220, 130, 1}, {440, 290, 1}, {80, 291, 2}, {300, 450, 2},
                                                 {360, 291, 4}, {580, 450, 4}, {219, 200, 0}, {330, 129, 0},
                                                 {581, 400, 0}, {320, 451, 0}};
    for (const Row &row : rows) {
        SCOPED_TRACE(std::to_string(row.x) + "," + std::to_string(row.y));
        reset_state();
        motion(row.x, row.y);
        release(row.x, row.y);
        close_window();
        run_game();
        // No flag leaves the language as it was, and the chooser open.
        EXPECT_EQ(language, row.language == 0 ? 1 : row.language);
        EXPECT_EQ(count_of("fade out gfx/slanguage.png"), row.language == 0 ? 0 : 1);
    }
}

TEST_F(Program, EscapeEndsTheIntroAndTheMenuButNotTheProgram)
{
    key_down(SDLK_ESCAPE);  // leaves the chooser in Polish
    key_up(SDLK_ESCAPE);
    motion(320, 146);
    key_down(SDLK_ESCAPE);  // the menu ends; the mode loop calls it again
    key_up(SDLK_ESCAPE);
    menu_entry(5);
    EXPECT_EQ(run_game(), 0);
    EXPECT_EQ(language, 1);
    EXPECT_EQ(polls_after_script(), 0);
    // Two passes of the loop: each runs the epilogues once.
    EXPECT_EQ(count_of("delay 200"), 6);
    EXPECT_EQ(count_of("load gfx/menu.png"), 1);
}

// A close request anywhere ends the program after one pass of the loop,
// and both files are written.
TEST_F(Program, CloseRequestEndsFromEveryScreen)
{
    const std::string click = "sound sfx/button.wav loops 1", wait = "delay 200",
                      won = "text 'You just won 0' at 90,220 f20 000000",
                      prompt = "text 'Press Left mouse button to continue' at 90,255 f14 0000c8";
    struct Row {
        const char *name;
        std::function<void()> script;
        std::vector<std::string> tail;
        long polls_after;
    } rows[] = {
        {"intro", [] { close_window(); }, {"show gfx/slanguage.png", click, click, wait, wait, wait}, 0},
        {"menu", [] { choose_language(2); close_window(); }, {"delay 100", click, wait, wait, wait}, 0},
        {"name", [] { choose_language(2); menu_entry(1); close_window(); }, {"delay 100", click, wait, wait, wait}, 0},
        {"options", [] { choose_language(2); menu_entry(2); close_window(); },
         {"blit gfx/soption.png 400,335,240,35 at 400,335", click, wait, wait}, 0},
        {"best", [] { choose_language(2); menu_entry(3); close_window(); },
         {"sound sfx/aplause.wav loops 1", "delay 100", click, wait}, 0},
        {"info", [] { choose_language(2); menu_entry(4); close_window(); }, {"delay 100", click, wait, wait, wait}, 0},
        // A close request while an answer waits confirms nothing.
        {"confirmation",
         [] {
             choose_language(2), menu_entry(1), type_name("Ann");
             then([] { click_slot(right_slot()); });
             close_window();
         },
         {won, prompt},
         1},
        // The result's requester takes the harness's own close request.
        {"game", [] { choose_language(2); menu_entry(1); type_name("Ann"); idle(1); close_window(); },
         {won, prompt},
         1},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        reset_state();
        system("rm -f config highscores");
        row.script();
        EXPECT_EQ(run_game(), 0);
        EXPECT_EQ(APPMODE, MODE_QUIT);
        EXPECT_EQ(polls_after_script(), row.polls_after);
        EXPECT_EQ(read_file("config"), "0 0\n");
        EXPECT_TRUE(file_exists("highscores"));
        expect_tail(row.tail);
    }
}

TEST_F(Program, SettingsFileDecidesFullScreenAndSoundAtStart)
{
    struct Row { const char *config, *saved; int toggles, tunes; } rows[] = {
        {"1 1\n", "1 1\n", 1, 1}, {"0 -1\n", "0 -1\n", 0, 0}, {"2 0\n", "2 0\n", 0, 0},
        {"1\n", "1 0\n", 1, 0},   {"x 1\n", "0 0\n", 0, 0},   {"", "0 0\n", 0, 0}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.config);
        reset_state();
        write_file("config", row.config);
        choose_language(1);
        menu_entry(5);
        EXPECT_EQ(run_game(), 0);
        EXPECT_EQ(read_file("config"), row.saved);
        EXPECT_EQ(count_of("toggle"), row.toggles);
        EXPECT_EQ(count_of("sound sfx/msx_menu.ogg loops -1"), row.tunes);
    }
}

// What fails at start, what the program says, its status and the files.
TEST_F(Program, StartUpFailures)
{
    struct Row {
        const char *name;
        std::function<void()> fail;
        const char *says;
        int status;
        bool files, plays;
    } rows[] = {
        {"no SDL", [] { fail_init = SDL_INIT_VIDEO; }, "Could not initialize SDL: ", 255, false, false},
        {"no audio at SDL's start", [] { fail_init = SDL_INIT_AUDIO; }, "Unable to initialize audio\n", 0, true,
         true},
        {"no screen", [] { fail_video_mode = true; }, "Cannot open screen!\n", 1, true, false},
        {"no font engine", [] { fail_ttf_init = true; }, "Cannot initialize TTF Engine!\n", 1, true, false},
        {"no font", [] { unlink("Vera.ttf"); }, "TTF_OpenFont: ", 0, true, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        reset_state();
        system(("rm -f config highscores Vera.ttf && ln -s " + std::string(data_dir) + "/Vera.ttf .").c_str());
        row.fail();
        choose_language(2);
        menu_entry(5);
        capture_stdout();
        EXPECT_EQ(run_game() & 0xff, row.status);
        std::string out = captured_stdout();
        EXPECT_NE(out.find(row.says), std::string::npos) << out;
        EXPECT_EQ(file_exists("config"), row.files);
        EXPECT_EQ(file_exists("highscores"), row.files);
        EXPECT_EQ(polls_after_script() == 0 && language == 2, row.plays);
        EXPECT_EQ(read_file("highscores"), row.files ? default_table : "");
    }
}

TEST_F(Program, NoMemoryForTheNameEndsAtOnce)
{
    EXPECT_EXIT((dup2(2, 1), fail_calloc = true, run_game()), ::testing::ExitedWithCode(1),
                "^Cannot allocate memory for player!\n$");
    EXPECT_FALSE(file_exists("config"));
}

// Every picture missing: each screen says so and goes on without it.
TEST_F(Program, MissingPicturesAreReportedAndPlayGoesOn)
{
    const char *pictures[] = {"gfx/logo.png", "gfx/title.png", "gfx/slanguage.png", "gfx/menu.png",
                              "gfx/smenu.png", "gfx/option.png", "gfx/soption.png", "gfx/thebest.png",
                              "gfx/info.png", "gfx/name.png", "gfx/game.png"};
    fail_pictures.assign(std::begin(pictures), std::end(pictures));
    fail_pictures.push_back("gfx/sslanguage.png");
    // No chooser: the intro ends in Polish.
    for (int entry : {2, 3, 4}) {
        menu_entry(entry);
        click(320, 450);
    }
    menu_entry(1);
    type_name("Al");
    answer_right();
    close_window();
    capture_stdout();
    EXPECT_EQ(run_game(), 0);
    std::string out = captured_stdout();
    for (const char *picture : pictures)
        EXPECT_NE(out.find(std::string("error!:  harness withholds ") + picture + "\n"), std::string::npos) << picture;
    EXPECT_EQ(position, 1);
}
