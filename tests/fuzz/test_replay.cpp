// Every seed and every input a fuzzer once failed on, through the same
// checks, in both builds and without clang.
#include <filesystem>

#include "tests/fuzz/checks.h"
#include "tests/harness.h"

static void replay(std::string (*check)(const std::string &), const std::string &reader, int at_least,
                   std::vector<std::string> dirs = {})
{
    int replayed = 0;
    dirs.insert(dirs.end(), {FUZZ_DIR "/corpus/" + reader, FUZZ_DIR "/regressions/" + reader});
    for (const std::string &dir : dirs)
        for (const auto &file : std::filesystem::directory_iterator(dir))
            if (file.path().filename().string()[0] != '.') {
                harness::capture_stdout();  // the high-score trace lines
                EXPECT_EQ(check(harness::read_file(file.path())), "") << file.path();
                harness::captured_stdout();
                replayed++;
            }
    EXPECT_GE(replayed, at_least) << reader;
}

TEST_F(GameTest, EverySeedAndRegressionPassesTheReadersChecks)
{
    replay(check_questions, "questions", 9 + 9, {GAME_DIR "/quest/pol", GAME_DIR "/quest/eng", GAME_DIR "/quest/swe"});
    replay(check_highscores, "highscores", 11);
    replay(check_config, "config", 11);
}
