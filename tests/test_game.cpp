// Whole games: the ladder, the two-click confirmation, the result and the
// table, and the three lifelines.
#include "tests/harness.h"

using namespace harness;

static const int rungs[12] = {198, 182, 167, 152, 137, 122, 107, 92, 77, 52, 37, 22};

class Game : public GameTest {
protected:
    std::vector<std::string> asked;
    // English, a new game for Ann, `rights` questions answered right; each
    // shown where the player reads it, from its level's pool, never twice.
    void start(int rights)
    {
        static const char *places[6] = {"120,270", "120,290", "85,365", "405,365", "85,430", "405,430"};
        choose_language(2), menu_entry(1), type_name("Ann");
        for (int q = 0; q < rights; q++) {
            then([this, q] {
                QuestionPool *pool = q < 4 ? easy : q < 8 ? med : hard;
                std::vector<std::string> texts(rendered.end() - 6, rendered.end()), want;
                int found = 0;
                for (int i = 0; i < pool[0].count; i++)
                    found += texts[0] == pool[i].line1 && texts[1] == pool[i].line2;
                EXPECT_EQ(found, 1) << q << ": " << texts[0];
                EXPECT_EQ(std::count(asked.begin(), asked.end(), texts[0]), 0) << texts[0];
                asked.push_back(texts[0]);
                for (int k = 0; k < 6; k++)  // an empty text draws nothing
                    if (!texts[k].empty())
                        want.push_back("text '" + texts[k] + "' at " + places[k] + " f14 000000");
                expect_tail(want);
            });
            answer_right();
        }
    }
    void answer_wrong()
    {
        then([] {
            int wrong = (right_slot() + 1) % 4;
            click_slot(wrong);
            click_slot(wrong);
        });
    }
};

// The player climbs, then a wrong answer or the last question ends the
// game: the prize, the sound, the table in memory and on disk.
TEST_F(Game, LadderPrizeAndTable)
{
    struct Row { int rights; const char *won; const char *table; } rows[] = {
        {0, "You just won 0", "NOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\nAnn\n0\n"},
        {3, "You just won 500", "NOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\nAnn\n3\n"},
        {8, "You just won 25000", "NOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\nAnn\n8\n"},
        {12, "You just won 10000000", "NOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\nAnn\n12\n"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.won);
        reset_state();
        asked.clear();
        unlink("highscores");
        start(row.rights);
        if (row.rights < 12)
            answer_wrong();
        release(5, 5);  // the result's requester
        menu_entry(5);
        EXPECT_EQ(run_game(), 0);
        EXPECT_EQ(polls_after_script(), 0);
        EXPECT_EQ(read_file("highscores"), row.table);
        std::vector<std::string> want = {"sound sfx/aplause.wav loops 1", "fade out gfx/name.png", "load gfx/game.png",
                                         "fade in gfx/game.png", "show gfx/game.png", "text 'Ann' at 40,20 f20 000000",
                                         "delay 100"};
        for (int q = 0; q <= row.rights && q < 12; q++) {
            want.push_back("blit gfx/smenu.png 224,30,20,20 at 408," + std::to_string(rungs[q]));
            if (q < row.rights)
                want.push_back("sound sfx/aplause.wav loops 1");
        }
        if (row.rights < 12)
            want.push_back("sound sfx/bad_answer.wav loops 1");
        want.insert(want.end(), {"load gfx/information.png", "show gfx/information.png at 50,200"});
        want.push_back(std::string("text '") + row.won + "' at 90,220 f20 000000");
        want.push_back("text 'Press Left mouse button to continue' at 90,255 f14 0000c8");
        want.push_back("fade out gfx/game.png");
        expect_in_order(want);
        EXPECT_EQ(count_of("sound sfx/bad_answer.wav"), row.rights < 12 ? 1 : 0);
        expect_fades_of_two_seconds();
        EXPECT_EQ(count_of("blit gfx/smenu.png 224,30,20,20"), row.rights < 12 ? row.rights + 1 : 12);
        EXPECT_EQ(asked.size(), (size_t)row.rights);
    }
}

// The first click marks an answer with a red bar; the second confirms it
// only if it hits the same kind of answer.
TEST_F(Game, TwoClicksConfirm)
{
    static const char *bars[4] = {"87,395,205,5", "413,395,205,5", "87,457,205,5", "413,457,205,5"};
    start(0);
    then([] {
        int right = right_slot(), wrong = (right + 1) % 4;
        click_slot(right);
        click_slot(wrong);  // disagree: nothing
        click_slot(wrong);
        click_slot(right);  // disagree again
        click(right % 2 ? 400 : 100, 356);  // above the answer: not an answer
        click_slot(right);
        click_slot(right);  // confirmed
        then([right, wrong] {
            EXPECT_EQ(position, 1);
            EXPECT_EQ(count_of(std::string("fill ") + bars[right] + " ff0000"), 4);
            EXPECT_EQ(count_of(std::string("fill ") + bars[wrong] + " ff0000"), 2);
            EXPECT_EQ(count_of("blit gfx/game.png " + std::string(bars[right])), 2);
        });
    });
    close_window();
    run_game();
    EXPECT_EQ(count_of("sound sfx/aplause.wav"), 2);  // the game's start, one right answer
    EXPECT_EQ(count_of("sound sfx/bad_answer.wav"), 0);
    EXPECT_EQ(count_of("sound sfx/button.wav loops 1"), 1 + 3 + 1);  // intro, first clicks, epilogue
}

// 50:50 keeps the right answer and the r-th wrong one, in A-D order.
TEST_F(Game, FiftyFiftyHidesTwoWrongAnswers)
{
    static const char *places[4] = {"80,355,220,40", "400,355,220,40", "80,424,220,40", "400,424,220,40"};
    for (int r = 0; r < 3; r++) {
        SCOPED_TRACE(r);
        reset_state();
        start(0);
        then([r] {
            int right = right_slot();
            forced_rand = {r};
            click(480, 20);
            click(480, 20);  // used: the sound again, nothing else
            then([right, r] {
                int kept = -1;
                for (int k = 0, n = 0; k < 4; k++)
                    if (k != right && n++ == r)
                        kept = k;
                for (int k = 0; k < 4; k++)
                    EXPECT_EQ(count_of("blit gfx/game.png " + std::string(places[k])), k == right || k == kept ? 0 : 1)
                        << k;
                EXPECT_EQ(count_of("sound sfx/half.wav"), 4);
                EXPECT_EQ(oneone, 1);
            });
            answer_right();
            then([] { EXPECT_EQ(count_of("blit gfx/eng/smenu.png 440,5,70,60 at 440,5"), 1); });
        });
        close_window();
        run_game();
    }
}

// The telephone names a letter; it and the game's other messages speak the
// player's language.
TEST_F(Game, TelephoneAndMessagesInThePlayersLanguage)
{
    struct Row { int flag, r; std::string call, prompt, click, won; } rows[] = {
        {1, 0, "Gracz telefoniczny stawia na odpowiedz A", "Prosze wpisac swoje imie", "Wcisnij lewy przycisk myszy",
         "Wlasnie wygrales 100"},
        {2, 3, "Phone player just say it will be answer D", "Please enter your name",
         "Press Left mouse button to continue", "You just won 100"},
        {3, 1, "Telefonhj\xe4lpen svarar  B", "Var v\xe4nlig ange ditt namn",
         "Tryck p\xe5 v\xe4nster musknapp f\xf6r att forts\xe4tta", "Grattis du vann 100"}};
    for (const Row &row : rows) {
        reset_state();
        choose_language(row.flag);
        menu_entry(1);
        type_name("Ann");
        then([&row] { forced_rand = {row.r}; });
        click(540, 20);
        click(540, 20);  // used: its own sound only
        answer_right();
        close_window();
        run_game();
        expect_in_order({"text '" + row.prompt + "' at 270,360 f20 000000", "sound sfx/telephone.wav loops 1",
                         "load gfx/information.png", "sound sfx/telephone.wav loops 1",
                         "show gfx/information.png at 40,80", "text '" + row.call + "' at 90,110 f20 000000",
                         "sound sfx/telephone.wav loops 1", "show gfx/game.png",
                         "text '" + row.won + "' at 90,220 f20 000000", "text '" + row.click + "' at 90,255 f14 0000c8"});
        EXPECT_EQ(count_of("sound sfx/telephone.wav"), 3);
        const char *menu[3] = {"gfx/smenu.png", "gfx/eng/smenu.png", "gfx/swe/smenu.png"};
        EXPECT_EQ(count_of(std::string("blit ") + menu[row.flag - 1] + " 507,5,70,60 at 507,5"), 1);
    }
}

TEST_F(Game, AudiencePollsAndScales)
{
    struct Row { std::deque<int> draws; const char *a, *b, *c, *d; } rows[] = {
        {{10, 20, 30, 40}, "Answer A 10%", "Answer B 20%", "Answer C 30%", "Answer D 40%"},
        {{69, 69, 69, 69}, "Answer A 25%", "Answer B 25%", "Answer C 25%", "Answer D 25%"},
        {{0, 69, 69, 69, 0}, "Answer A 0%", "Answer B 14%", "Answer C 43%", "Answer D 43%"},
        {{69, 69, 68, 0, 2}, "Answer A 17%", "Answer B 43%", "Answer C 40%", "Answer D 0%"},
    };
    for (const Row &row : rows) {
        reset_state();
        start(0);
        then([&row] { forced_rand = row.draws; });
        click(600, 54);
        close_window();
        run_game();
        expect_in_order({"sound sfx/peoples.wav loops 1", "load gfx/information.png", "sound sfx/peoples.wav loops 1",
                         "show gfx/information.png at 40,100", "text 'The people say's:' at 210,110 f20 000000",
                         std::string("text '") + row.a + "' at 140,135 f14 000014",
                         std::string("text '") + row.b + "' at 400,135 f14 000014",
                         std::string("text '") + row.c + "' at 140,155 f14 000014",
                         std::string("text '") + row.d + "' at 400,155 f14 000014"});
        EXPECT_EQ(pub, 1);
    }
}

// Lifelines also answer while an answer waits for its confirming click.
TEST_F(Game, LifelinesDuringTheConfirmation)
{
    start(0);
    then([] {
        int right = right_slot();
        click_slot(right);
        click(629, 54);  // audience
        click(511, 1);   // telephone
        click(449, 0);   // nothing
        click_slot(right);
    });
    close_window();
    run_game();
    EXPECT_EQ(position, 1);
    EXPECT_EQ(pub + call + oneone, 2);
    EXPECT_EQ(count_of("show gfx/information.png"), 3);  // and the result
    EXPECT_EQ(count_of("sound sfx/peoples.wav"), 1);
}

// A game that cannot start says why, ends at 0 and returns to the menu.
TEST_F(Game, MissingOrShortQuestionFiles)
{
    struct Row { const char *file, *content, *message; } rows[] = {
        {"quest/eng/srednie.qst", nullptr, "Cannot open file: quest/eng/srednie.qst"},
        {"quest/eng/trudne.qst", "q\n\na\nb\nc\nd\n1000\nq2\n\na\nb\nc\nd\n1\n",
         "Too few questions in file: quest/eng/trudne.qst"},
    };
    for (const Row &row : rows) {
        reset_state();
        system(("rm -rf quest && cp -r " + std::string(data_dir) + "/quest quest && chmod -R u+w quest").c_str());
        if (row.content)
            write_file(row.file, row.content);
        else
            unlink(row.file);
        start(0);
        release(5, 5);
        release(5, 5);
        menu_entry(5);
        EXPECT_EQ(run_game(), 0);
        EXPECT_EQ(polls_after_script(), 0);
        expect_in_order({"show gfx/information.png at 20,200",
                         std::string("text '") + row.message + "' at 60,220 f20 000000",
                         "text 'You just won 0' at 90,220 f20 000000", "fade out gfx/game.png",
                         "load gfx/eng/menu.png"});
        EXPECT_EQ(count_of("blit gfx/smenu.png 224,30"), 0);
        std::string table = read_file("highscores");
        EXPECT_EQ(table.substr(table.size() - 6), "Ann\n0\n");
    }
}
