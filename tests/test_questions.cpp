// Question files as the game reads them, and the authors' checker.
#include <stdio.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "tests/harness.h"

using namespace harness;

static std::string question(const std::string &q, const std::string &code = "1000", const std::string &a = "Paris")
{
    return q + "\n\n" + a + "\nLyon\nNice\nLille\n" + code + "\n";
}

class Questions : public GameTest {};

// Rows: the file, the shuffle's draws, then the first question as read.
TEST_F(Questions, ReadingShufflingAndCodes)
{
    std::string x298(298, 'x');
    struct Row {
        const char *name;
        std::string file;
        std::deque<int> draws;
        int count;
        const char *line1, *a, *b, *c, *d;
        int correct;
    } rows[] = {
        {"code follows its line", question("Q", "100"), {2, 0, 3, 1}, 1, "Q", "Lyon", "Lille", "Paris", "Nice", 1000},
        {"code of the last line", question("Q", "1"), {2, 0, 3, 1}, 1, "Q", "Lyon", "Lille", "Paris", "Nice", 100},
        {"first line to D", question("Q", "1000"), {3, 2, 1, 0}, 1, "Q", "Lille", "Nice", "Lyon", "Paris", 1},
        {"taken slots are drawn again", question("Q", "10"), {1, 1, 1, 0, 0, 1, 3, 3, 2}, 1, "Q", "Lyon", "Paris",
         "Lille", "Nice", 1},
        {"code off the list kept", question("Q", "7"), {0, 1, 2, 3}, 1, "Q", "Paris", "Lyon", "Nice", "Lille", 7},
        {"whole groups only", question("Q") + "a\nb\nc\nd\ne\nf\n", {0, 1, 2, 3}, 1, "Q", "Paris", "Lyon", "Nice",
         "Lille", 1000},
        {"carriage return kept", "Q\r\n\r\nA\r\nB\r\nC\r\nD\r\n1000\r\n", {0, 1, 2, 3}, 1, "Q\r", "A\r", "B\r", "C\r",
         "D\r", 1000},
        // 299 bytes a read: the rest of a longer line becomes the next field.
        {"overlong line shifts", x298 + "yz\n\nA\nB\nC\nD\n1000\n" + question("R"), {0, 1, 2, 3}, 2,
         (x298).c_str(), "", "A", "B", "C", 0},
        {"298 characters fit", x298 + "\n\nA\nB\nC\nD\n10\n", {0, 1, 2, 3}, 1, x298.c_str(), "A", "B", "C", "D", 10},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        write_file("q.qst", row.file);
        forced_rand = row.draws;
        ASSERT_EQ(load_question("q.qst", 1), 0);
        ASSERT_NE(easy, nullptr);
        EXPECT_EQ(easy[0].count, row.count);
        EXPECT_STREQ(easy[0].line1, row.line1);
        EXPECT_STREQ(easy[0].answer[0], row.a);
        EXPECT_STREQ(easy[0].answer[1], row.b);
        EXPECT_STREQ(easy[0].answer[2], row.c);
        EXPECT_STREQ(easy[0].answer[3], row.d);
        EXPECT_EQ(easy[0].correct, row.correct);
        EXPECT_EQ(easy[row.count].line1[0], 0);  // the pool ends in an empty record
        free_question(&easy);
        EXPECT_EQ(easy, nullptr);
    }
    // A level without a pool only counts (the games fill the other two).
    EXPECT_EQ(load_question("q.qst", 4), 0);
    EXPECT_TRUE(easy == NULL && med == NULL && hard == NULL);
}

struct Result {
    int status;
    std::string out;
};

static Result check(const std::string &args)
{
    FILE *pipe = popen((std::string(CHECKER_PATH) + " " + args + " 2>&1").c_str(), "r");
    Result r{-1, ""};
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        r.out.append(buffer, n);
    int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

static std::string four()
{
    std::string text;
    for (int i = 0; i < 4; i++)
        text += question("Q" + std::to_string(i));
    return text;
}

TEST_F(Questions, CheckerNamesEachFaultByLine)
{
    struct {
        std::string content, expected;
    } cases[] = {
        {four() + "extra\nlines\n", "ok.qst:29: the last 2 lines do not make a whole question"},
        {four() + "no feed", "ok.qst:29: the last 1 line does not make a whole question"},
        {question("A", "0100") + question("B", "11") + four(), "ok.qst:14: the code line reads 11"},
        {question(std::string(299, 'x')) + four(), "ok.qst:1: the line has 299 characters"},
        {question("Caf\xc3\xa9?") + four(), "ok.qst:1: the text looks like UTF-8"},
        {question("Why?\r") + four(), "ok.qst:1: carriage return before the line feed"},
        {question("W", "1000", std::string(40, 'W')) + four(), "ok.qst:3: the answer 1 is"},
        {question(std::string(70, 'M')) + four(), "ok.qst:1: the question is"},
        {question("A") + question("B") + question("C"), "ok.qst:21: only 3 questions"},
        {four() + question("Q2"), "ok.qst:29: the question repeats the one on line 15"},
    };
    for (const auto &c : cases) {
        write_file("ok.qst", c.content);
        Result r = check("ok.qst");
        EXPECT_EQ(r.status, 1) << r.out;
        EXPECT_NE(r.out.find(c.expected), std::string::npos) << r.out;
    }
    write_file("ok.qst", question("Vad h\xe4nder n\xe4r?", "0100") + four());
    Result clean = check("ok.qst");
    EXPECT_EQ(clean.status, 0) << clean.out;
    EXPECT_NE(clean.out.find("ok.qst: 5 questions, 0 problems"), std::string::npos) << clean.out;
    EXPECT_EQ(check("missing.qst").status, 2);
}

// One language's three files together: each pair named by file and line.
TEST_F(Questions, CheckerFindsRepeatsAndGiveAwaysBetweenFiles)
{
    auto q = [](const std::string &text, const std::string &right, const std::string &wrong) {
        return text + "\n\nx" + text + "\n" + wrong + "\n" + right + "\ny" + text + "\n10\n";
    };
    auto filler = [&](const std::string &p, int n) {
        std::string text;
        for (int i = 0; i < n; i++)
            text += q(p + std::to_string(i), p + "r" + std::to_string(i), p + "w" + std::to_string(i));
        return text;
    };
    mkdir("lang", 0755);
    write_file("lang/latwe.qst", q("Who painted it?", "Monet", "Manet") + filler("L", 3));
    write_file("lang/srednie.qst", q("Which river?", "Seine", "Monet") + q("A painter like Monet?", "Degas", "Z") +
                                       filler("M", 2) + q("Who painted it?", "Sisley", "Q"));
    write_file("lang/trudne.qst", q("Which sea?", "Seine", "Tagus") + filler("H", 3));
    Result r = check("lang");
    EXPECT_EQ(r.status, 1) << r.out;
    for (const char *pair : {"srednie.qst:1: a wrong answer is the right answer of lang/latwe.qst:1",
                             "srednie.qst:8: the question names the right answer of lang/latwe.qst:1",
                             "srednie.qst:29: the question repeats the one at lang/latwe.qst:1",
                             "trudne.qst:1: the right answer is also the right answer at lang/srednie.qst:1"})
        EXPECT_NE(r.out.find(pair), std::string::npos) << pair << "\n" << r.out;
    EXPECT_NE(r.out.find("lang: 13 questions in all, 4 problems between the files"), std::string::npos) << r.out;
}
