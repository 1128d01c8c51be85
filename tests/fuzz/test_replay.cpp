// The seeds and every input a fuzzer once failed on, through the fuzzers' checks, in every build, clang or not.
#include <filesystem>

#include "tests/fuzz/checks.h"
#include "tests/harness.h"

static void replay(std::string (*check)(const std::string &), const std::string &reader)
{
    for (const char *dir : {FUZZ_DIR "/corpus/", FUZZ_DIR "/regressions/"})
        for (const auto &file : std::filesystem::directory_iterator(dir + reader))  // .keep too: one more empty input
            EXPECT_EQ(check(harness::read_file(file.path())), "") << file.path();
}

TEST_F(GameTest, EverySeedAndRegressionPassesTheReadersChecks)
{
    replay(check_questions, "questions");
    replay(check_highscores, "highscores");
    replay(check_config, "config");
}
