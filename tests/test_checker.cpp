#include <stdio.h>
#include <string.h>
#include <sys/wait.h>

#include "quiz/quiz.h"
#include "shell/shell.h"
#include "tests/harness.h"

using namespace harness;

struct Result {
    int status;
    std::string out;
};

static Result check(const std::string &args)
{
    std::string command = std::string(CHECKER_PATH) + " " + args + " 2>&1";
    FILE *pipe = popen(command.c_str(), "r");
    Result r{-1, ""};
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        r.out.append(buffer, n);
    int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

static std::string question(const std::string &q, const std::string &code = "1000",
                            const std::string &answer = "Paris")
{
    return q + "\n\n" + answer + "\nLyon\nNice\nLille\n" + code + "\n";
}

static std::string four(const std::string &prefix = "Q")
{
    std::string text;
    for (int i = 0; i < 4; i++)
        text += question(prefix + std::to_string(i));
    return text;
}

class Checker : public GameTest {};

TEST_F(Checker, CleanFilePassesAndHelpExplainsTheFormat)
{
    write_file("ok.qst", four());
    Result r = check("ok.qst");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "ok.qst: 4 questions, 0 problems\n");
    Result help = check("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("seven lines per question"), std::string::npos);
    EXPECT_NE(help.out.find("iconv"), std::string::npos);
    EXPECT_EQ(check("").status, 2);
    EXPECT_EQ(check("missing.qst").status, 2);
}

TEST_F(Checker, EachFaultHasItsOwnMessageAndLine)
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
    // Latin-1 letters are not mistaken for UTF-8, and 0100 is answer 2.
    write_file("ok.qst", question("Vad h\xe4nder n\xe4r?", "0100") + four());
    EXPECT_EQ(check("ok.qst").status, 0);
}

// The shipped questions, as the build converted them for the game.
class ShippedQuestions : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        open_sdl();
    }
    void TearDown() override
    {
        free_question(&easy);
        close_sdl();
        GameTest::TearDown();
    }
    static std::string file(const char *lang, const char *level)
    {
        return std::string(GAME_DIR) + "/quest/" + lang + "/" + level + ".qst";
    }
};

TEST_F(ShippedQuestions, PassTheCheckerAndMatchAcrossLanguages)
{
    const char *levels[] = {"latwe", "srednie", "trudne"};
    for (const char *level : levels) {
        int counts[3];
        int i = 0;
        for (const char *lang : {"pol", "eng", "swe"}) {
            Result r = check(file(lang, level));
            EXPECT_EQ(r.status, 0) << r.out;
            ASSERT_EQ(load_question(file(lang, level).c_str(), 1), 0);
            counts[i++] = easy[0].count;
            EXPECT_GE(easy[0].count, 60) << lang << "/" << level;
            for (int q = 0; q < easy[0].count; q++) {
                const Question &question = easy[q];
                int w, h;
                TTF_SizeText(font2, question.line1, &w, &h);
                EXPECT_LE(w, 500) << question.line1;
                EXPECT_GT(strlen(question.line1), 0u);
                if (question.line2[0]) {
                    TTF_SizeText(font2, question.line2, &w, &h);
                    EXPECT_LE(w, 500) << question.line2;
                }
                for (const char *answer : question.answer) {
                    EXPECT_GT(strlen(answer), 0u) << question.line1;
                    TTF_SizeText(font2, answer, &w, &h);
                    EXPECT_LE(w, 205) << answer;
                }
                int c = question.correct;
                EXPECT_TRUE(c == 1000 || c == 100 || c == 10 || c == 1) << question.line1;
            }
            free_question(&easy);
        }
        EXPECT_EQ(counts[0], counts[1]) << level;
        EXPECT_EQ(counts[1], counts[2]) << level;
    }
}
