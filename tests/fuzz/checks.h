// One input through each of the game's three file readers, in the current
// folder, and what went wrong ("" when nothing did). Shared by the fuzzers
// and by the replay of what they found.
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "quiz/quiz.h"
#include "scores/scores.h"
#include "shell/shell.h"

static std::string slurp(const char *path)
{
    std::stringstream s;
    s << std::ifstream(path).rdbuf();
    return s.str();
}
static void spill(const char *path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }
static int slot_of(int code) { return code == 1000 ? 0 : code == 100 ? 1 : code == 10 ? 2 : code == 1 ? 3 : -1; }

// Any bytes load as whole records; a file of short lines without NUL loads
// as written, the four answers in some order and the code following the
// right one.
static std::string check_questions(const std::string &bytes)
{
    spill("questions", bytes);
    if (load_question("questions", 1) != 0 || easy == NULL)
        return "an existing file did not load";
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    bool plain = bytes.find('\0') == std::string::npos;  // and a code line's read takes 99 bytes
    for (std::string line; std::getline(in, line); plain &= line.size() < 98)
        lines.push_back(line);
    int count = (int)(std::count(bytes.begin(), bytes.end(), '\n') / 7);
    static const Question zero = {};
    std::string problem = easy[0].count != count ? "the count is not the groups of seven lines"
                          : memcmp(&easy[count], &zero, sizeof zero) != 0 ? "the record after the last is not zero" : "";
    for (int q = 0; q < count && problem.empty(); q++) {
        const Question &r = easy[q];
        for (const char *field : {r.line1, r.line2, r.answer[0], r.answer[1], r.answer[2], r.answer[3]})
            if (memchr(field, 0, 299) == NULL)
                problem = "a text of more than 298 bytes";
        if (!plain || !problem.empty())
            continue;
        const std::string *l = &lines[(size_t)q * 7];
        std::vector<std::string> file(l + 2, l + 6), got(r.answer, r.answer + 4);
        int code = atoi(l[6].c_str()), named = slot_of(code), right = slot_of(r.correct);
        if (l[0] != r.line1 || l[1] != r.line2 || !std::is_permutation(file.begin(), file.end(), got.begin()))
            problem = "question " + std::to_string(q) + " is not the file's";
        else if (named < 0 ? r.correct != code : right < 0 || got[(size_t)right] != file[(size_t)named])
            problem = "question " + std::to_string(q) + "'s right answer is not the file's";
    }
    free_question(&easy);
    return problem;
}

// The table as a player sees it: each name up to a line feed, and its level.
static std::vector<std::string> table_now(size_t longest = 19)
{
    std::vector<std::string> t;
    for (int i = 0; i < 5; i++)
        t.push_back(memchr(players[i], 0, sizeof players[i]) == NULL ? "a name without its end"
                    : std::string(players[i], std::min(strcspn(players[i], "\n"), longest)) + ":" + std::to_string(playersi[i]));
    return t;
}


// What is saved reads back as the table (names cut to 18 bytes) and saves
// again byte for byte; a result takes the place the ladder gives it.
static std::string check_highscores(const std::string &bytes)
{
    spill("highscores", bytes);
    loadh();
    std::vector<std::string> first = table_now(18);
    saveh();
    std::string saved = slurp("highscores");
    loadh();
    if (table_now() != first || access("highscores.tmp", F_OK) == 0)
        return "the table saved as " + saved + " reads back otherwise";
    int level = (int)(bytes.size() % 13), place = 0;
    bool sorted = std::is_sorted(playersi, playersi + 5);
    while (place < 5 && playersi[place] <= level)
        place++;
    std::vector<std::string> want = first;
    if (place > 0)  // the lowest goes; ties rank the newest higher
        want.insert(want.begin() + place, "newest:" + std::to_string(level)), want.erase(want.begin());
    insert_score("newest", level);
    if (sorted && table_now() != want)
        return "a result of " + std::to_string(level) + " is misplaced in the table saved as " + saved;
    return "";
}

static std::string check_config(const std::string &bytes)
{
    spill("config", bytes);
    loadc();
    int f = fullscreen, m = music;
    savec();
    std::string saved = slurp("config");
    fullscreen = music = 12345;
    loadc();
    bool same = saved == std::to_string(f) + " " + std::to_string(m) + "\n" && fullscreen == f && music == m;
    return same ? "" : "settings " + std::to_string(f) + " " + std::to_string(m) + " saved as " + saved;
}
