// Hostile input through the real game: names of every length and every
// byte, levels off the ladder, overlong question lines and a question file
// of a million lines. The sanitizer build shows that nothing is read or
// written outside a buffer on the way.
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "quiz/quiz.h"
#include "scores/scores.h"
#include "shell/shell.h"
#include "tests/fuzz/readers.h"
#include "tests/harness.h"

using namespace harness;

static const char nobody[] = "NOonE\n0\n";

// ------------------------------------------------------------ playing

static void answer_wrong()
{
    then([] {
        int s = (right_slot() + 1) % 4;
        click_slot(s);
        click_slot(s);
    });
}

static void choose_english() { motion(150, 350), release(150, 350); }
static void menu_entry(int y) { motion(300, y), release(300, y); }
static void new_game() { menu_entry(130); }
static void best_players() { menu_entry(260); }
static void quit_from_menu() { menu_entry(390); }

// Each amount drawn right after its name, entry 0 first.
static bool rows_drawn(const std::vector<std::pair<std::string, std::string>> &rows)
{
    size_t from = 0;
    for (const auto &row : rows) {
        size_t i = from;
        while (i + 1 < rendered.size() && !(rendered[i] == row.first && rendered[i + 1] == row.second))
            i++;
        if (i + 1 >= rendered.size())
            return false;
        from = i + 2;
    }
    return true;
}

// ------------------------------------------------------------ names

class NameThroughAGame : public GameTest, public ::testing::WithParamInterface<int> {};

// A name as long as the entry allows reaches the table, the screen and the
// file; the level is its length, so the ladder is climbed that far too.
TEST_P(NameThroughAGame, ReachesTableScreenAndFile)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz";
    std::string keys(letters, (size_t)GetParam());
    // Past eleven letters, the last one keeps changing.
    std::string name = keys.size() <= 11 ? keys : keys.substr(0, 10) + keys.back();
    int level = (int)name.size();
    choose_english();
    new_game();
    for (char k : keys)
        type(k);
    type(SDLK_RETURN);
    for (int q = 0; q < level; q++)
        answer_right();
    answer_wrong();
    click(5, 5);
    best_players();
    click(5, 5);
    quit_from_menu();
    capture_stdout();
    ASSERT_EQ(run_game(), 0);
    captured_stdout();
    EXPECT_EQ(polls_after_script(), 0);
    EXPECT_TRUE(was_rendered(std::string("You just won ") + win[level]));
    EXPECT_TRUE(rows_drawn({{"NOonE", "0"}, {"NOonE", "0"}, {"NOonE", "0"}, {"NOonE", "0"}, {name, win[level]}}));
    std::string file = std::string(nobody) + nobody + nobody + nobody + name + "\n" + std::to_string(level) + "\n";
    EXPECT_EQ(read_file("highscores"), file);

    // The next run reads it back, shows it and writes it unchanged. The
    // last click of the first run is still loaded: a new process would not
    // have it.
    Mix_Music *left = smusic.exchange(NULL);
    if (left != NULL)
        Mix_FreeMusic(left);
    reset_state();
    choose_english();
    best_players();
    click(5, 5);
    quit_from_menu();
    capture_stdout();
    ASSERT_EQ(run_game(), 0);
    captured_stdout();
    EXPECT_TRUE(rows_drawn({{"NOonE", "0"}, {name, win[level]}}));
    EXPECT_EQ(read_file("highscores"), file);
}

INSTANTIATE_TEST_SUITE_P(EveryLength, NameThroughAGame,
                         ::testing::Values(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 26));

// ------------------------------------------------------------ the file

class HostileScores : public GameTest {};

static std::string amount_of(int level) { return level >= 0 && level <= 12 ? win[level] : "?"; }

TEST_F(HostileScores, LevelsOffTheLadderShowAQuestionMarkAndAreWrittenBack)
{
    // Too big for an int: the level is whatever the C library's atoi makes
    // of it, and that is what goes back.
    int huge = atoi("99999999999");
    write_file("highscores", "a\n-2147483648\nb\n-1\nc\n13\nd\n99999999999\ne\n2147483647\n");
    choose_english();
    best_players();
    click(5, 5);
    quit_from_menu();
    capture_stdout();
    ASSERT_EQ(run_game(), 0);
    captured_stdout();
    EXPECT_EQ(playersi[0], INT_MIN);
    EXPECT_EQ(playersi[4], INT_MAX);
    EXPECT_TRUE(rows_drawn({{"a", "?"}, {"b", "?"}, {"c", "?"}, {"d", amount_of(huge)}, {"e", "?"}}));
    EXPECT_EQ(amount_of(huge), "?") << "99999999999 read as " << huge;
    EXPECT_EQ(read_file("highscores"),
              "a\n-2147483648\nb\n-1\nc\n13\nd\n" + std::to_string(huge) + "\ne\n2147483647\n");
}

TEST_F(HostileScores, AGameAmongLevelsOffTheLadderTakesItsPlace)
{
    write_file("highscores", "a\n-2147483648\nb\n-1\nc\n13\nd\n99999999\ne\n2147483647\n");
    choose_english();
    new_game();
    type('x');
    type(SDLK_RETURN);
    answer_right();
    answer_right();
    answer_wrong();
    click(5, 5);
    quit_from_menu();
    capture_stdout();
    ASSERT_EQ(run_game(), 0);
    captured_stdout();
    EXPECT_EQ(read_file("highscores"), "b\n-1\nx\n2\nc\n13\nd\n99999999\ne\n2147483647\n");
}

// A name line too long for the entry leaves a name of 19 characters; the
// file written from it must read back as the same table, not one line out
// of step, losing a little more with every run.
TEST_F(HostileScores, ANameCutFromALongLineStaysPutRunAfterRun)
{
    write_file("highscores", "ann\n3\nbob\n5\nSSSSSSSSSSSSSSSSSSSxyz\n7\ndi\n9\ned\n11\n");
    loadh();
    ASSERT_EQ(std::string(players[2]), "SSSSSSSSSSSSSSSSSSS");
    capture_stdout();
    saveh();
    std::string first = read_file("highscores");
    for (int run = 0; run < 3; run++) {
        loadh();
        saveh();
    }
    captured_stdout();
    EXPECT_EQ(read_file("highscores"), first);
    EXPECT_EQ(std::vector<int>(playersi, playersi + 5), (std::vector<int>{3, 5, 0, 0, 0}));
    EXPECT_EQ(std::string(players[0]), "ann");
    EXPECT_EQ(std::string(players[3]), "7");
}

// Every byte a name line can hold (all but the line feed), eighteen to a
// name, five names to a file.
static std::vector<std::string> names_of_every_byte()
{
    std::string bytes;
    for (int b = 1; b < 256; b++)
        if (b != '\n')
            bytes += (char)b;
    std::vector<std::string> names;
    for (size_t i = 0; i < bytes.size(); i += 18)
        names.push_back(bytes.substr(i, 18));
    return names;
}

class EveryByte : public GameTest {
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
    void show_table()
    {
        APPMODE = MODE_SCORES;
        LAPPMODE = 0;
        release(5, 5);
        highscores();
    }
};

TEST_F(EveryByte, NamesReadShownAndWrittenBackUnchanged)
{
    std::vector<std::string> names = names_of_every_byte();
    ASSERT_EQ(names.size(), 15u);
    for (size_t first = 0; first < names.size(); first += 5) {
        std::string file;
        std::vector<std::pair<std::string, std::string>> rows;
        for (size_t i = first; i < first + 5; i++) {
            int level = (int)i % 13;
            file += names[i] + "\n" + std::to_string(level) + "\n";
            rows.push_back({names[i], win[level]});
        }
        write_file("highscores", file);
        rendered.clear();
        capture_stdout();
        loadh();
        show_table();
        saveh();
        captured_stdout();
        EXPECT_TRUE(rows_drawn(rows)) << "names from " << first;
        EXPECT_EQ(read_file("highscores"), file) << "names from " << first;
    }
}

TEST_F(EveryByte, NamesOfElevenBytesEnterTheTableAndComeBack)
{
    std::string bytes;
    for (const std::string &name : names_of_every_byte())
        bytes += name;
    for (size_t i = 0; i < bytes.size(); i += 11) {
        std::string name = bytes.substr(i, 11);
        unlink("highscores");
        loadh();
        insert_score(name.c_str(), 12);
        capture_stdout();
        saveh();
        captured_stdout();
        EXPECT_EQ(read_file("highscores"), std::string(nobody) + nobody + nobody + nobody + name + "\n12\n");
        loadh();
        EXPECT_EQ(std::string(players[4]), name + "\n");
        rendered.clear();
        capture_stdout();
        show_table();
        captured_stdout();
        EXPECT_TRUE(rows_drawn({{name, "10000000"}})) << i;
    }
}

// ------------------------------------------------------------ questions

class HostileQuestions : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        // Question files of our own instead of the shared placeholders.
        unlink("quest");
        mkdir("quest", 0755);
        mkdir("quest/eng", 0755);
    }
    void TearDown() override
    {
        free_question(&easy);
        free_question(&med);
        free_question(&hard);
        GameTest::TearDown();
    }
};

// Every position of the line tells where it is: its pieces can be placed.
static std::string long_line(char first)
{
    std::string line;
    for (int i = 0; i < 10000; i++)
        line += (char)(first + i % 26);
    return line;
}

TEST_F(HostileQuestions, LinesOfTenThousandCharactersAreReadInPieces)
{
    std::string a = long_line('a'), b = long_line('A');
    std::string text = a + "\n" + b + "\nx\n1000\n";
    for (int q = 0; q < 3; q++)
        text += "Q" + std::to_string(q) + "\n\none\ntwo\nthree\nfour\n1000\n";
    write_file(question_path, text);
    forced_rand.assign({0, 1, 2, 3, 0, 1, 2, 3});
    ASSERT_EQ(load_question(question_path, 1), 0);
    // 4 + 21 line feeds: three questions, the rest ignored.
    ASSERT_EQ(easy[0].count, 3);
    // Reads of 299 bytes, each losing its last byte; the answer slots
    // follow the forced draws.
    EXPECT_EQ(std::string(easy[0].line1), a.substr(0, 298));
    EXPECT_EQ(std::string(easy[0].line2), a.substr(299, 298));
    for (int k = 0; k < 4; k++)
        EXPECT_EQ(std::string(easy[0].answer[k]), a.substr(598 + 299 * k, 298)) << k;
    EXPECT_EQ(easy[0].correct, 0);  // the code line read letters
    EXPECT_EQ(std::string(easy[1].line1), a.substr(1893, 298));
    for (int q = 0; q < 3; q++)
        for (const char *field : {easy[q].line1, easy[q].line2, easy[q].answer[0], easy[q].answer[1],
                                  easy[q].answer[2], easy[q].answer[3]})
            EXPECT_LE(strlen(field), 298u);
    free_question(&easy);

    // And the exact pieces, for every record, against the format.
    EXPECT_EQ(check_question_file((const uint8_t *)text.data(), text.size()), "");
}

TEST_F(HostileQuestions, AGameWithOverlongLinesDrawsTheirPieces)
{
    std::string text;
    for (int line = 0; line < 7 * 5; line++)
        text += long_line((char)('a' + line % 3)) + "\n";
    for (const char *level : {"latwe", "srednie", "trudne"})
        write_file(std::string("quest/eng/") + level + ".qst", text);
    choose_english();
    new_game();
    type('q');
    type(SDLK_RETURN);
    click_slot(0);
    click_slot(0);
    click(5, 5);
    quit_from_menu();
    capture_stdout();
    ASSERT_EQ(run_game(), 0);
    captured_stdout();
    size_t questions_drawn = 0;
    for (const std::string &t : rendered) {
        EXPECT_LE(t.size(), 298u);
        questions_drawn += t.size() == 298;
    }
    EXPECT_GE(questions_drawn, 6u);
    EXPECT_TRUE(file_exists("highscores"));
}

TEST_F(HostileQuestions, AMillionLinesLoadInBoundedTime)
{
    const int questions = 1000000 / 7;  // 142857, and one line left over
    std::string text;
    text.reserve(16u << 20);
    for (int q = 0; q < questions; q++) {
        std::string n = std::to_string(q);
        text += "Question " + n + "\n\nA" + n + "\nB" + n + "\nC" + n + "\nD" + n + "\n" +
                (q % 2 ? "0001" : "1000") + "\n";
    }
    text += "left over\n";
    ASSERT_EQ(std::count(text.begin(), text.end(), '\n'), 1000000);
    write_file(question_path, text);

    auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(load_question(question_path, 1), 0);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("load_seconds", std::to_string(seconds));
    printf("a million lines loaded in %.2f s\n", seconds);
    EXPECT_LT(seconds, 30.0);

    ASSERT_EQ(easy[0].count, questions);
    for (int q : {0, 1, 70000, questions - 2, questions - 1}) {
        std::string n = std::to_string(q);
        EXPECT_EQ(std::string(easy[q].line1), "Question " + n);
        int slot = easy[q].correct == 1000 ? 0 : easy[q].correct == 100 ? 1 : easy[q].correct == 10 ? 2 : 3;
        EXPECT_EQ(std::string(easy[q].answer[slot]), (q % 2 ? "D" : "A") + n);
    }
    static const Question zero = {};
    EXPECT_EQ(memcmp(&easy[questions], &zero, sizeof zero), 0);
}
