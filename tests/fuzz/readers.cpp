#include "tests/fuzz/readers.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "quiz/quiz.h"
#include "scores/scores.h"
#include "shell/shell.h"

const char *const question_path = "quest/eng/latwe.qst";

namespace {

void write_whole(const char *path, const uint8_t *data, size_t size)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write((const char *)data, (std::streamsize)size);
}

std::string read_whole(const char *path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

bool exists(const char *path) { return access(path, F_OK) == 0; }

// Bytes made printable for a report.
std::string shown(const std::string &text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c >= 32 && c < 127 && c != '\\') {
            out += (char)c;
        } else {
            char esc[8];
            snprintf(esc, sizeof esc, "\\x%02x", c);
            out += esc;
        }
    }
    return out;
}

// ------------------------------------------------------------ questions

// The reads the format describes, replayed on the bytes: each takes at most
// bound - 1 bytes and stops after a line feed; none at the end of the file.
struct LineReads {
    const std::string &bytes;
    size_t pos = 0;

    bool next(size_t bound, std::string *piece)
    {
        piece->clear();
        if (pos >= bytes.size())
            return false;
        while (piece->size() < bound - 1 && pos < bytes.size()) {
            char c = bytes[pos++];
            *piece += c;
            if (c == '\n')
                break;
        }
        return true;
    }
};

std::string c_string(const std::string &bytes) { return bytes.substr(0, bytes.find('\0')); }

// A text field after one read: the last byte read dropped. A NUL byte read
// in a line ends the text earlier, and the reader, which cannot tell how
// many bytes came, may drop the byte before that NUL instead: accepted too.
bool field_matches(const char *field, bool was_read, const std::string &piece)
{
    if (!was_read)
        return field[0] == 0;
    std::string text = c_string(piece.substr(0, piece.size() - 1));
    if (text == field)
        return true;
    return piece.find('\0') != std::string::npos && !text.empty() && text.substr(0, text.size() - 1) == field;
}

const int slot_codes[4] = {1000, 100, 10, 1};

std::string check_record(const Question &q, int index, LineReads &reads)
{
    std::string where = "question " + std::to_string(index) + ": ";
    const char *fields[6] = {q.line1, q.line2, q.answer[0], q.answer[1], q.answer[2], q.answer[3]};
    for (const char *field : fields)
        if (memchr(field, 0, 301) == NULL || strlen(field) > 298)
            return where + "a text field holds more than 298 bytes";

    std::string piece;
    bool read = reads.next(300, &piece);
    if (!field_matches(q.line1, read, piece))
        return where + "line1 is \"" + shown(q.line1) + "\", the file gives \"" + shown(piece) + "\"";
    read = reads.next(300, &piece);
    if (!field_matches(q.line2, read, piece))
        return where + "line2 is \"" + shown(q.line2) + "\", the file gives \"" + shown(piece) + "\"";
    std::string answers[4];
    bool answer_read[4];
    for (int k = 0; k < 4; k++)
        answer_read[k] = reads.next(300, &answers[k]);
    std::string code_line;
    reads.next(100, &code_line);
    int code = atoi(c_string(code_line).c_str());
    int named_line = -1;
    for (int k = 0; k < 4; k++)
        if (code == slot_codes[k])
            named_line = k;

    // Some placing of the four answer lines into the four slots must give
    // every slot's text and the right answer's code.
    int slot_of_line[4] = {0, 1, 2, 3};
    do {
        bool fits = true;
        for (int k = 0; k < 4 && fits; k++)
            fits = field_matches(q.answer[slot_of_line[k]], answer_read[k], answers[k]);
        int expected = named_line < 0 ? code : slot_codes[slot_of_line[named_line]];
        if (fits && q.correct == expected)
            return "";
    } while (std::next_permutation(slot_of_line, slot_of_line + 4));
    return where + "the answers \"" + shown(q.answer[0]) + "\", \"" + shown(q.answer[1]) + "\", \"" +
           shown(q.answer[2]) + "\", \"" + shown(q.answer[3]) + "\" with code " + std::to_string(q.correct) +
           " are no placing of the file's \"" + shown(answers[0]) + "\", \"" + shown(answers[1]) + "\", \"" +
           shown(answers[2]) + "\", \"" + shown(answers[3]) + "\" with code line \"" + shown(code_line) + "\"";
}

// ------------------------------------------------------------ high scores

struct Entry {
    std::string name;
    int level;
    bool operator==(const Entry &o) const { return name == o.name && level == o.level; }
};
typedef std::vector<Entry> Table;

std::string describe(const Table &table)
{
    std::string out;
    for (const Entry &e : table)
        out += "\"" + shown(e.name) + "\":" + std::to_string(e.level) + " ";
    return out;
}

// The table as a player sees it: each name up to its first newline.
std::string snapshot(Table *table)
{
    table->clear();
    for (int i = 0; i < 5; i++) {
        const char *end = (const char *)memchr(players[i], 0, sizeof players[i]);
        if (end == NULL)
            return "entry " + std::to_string(i) + "'s name has no terminator in its 20 bytes";
        std::string name(players[i], (size_t)(end - players[i]));
        size_t newline = name.find('\n');
        if (newline != std::string::npos && newline != name.size() - 1)
            return "entry " + std::to_string(i) + "'s name holds a newline before its end";
        table->push_back(Entry{name.substr(0, newline), playersi[i]});
    }
    return "";
}

bool ascending(const Table &t)
{
    for (size_t i = 1; i < t.size(); i++)
        if (t[i - 1].level > t[i].level)
            return false;
    return true;
}

// What the game writes at exit must read back as the same table, and be
// written again byte for byte: a run that changes nothing changes no file.
std::string save_and_reload(const Table &table)
{
    unlink("highscores");
    saveh();
    std::string first = read_whole("highscores");
    if (exists("highscores.tmp"))
        return "the temporary file was left behind";
    if (std::count(first.begin(), first.end(), '\n') != 10 || first.back() != '\n')
        return "the saved file is not ten lines: \"" + shown(first) + "\"";

    memset(players, 'X', sizeof players);
    for (int &level : playersi)
        level = INT_MIN + 7;
    loadh();
    Table again;
    std::string problem = snapshot(&again);
    if (!problem.empty())
        return "reloading: " + problem;
    for (int i = 0; i < 5; i++) {
        if (again[i].level != table[i].level || table[i].name.compare(0, again[i].name.size(), again[i].name) != 0)
            return "the table " + describe(table) + "was saved as \"" + shown(first) + "\" and reads back as " +
                   describe(again);
    }
    saveh();
    std::string second = read_whole("highscores");
    if (second != first)
        return "saving the table read back from \"" + shown(first) + "\" writes \"" + shown(second) + "\"";
    return "";
}

}  // namespace

std::string check_question_file(const uint8_t *data, size_t size)
{
    std::string bytes((const char *)data, size);
    write_whole(question_path, data, size);
    free_question(&easy);
    free_question(&med);
    free_question(&hard);

    // A level that is none of the three only counts.
    if (load_question(question_path, 7) != 0 || easy != NULL || med != NULL || hard != NULL)
        return "loading for level 7 gave a result or a pool";

    if (load_question(question_path, 1) != 0)
        return "an existing file did not load";
    if (easy == NULL)
        return "no pool";
    int count = (int)(std::count(bytes.begin(), bytes.end(), '\n') / 7);
    std::string problem;
    if (easy[0].count != count)
        problem = "count " + std::to_string(easy[0].count) + " for " + std::to_string(count) + " groups of seven line feeds";
    LineReads reads{bytes};
    for (int q = 0; q < count && problem.empty(); q++) {
        if (q > 0 && easy[q].count != 0)
            problem = "question " + std::to_string(q) + " holds a count";
        else
            problem = check_record(easy[q], q, reads);
    }
    static const Question zero = {};
    if (problem.empty() && memcmp(&easy[count], &zero, sizeof zero) != 0)
        problem = "the record after the last question is not all zero";
    free_question(&easy);
    if (problem.empty() && easy != NULL)
        problem = "the pool was freed but is still referred to";
    return problem;
}

std::string check_highscores(const uint8_t *data, size_t size)
{
    write_whole("highscores", data, size);
    memset(players, 0, sizeof players);
    memset(playersi, 0, sizeof playersi);
    loadh();
    Table before;
    std::string problem = snapshot(&before);
    if (!problem.empty())
        return "loading: " + problem;
    problem = save_and_reload(before);
    if (!problem.empty())
        return problem;

    // A game's result, made from the input so the fuzzer varies it: a name
    // of 0 to 11 letters, as the name entry gives, and a level on the ladder.
    unsigned sum = 0;
    for (size_t i = 0; i < size; i++)
        sum = sum * 31 + data[i];
    std::string name;
    for (size_t i = 0; i < size % 12; i++)
        name += (char)('a' + (sum >> i) % 26);
    int level = (int)(sum % 13);
    Table start;
    snapshot(&start);
    insert_score(name.c_str(), level);
    Table after;
    problem = snapshot(&after);
    if (!problem.empty())
        return "after a result: " + problem;
    Entry result{name, level};
    std::string what = "the result " + describe({result}) + "in " + describe(start) + "gave " + describe(after);
    if (ascending(start)) {
        // The lowest goes; the result ranks above every entry it equals.
        Table expected(start.begin() + 1, start.end());
        if (start[0].level <= level) {
            size_t at = 0;
            while (at < expected.size() && expected[at].level <= level)
                at++;
            expected.insert(expected.begin() + (long)at, result);
        } else {
            expected = start;
        }
        if (after != expected)
            return what;
    } else {
        // Out of order, one entry may go, and only for the result.
        Table left = start;
        for (const Entry &e : after) {
            auto it = std::find(left.begin(), left.end(), e);
            if (it != left.end())
                left.erase(it);
            else if (!(e == result))
                return what;
        }
        if (left.size() > 1 || (left.size() == 1 && std::find(after.begin(), after.end(), result) == after.end()))
            return what;
    }
    problem = save_and_reload(after);
    if (!problem.empty())
        return "after a result: " + problem;
    return "";
}

std::string check_config(const uint8_t *data, size_t size)
{
    write_whole("config", data, size);
    fullscreen = music = 0;
    loadc();
    int f = fullscreen, m = music;
    unlink("config");
    savec();
    std::string saved = read_whole("config");
    if (exists("config.tmp"))
        return "the temporary file was left behind";
    char expected[32];
    snprintf(expected, sizeof expected, "%d %d\n", f, m);
    if (saved != expected)
        return "the settings " + std::to_string(f) + " " + std::to_string(m) + " were saved as \"" + shown(saved) + "\"";
    fullscreen = music = 12345;
    loadc();
    if (fullscreen != f || music != m)
        return "\"" + shown(saved) + "\" reads back as " + std::to_string(fullscreen) + " " + std::to_string(music);
    return "";
}
