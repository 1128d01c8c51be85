// One input through each of the game's three file readers, in the current folder, and what went wrong ("" when
// nothing did): the fuzzers' checks, and the replay's of what they found.
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "quiz/quiz.h"
#include "scores/scores_local.h"
#include "shell/shell_local.h"

static std::string slurp(const char *path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}
static void spill(const char *path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// Any bytes load as whole records, one a group of seven lines, each text ended within its 299 bytes, and then
// one all zero. How lines become questions is the main suite's.
static std::string check_questions(const std::string &bytes)
{
    spill("questions", bytes);
    if (load_question("questions", 1) != 0 || easy == NULL)
        return "an existing file did not load";
    int count = (int)(std::count(bytes.begin(), bytes.end(), '\n') / 7);
    static const Question zero = {};
    std::string problem = easy[0].count != count ? "the count is not the groups of seven lines"
                          : memcmp(&easy[count], &zero, sizeof zero) != 0 ? "no zero record after the last" : "";
    for (int q = 0; q < count && problem.empty(); q++)
        for (const char *text : {easy[q].line1, easy[q].line2, easy[q].answer[0], easy[q].answer[1],
                                 easy[q].answer[2], easy[q].answer[3]})
            if (memchr(text, 0, 299) == NULL)
                problem = "question " + std::to_string(q) + " has a text of more than 298 bytes";
    free_question(&easy);
    return problem;
}

// Whatever is read saves as a table that reads and saves again byte for byte, each name ended, no temporary
// file left. Where a result goes is the main suite's.
static std::string check_highscores(const std::string &bytes)
{
    spill("highscores", bytes);
    loadh();
    saveh();
    std::string saved = slurp("highscores");
    loadh();
    saveh();
    insert_score("newest", (int)(bytes.size() % 13));  // only for the sanitizers
    bool ended = std::all_of(players, players + 5, [](const char *name) { return memchr(name, 0, 20) != NULL; });
    bool same = ended && slurp("highscores") == saved && access("highscores.tmp", F_OK) != 0;
    return same ? "" : "the table saved as " + saved + " saves otherwise, or a name is not ended";
}

static std::string check_config(const std::string &bytes)
{
    spill("config", bytes);
    loadc();
    std::string read = std::to_string(fullscreen) + " " + std::to_string(music) + "\n";
    savec();
    fullscreen = music = 12345;
    loadc();
    std::string saved = slurp("config"), again = std::to_string(fullscreen) + " " + std::to_string(music) + "\n";
    return saved == read && again == read ? "" : "settings " + read + " saved as " + saved;
}
