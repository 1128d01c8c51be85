#include <string.h>

#include <set>

#include "quiz/quiz.h"
#include "shell/shell.h"
#include "tests/harness.h"

using namespace harness;

class QuestionFile : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        language = 2;
    }
    void TearDown() override
    {
        free_question(&easy);
        free_question(&med);
        free_question(&hard);
        GameTest::TearDown();
    }
    static std::string question(const std::string &id, const std::string &code = "1000")
    {
        return id + "\n\n" + id + " one\n" + id + " two\n" + id + " three\n" + id + " four\n" + code + "\n";
    }
    // The display slot that holds a file's answer line.
    static int slot_of(const Question &q, const std::string &text)
    {
        for (int s = 0; s < 4; s++)
            if (text == q.answer[s])
                return s;
        return -1;
    }
    static int code_of_slot(int slot) { return slot == 0 ? 1000 : slot == 1 ? 100 : slot == 2 ? 10 : 1; }
};

TEST_F(QuestionFile, CountsWholeGroupsOfSevenLineFeeds)
{
    write_file("empty.qst", "");
    ASSERT_EQ(load_question("empty.qst", 1), 0);
    ASSERT_NE(easy, nullptr);
    EXPECT_EQ(easy[0].count, 0);
    EXPECT_EQ(easy[0].line1[0], 0);
    EXPECT_EQ(easy[0].correct, 0);

    write_file("thirteen.qst", question("A") + "a\nb\nc\nd\ne\nf\n");
    ASSERT_EQ(load_question("thirteen.qst", 2), 0);
    EXPECT_EQ(med[0].count, 1);
    EXPECT_STREQ(med[0].line1, "A");
    // The extra record at the end stays all zero.
    EXPECT_EQ(med[1].line1[0], 0);
    EXPECT_EQ(med[1].count, 0);

    std::string cut = question("A") + question("B");
    cut.pop_back();  // the last code line has no line feed
    write_file("cut.qst", cut);
    ASSERT_EQ(load_question("cut.qst", 3), 0);
    EXPECT_EQ(hard[0].count, 1);
}

TEST_F(QuestionFile, CodeNamesAFileLineAndFollowsItToItsSlot)
{
    for (const char *code : {"1000", "0100", "10", "0001", " 1"}) {
        write_file("q.qst", question("Q", code));
        for (int round = 0; round < 20; round++) {
            ASSERT_EQ(load_question("q.qst", 1), 0);
            int line = atoi(code) == 1000 ? 0 : atoi(code) == 100 ? 1 : atoi(code) == 10 ? 2 : 3;
            const char *names[] = {"Q one", "Q two", "Q three", "Q four"};
            int slot = slot_of(easy[0], names[line]);
            ASSERT_GE(slot, 0);
            EXPECT_EQ(easy[0].correct, code_of_slot(slot)) << code;
            free_question(&easy);
        }
    }
    write_file("q.qst", question("Q", "7"));
    ASSERT_EQ(load_question("q.qst", 1), 0);
    EXPECT_EQ(easy[0].correct, 7);  // names no slot: kept as read
}

TEST_F(QuestionFile, ShuffleDrawsUntilTheSlotIsFree)
{
    write_file("q.qst", question("Q"));
    forced_rand = {2, 2, 0, 0, 0, 3, 1};
    ASSERT_EQ(load_question("q.qst", 1), 0);
    EXPECT_TRUE(forced_rand.empty());
    EXPECT_STREQ(easy[0].answer[2], "Q one");
    EXPECT_STREQ(easy[0].answer[0], "Q two");
    EXPECT_STREQ(easy[0].answer[3], "Q three");
    EXPECT_STREQ(easy[0].answer[1], "Q four");
    EXPECT_EQ(easy[0].correct, 10);
}

TEST_F(QuestionFile, EveryLineReachesEverySlotAndEachSlotHoldsOneLine)
{
    write_file("q.qst", question("Q") + question("R"));
    int seen[4][4] = {};
    const char *names[] = {"Q one", "Q two", "Q three", "Q four"};
    for (int round = 0; round < 200; round++) {
        ASSERT_EQ(load_question("q.qst", 1), 0);
        std::set<std::string> slots(easy[0].answer, easy[0].answer + 4);
        ASSERT_EQ(slots.size(), 4u);
        for (int line = 0; line < 4; line++) {
            int slot = slot_of(easy[0], names[line]);
            ASSERT_GE(slot, 0);
            seen[line][slot]++;
        }
        free_question(&easy);
    }
    for (int line = 0; line < 4; line++)
        for (int slot = 0; slot < 4; slot++)
            EXPECT_GT(seen[line][slot], 10) << line << " in " << slot;
}

TEST_F(QuestionFile, KeepsCarriageReturnsAndShiftsOverlongLines)
{
    write_file("cr.qst", "Q\r\n\nA\r\nB\nC\nD\n1000\r\n");
    ASSERT_EQ(load_question("cr.qst", 1), 0);
    EXPECT_STREQ(easy[0].line1, "Q\r");
    EXPECT_EQ(slot_of(easy[0], "A\r"), easy[0].correct == 1000 ? 0 : easy[0].correct == 100 ? 1 : easy[0].correct == 10 ? 2 : 3);

    std::string fits(298, 'x');
    write_file("fits.qst", fits + "\n" + question("Q").substr(2));
    ASSERT_EQ(load_question("fits.qst", 2), 0);
    EXPECT_EQ(strlen(med[0].line1), 298u);
    EXPECT_STREQ(med[0].line2, "");

    std::string over(299, 'y');
    // The 299th byte is lost; the line feed is read as the next line, and
    // everything after comes one line late.
    write_file("over.qst", over + "\n" + question("Q").substr(2));
    ASSERT_EQ(load_question("over.qst", 3), 0);
    EXPECT_EQ(strlen(hard[0].line1), 298u);
    EXPECT_STREQ(hard[0].line2, "");
    std::set<std::string> answers(hard[0].answer, hard[0].answer + 4);
    EXPECT_EQ(answers, (std::set<std::string>{"", "Q one", "Q two", "Q three"}));
    EXPECT_EQ(hard[0].correct, 0);  // "Q four" was read as the code
}

TEST_F(QuestionFile, OtherLevelsOnlyCountAndFreeingClearsTheGlobal)
{
    write_file("q.qst", question("Q"));
    EXPECT_EQ(load_question("q.qst", 0), 0);
    EXPECT_EQ(load_question("q.qst", 4), 0);
    EXPECT_EQ(easy, nullptr);
    EXPECT_EQ(med, nullptr);
    EXPECT_EQ(hard, nullptr);
    QuestionPool *none = NULL;
    free_question(&none);
    EXPECT_EQ(none, nullptr);
    ASSERT_EQ(load_question("q.qst", 2), 0);
    free_question(&med);
    EXPECT_EQ(med, nullptr);
}

class QuestionMessages : public QuestionFile {
protected:
    void SetUp() override
    {
        QuestionFile::SetUp();
        open_sdl();
    }
    void TearDown() override
    {
        close_sdl();
        QuestionFile::TearDown();
    }
};

TEST_F(QuestionMessages, MissingFileIsToldInThePlayersLanguageWithoutALineFeed)
{
    const char *expected[] = {"Nie mozna otworzyc pliku: quest/none.qst", "Cannot open file: quest/none.qst",
                              "Kan inte \xf6ppna filen: quest/none.qst"};
    int languages[] = {1, 2, 4};
    QuestionPool keep[1];
    for (int i = 0; i < 3; i++) {
        language = languages[i];
        rendered.clear();
        easy = keep;
        click(1, 1);
        EXPECT_EQ(load_question("quest/none.qst", 1), -1);
        EXPECT_EQ(easy, keep);  // untouched
        ASSERT_GE(rendered.size(), 1u);
        EXPECT_EQ(rendered[0], expected[i]);
        EXPECT_EQ(script_left(), 0u);
    }
    easy = NULL;
}

TEST_F(QuestionMessages, SecondOpeningFailingLeavesNoPool)
{
    write_file("q.qst", question("Q"));
    fail_open_path = "q.qst";
    fail_open_after = 1;
    click(1, 1);
    EXPECT_EQ(load_question("q.qst", 2), -1);
    EXPECT_EQ(med, nullptr);
    EXPECT_TRUE(was_rendered("Cannot open file: q.qst"));
}

TEST_F(QuestionMessages, PrintDrawsSixTextsAtTheirCorners)
{
    write_file("q.qst", "first line\n\nAaa\nBbb\nCcc\nDdd\n1000\n");
    forced_rand = {0, 1, 2, 3};
    ASSERT_EQ(load_question("q.qst", 1), 0);
    SDL_FillRect(screen, NULL, SDL_MapRGB(screen->format, 255, 255, 255));
    rendered.clear();
    long before = flips;
    print_question(&easy[0]);
    EXPECT_EQ(rendered, (std::vector<std::string>{"first line", "", "Aaa", "Bbb", "Ccc", "Ddd"}));
    EXPECT_EQ(flips - before, 6);
    auto ink = [](int x, int y) {
        for (int px = x; px < x + 30; px++)
            for (int py = y; py < y + 16; py++)
                if (pixel(px, py) == 0)
                    return true;
        return false;
    };
    EXPECT_TRUE(ink(120, 270));
    EXPECT_FALSE(ink(120, 290));
    EXPECT_TRUE(ink(85, 365));
    EXPECT_TRUE(ink(405, 365));
    EXPECT_TRUE(ink(85, 430));
    EXPECT_TRUE(ink(405, 430));
}
