// Every seed and every input a fuzzer once failed on, through the same
// checks, in both builds and without clang.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/fuzz/readers.h"
#include "tests/harness.h"

using namespace harness;

static std::vector<std::string> files_in(const std::string &dir)
{
    std::vector<std::string> files;
    DIR *d = opendir(dir.c_str());
    if (d == NULL)
        return files;
    while (struct dirent *e = readdir(d)) {
        std::string path = dir + "/" + e->d_name;
        struct stat st;
        if (e->d_name[0] != '.' && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            files.push_back(path);
    }
    closedir(d);
    std::sort(files.begin(), files.end());
    return files;
}

class Replay : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        // The question check writes its file here: not into the shared data.
        unlink("quest");
        mkdir("quest", 0755);
        mkdir("quest/eng", 0755);
    }
    void replay(std::string (*check)(const uint8_t *, size_t), const std::vector<std::string> &dirs,
                size_t at_least)
    {
        size_t replayed = 0;
        for (const std::string &dir : dirs) {
            for (const std::string &file : files_in(dir)) {
                std::string data = read_file(file);
                capture_stdout();  // the high-score writer's trace lines
                std::string problem = check((const uint8_t *)data.data(), data.size());
                captured_stdout();
                EXPECT_EQ(problem, "") << file;
                replayed++;
            }
        }
        EXPECT_GE(replayed, at_least);
    }
};

TEST_F(Replay, QuestionFiles)
{
    replay(check_question_file,
           {GAME_DIR "/quest/pol", GAME_DIR "/quest/eng", GAME_DIR "/quest/swe", FUZZ_DIR "/corpus/questions",
            FUZZ_DIR "/regressions/questions"},
           9 + 5);
}

TEST_F(Replay, HighScoreFiles)
{
    replay(check_highscores, {FUZZ_DIR "/corpus/highscores", FUZZ_DIR "/regressions/highscores"}, 5);
}

TEST_F(Replay, ConfigFiles)
{
    replay(check_config, {FUZZ_DIR "/corpus/config", FUZZ_DIR "/regressions/config"}, 5);
}
