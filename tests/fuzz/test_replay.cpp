// Every seed and every input a fuzzer once failed on, through the same
// checks, in both builds and without clang.
#include <filesystem>

#include "tests/fuzz/checks.h"
#include "tests/harness.h"

using namespace harness;

class Replay : public GameTest {
protected:
    void replay(std::string (*check)(const std::string &), std::vector<std::string> dirs, size_t at_least)
    {
        size_t replayed = 0;
        for (const std::string &dir : dirs) {
            for (const auto &file : std::filesystem::directory_iterator(dir)) {
                if (file.path().filename().string()[0] == '.')
                    continue;
                capture_stdout();  // the high-score trace lines
                std::string problem = check(read_file(file.path()));
                captured_stdout();
                EXPECT_EQ(problem, "") << file.path();
                replayed++;
            }
        }
        EXPECT_GE(replayed, at_least);
    }
};

TEST_F(Replay, TheReadersHoldOnEverySeedAndRegression)
{
    replay(check_questions, {GAME_DIR "/quest/pol", GAME_DIR "/quest/eng", GAME_DIR "/quest/swe",
                             FUZZ_DIR "/corpus/questions", FUZZ_DIR "/regressions/questions"}, 9 + 9);
    replay(check_highscores, {FUZZ_DIR "/corpus/highscores", FUZZ_DIR "/regressions/highscores"}, 11);
    replay(check_config, {FUZZ_DIR "/corpus/config", FUZZ_DIR "/regressions/config"}, 11);
}
