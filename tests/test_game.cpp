#include <string.h>

#include <set>

#include "quiz/quiz.h"
#include "scores/scores.h"
#include "shell/shell.h"
#include "tests/harness.h"

using namespace harness;

static std::vector<std::string> questions_asked()
{
    std::vector<std::string> asked;
    for (size_t i = 0; i + 5 < rendered.size(); i++)
        if (rendered[i].size() > 3 && rendered[i][0] == 'L' && rendered[i][2] == 'Q')
            asked.push_back(rendered[i].substr(0, 4));
    return asked;
}

static void answer_wrong()
{
    then([] {
        int s = (right_slot() + 1) % 4;
        click_slot(s);
        click_slot((s == 3 || (s + 1) % 4 == right_slot()) ? s : (s + 1) % 4);
    });
}

class Game : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        open_sdl();
        language = 2;
        strcpy(player_name, "ann");
        loadh();
        start();
    }
    void TearDown() override
    {
        close_sdl();
        GameTest::TearDown();
    }
    void start()
    {
        APPMODE = MODE_GAME;
        LAPPMODE = MODE_NAME;
    }
    Uint32 game_colour = colour_of("gfx/game.png");
    Uint32 marks_colour = colour_of("gfx/smenu.png");
};

TEST_F(Game, TwelveRightAnswersWinTheTopPrize)
{
    for (int q = 0; q < 12; q++)
        answer_right();
    click(5, 5);  // closes the result message
    game();
    EXPECT_EQ(position, 12);
    EXPECT_EQ(APPMODE, MODE_MENU);
    EXPECT_EQ(LAPPMODE, MODE_GAME);
    EXPECT_TRUE(was_rendered("You just won 10000000"));
    EXPECT_EQ(script_left(), 0u);
    EXPECT_STREQ(players[4], "ann");
    EXPECT_EQ(playersi[4], 12);
    EXPECT_EQ(easy, nullptr);
    EXPECT_EQ(med, nullptr);
    EXPECT_EQ(hard, nullptr);
    // Four questions from each pool, in order, none twice.
    std::vector<std::string> asked = questions_asked();
    ASSERT_EQ(asked.size(), 12u);
    for (int q = 0; q < 12; q++)
        EXPECT_EQ(asked[q][1], "123"[q / 4]) << q;
    EXPECT_EQ(std::set<std::string>(asked.begin(), asked.end()).size(), 12u);
}

TEST_F(Game, WrongAnswerOnQuestionSevenKeepsSixThousand)
{
    for (int q = 0; q < 6; q++)
        answer_right();
    answer_wrong();
    click(5, 5);
    game();
    EXPECT_EQ(position, 6);
    EXPECT_TRUE(was_rendered("You just won 6000"));
    EXPECT_EQ(playersi[4], 6);
    EXPECT_EQ(questions_asked().size(), 7u);
    // Effects: applause at the start and per right answer, the bad answer at the end.
    std::vector<std::string> s = sounds_loaded();
    EXPECT_EQ(std::count(s.begin(), s.end(), "sfx/aplause.wav"), 7);
    EXPECT_EQ(std::count(s.begin(), s.end(), "sfx/bad_answer.wav"), 1);
}

static Uint32 bar(int s)
{
    static const int x[4] = {97, 423, 97, 423}, y[4] = {397, 397, 459, 459};
    return pixel(x[s], y[s]);
}

TEST_F(Game, DisagreeingClicksKeepTheQuestionAndTheBarFollowsTheSecond)
{
    std::vector<Uint32> after_first, after_second;
    then([&] {
        int right = right_slot();
        int wrong = (right + 1) % 4;
        click_slot(right);  // right, then wrong: nothing
        click_slot(wrong);
        then([&, right, wrong] { after_first = {bar(wrong), bar(right)}; });
        click_slot(wrong);  // wrong, then right: nothing
        click_slot(right);
        then([&, right, wrong] { after_second = {bar(right), bar(wrong)}; });
    });
    close_window();
    game();
    EXPECT_EQ(questions_asked().size(), 1u);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(APPMODE, MODE_QUIT);
    EXPECT_EQ(quitapp, 1);
    EXPECT_TRUE(was_rendered("You just won 0"));
    ASSERT_EQ(after_first.size(), 2u);
    EXPECT_EQ(after_first[0], 0xff0000u);
    EXPECT_NE(after_first[1], 0xff0000u);
    ASSERT_EQ(after_second.size(), 2u);
    EXPECT_EQ(after_second[0], 0xff0000u);
    EXPECT_NE(after_second[1], 0xff0000u);
}

TEST_F(Game, RedBarMovesWithTheConfirmingClick)
{
    std::vector<Uint32> bars;
    then([&] {
        click(100, 380);  // A
        then([&] {
            bars = {pixel(100, 397), pixel(500, 397), pixel(100, 459), pixel(500, 459)};
        });
        click(400, 440);  // D confirms
    });
    then([&] { bars.push_back(pixel(100, 397)); bars.push_back(pixel(500, 459)); });
    close_window();
    game();
    ASSERT_EQ(bars.size(), 6u);
    EXPECT_EQ(bars[0], 0xff0000u);
    EXPECT_NE(bars[1], 0xff0000u);
    EXPECT_NE(bars[2], 0xff0000u);
    EXPECT_NE(bars[3], 0xff0000u);
}

TEST_F(Game, LadderMarkerClimbsTheRungs)
{
    std::vector<Uint32> at_first, at_last;
    then([&] { at_first = {pixel(410, 200), pixel(410, 24)}; });
    for (int q = 0; q < 11; q++)
        answer_right();
    then([&] { at_last = {pixel(410, 24), pixel(427, 41)}; });
    answer_right();
    click(5, 5);
    game();
    EXPECT_EQ(at_first[0], marks_colour);
    EXPECT_EQ(at_first[1], game_colour);
    EXPECT_EQ(at_last[0], marks_colour);
    EXPECT_EQ(at_last[1], marks_colour);  // 20 x 20 from (408, 22)
}

TEST_F(Game, SecondGameStartsFresh)
{
    then([] { click(480, 20); });  // 50:50
    answer_right();
    answer_wrong();
    click(5, 5);
    game();
    EXPECT_EQ(position, 1);
    rendered.clear();
    sound_log_reset();
    start();
    then([] {});
    answer_wrong();
    click(5, 5);
    game();
    EXPECT_EQ(position, 0);
    EXPECT_EQ(oneone, 0);
    EXPECT_EQ(questions_asked().size(), 1u);
    EXPECT_EQ(questions_asked()[0][1], '1');
    EXPECT_TRUE(was_rendered("You just won 0"));
    // The new 0 climbs past the older zeros, not past the 1.
    EXPECT_EQ(playersi[4], 1);
    EXPECT_EQ(playersi[3], 0);
    EXPECT_EQ(playersi[2], 0);
}

// ------------------------------------------------------------ lifelines

class Lifelines : public Game {
protected:
    bool ink(int x, int y, int w, int h, Uint32 colour = 0)
    {
        for (int px = x; px < x + w; px++)
            for (int py = y; py < y + h; py++)
                if (pixel(px, py) == colour)
                    return true;
        return false;
    }
    const int slot_x[4] = {100, 400, 100, 400}, slot_y[4] = {380, 380, 440, 440};
    const int text_x[4] = {85, 405, 85, 405}, text_y[4] = {365, 365, 430, 430};
    bool shows_answer(int s) { return ink(text_x[s], text_y[s], 60, 16); }
};

TEST_F(Lifelines, FiftyFiftyKeepsTheChosenWrongAnswer)
{
    struct {
        int right, r, stays;
    } cases[] = {{0, 0, 1}, {0, 2, 3}, {3, 2, 2}, {3, 0, 0}, {1, 1, 2}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "right " << c.right << " r " << c.r);
        oneone = 0;
        image = IMG_Load("gfx/game.png");
        SDL_BlitSurface(image, NULL, screen, NULL);
        for (int s = 0; s < 4; s++)
            DrawText(font2, "answer", text_x[s], text_y[s], 0, 0, 0);
        forced_rand = {c.r};
        static const int codes[4] = {1000, 100, 10, 1};
        help_one(codes[c.right]);
        for (int s = 0; s < 4; s++)
            EXPECT_EQ(shows_answer(s), s == c.right || s == c.stays) << s;
        SDL_FreeSurface(image);
        image = NULL;
    }
}

TEST_F(Lifelines, FiftyFiftyTwiceOnlyReplaysItsSoundAndBadCodeHidesNothing)
{
    image = IMG_Load("gfx/game.png");
    forced_rand = {0};
    help_one(7);
    EXPECT_EQ(oneone, 1);
    help_one(1000);
    EXPECT_EQ(sounds_loaded(), (std::vector<std::string>{"sfx/half.wav", "sfx/half.wav"}));
    EXPECT_EQ(forced_rand.size(), 0u);
}

TEST_F(Lifelines, TelephoneNamesALetterInEachLanguage)
{
    const char *expected[3][4] = {
        {"Gracz telefoniczny stawia na odpowiedz A", "Gracz telefoniczny stawia na odpowiedz B",
         "Gracz telefoniczny stawia na odpowiedz C", "Gracz telefoniczny stawia na odpowiedz D"},
        {"Phone player just say it will be answer A", "Phone player just say it will be answer B",
         "Phone player just say it will be answer C", "Phone player just say it will be answer D"},
        {"Telefonhj\xe4lpen svarar  A", "Telefonhj\xe4lpen svarar  B", "Telefonhj\xe4lpen svarar  C",
         "Telefonhj\xe4lpen svarar  D"},
    };
    int languages[] = {1, 2, 4};
    for (int l = 0; l < 3; l++)
        for (int r = 0; r < 4; r++) {
            language = languages[l];
            call = 0;
            rendered.clear();
            forced_rand = {r + 4 * l};
            phone(1000);
            EXPECT_EQ(rendered, std::vector<std::string>{expected[l][r]});
            EXPECT_EQ(pixel(45, 85), colour_of("gfx/information.png"));
        }
    rendered.clear();
    phone(1000);  // used: nothing
    EXPECT_TRUE(rendered.empty());
}

TEST_F(Lifelines, AudiencePollSumsToAHundredWhenItWasOver)
{
    struct {
        std::deque<int> draws;
        std::vector<std::string> shown;
    } cases[] = {
        {{10, 20, 30, 40}, {"Answer A 10%", "Answer B 20%", "Answer C 30%", "Answer D 40%"}},
        {{69, 69, 69, 69}, {"Answer A 25%", "Answer B 25%", "Answer C 25%", "Answer D 25%"}},
        {{0, 69, 69, 69, 0}, {"Answer A 0%", "Answer B 14%", "Answer C 43%", "Answer D 43%"}},
        {{5, 1, 2, 3}, {"Answer A 5%", "Answer B 1%", "Answer C 2%", "Answer D 3%"}},
        {{69, 0, 69, 69, 1}, {"Answer A 14%", "Answer B 0%", "Answer C 43%", "Answer D 43%"}},
    };
    for (auto &c : cases) {
        pub = 0;
        rendered.clear();
        int seeds = srand_calls;
        forced_rand = c.draws;
        pub_speak(100);
        EXPECT_EQ(srand_calls, seeds + 1);  // re-seeded with the time
        EXPECT_TRUE(forced_rand.empty());
        ASSERT_EQ(rendered.size(), 5u);
        EXPECT_EQ(rendered[0], "The people say's:");
        EXPECT_EQ(std::vector<std::string>(rendered.begin() + 1, rendered.end()), c.shown);
    }
    language = 4;
    pub = 0;
    rendered.clear();
    forced_rand = {1, 2, 3, 4};
    pub_speak(1);
    EXPECT_EQ(rendered, (std::vector<std::string>{"Publiken svarar:", "A 1%", "B 2%", "C 3%", "D 4%"}));
    language = 1;
    pub = 0;
    rendered.clear();
    forced_rand = {1, 2, 3, 4};
    pub_speak(1);
    EXPECT_EQ(rendered[0], "Publicznosc m\xf3wi:");
    EXPECT_EQ(rendered[4], "Odpowiedz D 4%");
}

TEST_F(Lifelines, UsedDuringTheWaitAndDrawnUsedWithTheNextQuestion)
{
    std::vector<Uint32> icons_during, icons_after;
    then([&] {
        int s = right_slot();
        click_slot(s);
        click(480, 20);  // 50:50 during the confirmation wait
        then([&] { icons_during = {pixel(445, 10), pixel(600, 30)}; });
        click_slot(s);
    });
    then([&] { icons_after = {pixel(445, 10), pixel(600, 30)}; });
    close_window();
    game();
    EXPECT_EQ(position, 1);
    EXPECT_EQ(oneone, 1);
    EXPECT_EQ(icons_during, (std::vector<Uint32>{game_colour, game_colour}));
    // The used look comes from the player's language's menu picture.
    EXPECT_EQ(icons_after, (std::vector<Uint32>{colour_of("gfx/eng/smenu.png"), game_colour}));
}

TEST_F(Lifelines, IconBordersTriggerBothNeighbours)
{
    then([] { click(510, 20); });
    then([] { click(570, 20); });
    close_window();
    music = 0;
    game();
    std::vector<std::string> s = sounds_loaded();
    EXPECT_EQ(std::count(s.begin(), s.end(), "sfx/half.wav"), 2);       // game's and the lifeline's
    // The game sounds each icon hit; a used lifeline adds nothing.
    EXPECT_EQ(std::count(s.begin(), s.end(), "sfx/telephone.wav"), 3);
    EXPECT_EQ(std::count(s.begin(), s.end(), "sfx/peoples.wav"), 2);
}

TEST_F(Lifelines, HiddenAnswersStayClickable)
{
    then([] {
        int right = right_slot();
        // With r = 0 the first wrong answer stays; hide the others and click one.
        forced_rand.push_front(0);
        click(480, 20);
        int hidden = -1;
        for (int s = 3; s >= 0; s--)
            if (s != right) {
                hidden = s;
                break;
            }
        click_slot(hidden);
        click_slot(hidden);
    });
    click(5, 5);
    game();
    EXPECT_EQ(APPMODE, MODE_MENU);
    EXPECT_TRUE(was_rendered("You just won 0"));
}

// ------------------------------------------------------------ failures

class GameFailures : public Game {
protected:
    void own_quest()
    {
        unlink("quest");
        mkdir("quest", 0755);
        for (const char *l : {"pol", "eng", "swe"}) {
            mkdir((std::string("quest/") + l).c_str(), 0755);
            for (const char *f : {"latwe", "srednie", "trudne"}) {
                std::string name = std::string("quest/") + l + "/" + f + ".qst";
                write_file(name, read_file(std::string(data_dir) + "/" + name));
            }
        }
    }
};

TEST_F(GameFailures, MissingQuestionFileEndsTheGameWithNothingWon)
{
    own_quest();
    unlink("quest/eng/srednie.qst");
    click(1, 1);  // the file's message
    click(1, 1);  // the result
    game();
    EXPECT_TRUE(was_rendered("Cannot open file: quest/eng/srednie.qst"));
    EXPECT_TRUE(was_rendered("You just won 0"));
    EXPECT_EQ(APPMODE, MODE_MENU);
    EXPECT_EQ(LAPPMODE, MODE_GAME);
    EXPECT_EQ(easy, nullptr);
    EXPECT_EQ(playersi[4], 0);
    EXPECT_STREQ(players[4], "ann");
    EXPECT_TRUE(questions_asked().empty());
}

TEST_F(GameFailures, PoolOfThreeQuestionsRefusesToStart)
{
    own_quest();
    std::string three;
    for (int q = 0; q < 3; q++)
        three += "L3Q" + std::to_string(q) + "\n\nright\nb\nc\nd\n1000\n";
    write_file("quest/swe/trudne.qst", three);
    write_file("quest/swe/latwe.qst", "");
    language = 4;
    click(1, 1);
    click(1, 1);
    game();
    EXPECT_TRUE(was_rendered("F\xf6r f\xe5 fr\xe5gor i filen: quest/swe/latwe.qst"));
    EXPECT_TRUE(was_rendered("Grattis du vann 0"));
    EXPECT_FALSE(was_rendered("F\xf6r f\xe5 fr\xe5gor i filen: quest/swe/trudne.qst"));
    EXPECT_EQ(easy, nullptr);
    EXPECT_EQ(hard, nullptr);
    EXPECT_EQ(APPMODE, MODE_MENU);
    EXPECT_TRUE(questions_asked().empty());
}

TEST_F(GameFailures, WindowClosedWhileAQuestionIsShown)
{
    answer_right();
    then([] {});
    close_window();
    idle(5);
    click(1, 1);  // never needed: the stored close request ends the result at once
    game();
    EXPECT_EQ(APPMODE, MODE_QUIT);
    EXPECT_EQ(quitapp, 1);
    EXPECT_TRUE(was_rendered("You just won 100"));
    EXPECT_EQ(playersi[4], 1);
    EXPECT_EQ(script_left(), 3u);
}

TEST_F(GameFailures, WindowClosedDuringTheConfirmationWait)
{
    then([] {
        click_slot((right_slot() + 1) % 4);  // a wrong first click...
        close_window();                       // ...and the window closes
    });
    game();
    // Nothing is confirmed by a close: the losing branch, the program ends.
    EXPECT_EQ(quitapp, 1);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(APPMODE, MODE_MENU);
    EXPECT_TRUE(was_rendered("You just won 0"));
    std::vector<std::string> s = sounds_loaded();
    EXPECT_EQ(s.back(), "sfx/bad_answer.wav");
}

TEST_F(GameFailures, RightFirstClickThenCloseKeepsTheQuestion)
{
    then([] {
        click_slot(right_slot());
        close_window();
    });
    game();
    EXPECT_EQ(quitapp, 1);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(APPMODE, MODE_QUIT);
}

TEST_F(GameFailures, CodeMatchingNoSlotCannotBeWon)
{
    own_quest();
    std::string bad;
    for (int q = 0; q < 4; q++)
        bad += "L1Q" + std::to_string(q) + "\n\nright\nb\nc\nd\n5\n";
    write_file("quest/eng/latwe.qst", bad);
    then([] {
        click_slot(0);
        click_slot(0);
    });
    click(1, 1);
    game();
    EXPECT_EQ(position, 0);
    EXPECT_EQ(APPMODE, MODE_MENU);
}

// ------------------------------------------------------------ whole program

class WholeGame : public GameTest {};

TEST_F(WholeGame, MenuNameGameBestPlayersAndQuit)
{
    motion(450, 350);  // Swedish flag
    release(450, 350);
    motion(300, 130);  // new game
    release(300, 130);
    for (int c : {'e', 'v', 'a'})
        type(c);
    type(SDLK_RETURN);
    for (int q = 0; q < 3; q++)
        answer_right();
    answer_wrong();
    click(5, 5);     // result
    motion(300, 260);  // best players
    release(300, 260);
    click(5, 5);
    motion(300, 390);  // quit
    release(300, 390);
    EXPECT_EQ(run_game(), 0);
    EXPECT_EQ(polls_after_script(), 0);
    EXPECT_TRUE(was_rendered("Grattis du vann 500"));
    EXPECT_TRUE(was_rendered("eva"));
    EXPECT_EQ(read_file("highscores"), "NOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\neva\n3\n");
    EXPECT_EQ(read_file("config"), "0 0\n");
}

TEST_F(WholeGame, ClosedMidGameStillRecordsTheResult)
{
    motion(150, 350);
    release(150, 350);
    motion(300, 130);
    release(300, 130);
    type('x');
    type(SDLK_RETURN);
    answer_right();
    answer_right();
    then([] {
        click_slot(right_slot());
        close_window();
    });
    EXPECT_EQ(run_game(), 0);
    EXPECT_EQ(read_file("highscores"), "NOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\nx\n2\n");
    EXPECT_TRUE(file_exists("config"));
}
