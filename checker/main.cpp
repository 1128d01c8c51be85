// Checks a question file line by line and says what the game would do
// wrong with it, in words an author understands.
#include <SDL/SDL_ttf.h>
#include <ctype.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#ifndef DEFAULT_FONT
#define DEFAULT_FONT "/usr/share/fonts/truetype/ttf-bitstream-vera/Vera.ttf"
#endif

// Where the game draws the texts: a question line from x = 120 in its
// panel, an answer from x = 85 or 405 in its lozenge.
static const int question_width = 500;
static const int answer_width = 205;
static const size_t longest_line = 298;

static const char usage[] =
    "usage: zenobar-check-questions [--font Vera.ttf] FILE.qst|FOLDER...\n"
    "\n"
    "Checks question files of Zenobar. A file is plain Latin-1 (ISO-8859-1)\n"
    "text, seven lines per question, every line ended by a line feed:\n"
    "\n"
    "  1  the question\n"
    "  2  its second line, or an empty line\n"
    "  3  answer 1\n"
    "  4  answer 2\n"
    "  5  answer 3\n"
    "  6  answer 4\n"
    "  7  the right answer: 1000 for answer 1, 100 for 2, 10 for 3, 1 for 4\n"
    "\n"
    "The game shuffles the answers itself. It needs at least four questions\n"
    "in each file, lines of at most 298 characters, and texts narrow enough\n"
    "for their places on the screen (measured with the game's font, Vera at\n"
    "14 points). Convert a UTF-8 file with: iconv -f UTF-8 -t ISO-8859-1\n"
    "\n"
    "Prints one line per problem (file:line: what is wrong) and a summary;\n"
    "exits 0 for a clean file, 1 when it finds a problem, 2 when it cannot\n"
    "read a file or the font.\n"
    "\n"
    "A FOLDER is one language's three files, latwe.qst, srednie.qst and\n"
    "trudne.qst, checked each and then together: no right answer twice, no\n"
    "right answer (of three characters or more) named as a word in another\n"
    "question's text, none offered among another's wrong answers, no question\n"
    "twice.\n";

struct Checker {
    const char *path;
    TTF_Font *font;
    int problems = 0;

    void say(int line, const char *format, ...) __attribute__((format(printf, 3, 4)))
    {
        va_list args;
        va_start(args, format);
        printf("%s:%d: ", path, line);
        vprintf(format, args);
        printf("\n");
        va_end(args);
        problems++;
    }
};

static bool looks_like_utf8(const std::string &text)
{
    for (size_t i = 0; i + 1 < text.size(); i++) {
        unsigned char c = (unsigned char)text[i], d = (unsigned char)text[i + 1];
        if (c >= 0xc2 && c <= 0xf4 && d >= 0x80 && d <= 0xbf)
            return true;
    }
    return false;
}

static int code_value(const std::string &line)
{
    return atoi(line.c_str());  // as the game reads it: 0100 is 100
}

static const char *line_role(int index)
{
    static const char *roles[7] = {"question",  "question's second line", "answer 1", "answer 2",
                                   "answer 3", "answer 4",                "code"};
    return roles[index % 7];
}

static int check_file(const char *path, TTF_Font *font, std::vector<std::string> *kept = NULL)
{
    FILE *file = fopen(path, "rb");
    if (file == NULL) {
        printf("%s: cannot be read\n", path);
        return 2;
    }
    std::vector<std::string> lines;
    std::string current;
    bool last_has_feed = true;
    int c;
    while ((c = getc(file)) != EOF) {
        if (c == '\n') {
            lines.push_back(current);
            current.clear();
            last_has_feed = true;
        } else {
            current += (char)c;
            last_has_feed = false;
        }
    }
    fclose(file);

    Checker check{path, font};
    int count = (int)lines.size() / 7;
    for (size_t i = 0; i < lines.size(); i++) {
        const std::string &text = lines[i];
        int n = (int)i + 1;
        int role = (int)(i % 7);
        if (text.size() > longest_line)
            check.say(n, "the line has %zu characters; the game reads at most %zu and would shift the rest "
                         "of the file by a line",
                      text.size(), longest_line);
        if (!text.empty() && text.back() == '\r')
            check.say(n, "carriage return before the line feed: the game keeps it as part of the text");
        if (looks_like_utf8(text))
            check.say(n, "the text looks like UTF-8; the game reads Latin-1 (convert with iconv -f UTF-8 -t "
                         "ISO-8859-1)");
        if (i >= (size_t)count * 7)
            continue;
        if (role == 6) {
            int code = code_value(text);
            if (code != 1000 && code != 100 && code != 10 && code != 1)
                check.say(n, "the code line reads %d; it must be 1000, 100, 10 or 1 (answer 1 to 4), or the "
                             "question cannot be won",
                          code);
        } else if (font != NULL && !text.empty()) {
            int w = 0, h = 0;
            std::string shown = text.substr(0, longest_line);
            TTF_SizeText(font, shown.c_str(), &w, &h);
            int limit = role < 2 ? question_width : answer_width;
            if (w > limit)
                check.say(n, "the %s is %d pixels wide; at most %d fit on the screen", line_role(role), w,
                          limit);
        }
    }
    int rest = (int)lines.size() % 7 + (last_has_feed ? 0 : 1);
    if (rest > 0)
        check.say(count * 7 + 1, "the last %d line%s do%s not make a whole question of seven lines; the game "
                                 "ignores %s",
                  rest, rest == 1 ? "" : "s", rest == 1 ? "es" : "", rest == 1 ? "it" : "them");
    if (count < 4)
        check.say(count * 7 + (rest > 0 ? 1 : 0), "only %d question%s; the game needs at least 4 in each file",
                  count, count == 1 ? "" : "s");

    std::map<std::string, int> seen;
    for (int q = 0; q < count; q++) {
        std::string key = lines[q * 7] + "\n" + lines[q * 7 + 1];
        auto found = seen.find(key);
        if (found != seen.end())
            check.say(q * 7 + 1, "the question repeats the one on line %d", found->second);
        else
            seen[key] = q * 7 + 1;
    }
    printf("%s: %d question%s, %d problem%s\n", path, count, count == 1 ? "" : "s", check.problems,
           check.problems == 1 ? "" : "s");
    if (kept != NULL)
        kept->assign(lines.begin(), lines.begin() + count * 7);
    return check.problems > 0 ? 1 : 0;
}

static std::string folded(const std::string &text)
{
    std::string out;
    for (unsigned char c : text)
        out += (char)(c >= 0xc0 && c <= 0xde && c != 0xd7 ? c + 0x20 : tolower(c));
    return out;
}

// Latin-1 letters and digits make words; anything else parts them. An
// answer of one or two characters is too common a word to count.
static bool word_char(unsigned char c)
{
    return isalnum(c) || (c >= 0xc0 && c != 0xd7 && c != 0xf7);
}

static bool names_word(const std::string &text, const std::string &word)
{
    for (size_t at = text.find(word); !word.empty() && at != std::string::npos; at = text.find(word, at + 1)) {
        size_t end = at + word.size();
        if ((at == 0 || !word_char(text[at - 1])) && (end == text.size() || !word_char(text[end])))
            return true;
    }
    return false;
}

struct Asked {
    std::string file;
    int line;
    std::string text, right;  // folded
    std::vector<std::string> wrong;
};

// One language's three files together: what a game may meet in one sitting.
static int check_folder(const std::string &folder, TTF_Font *font)
{
    int worst = 0;
    std::vector<Asked> all;
    for (const char *level : {"latwe", "srednie", "trudne"}) {
        std::string path = folder + "/" + level + ".qst";
        std::vector<std::string> lines;
        worst = std::max(worst, check_file(path.c_str(), font, &lines));
        for (size_t q = 0; q + 7 <= lines.size(); q += 7) {
            Asked a{path, (int)q + 1, folded(lines[q] + " " + lines[q + 1]), "", {}};
            int code = code_value(lines[q + 6]);
            for (int k = 0; k < 4; k++) {
                std::string answer = folded(lines[q + 2 + k]);
                if (code == (k == 0 ? 1000 : k == 1 ? 100 : k == 2 ? 10 : 1))
                    a.right = answer;
                else
                    a.wrong.push_back(answer);
            }
            all.push_back(a);
        }
    }
    int problems = 0;
    for (size_t i = 0; i < all.size(); i++) {
        for (size_t j = 0; j < all.size(); j++) {
            const Asked &a = all[i], &b = all[j];
            const char *what = NULL;
            if (i == j)
                continue;
            if (j < i && a.text == b.text)
                what = "the question repeats the one at";
            else if (j < i && !a.right.empty() && a.right == b.right)
                what = "the right answer is also the right answer at";
            else if (b.right.size() >= 3 && names_word(a.text, b.right))
                what = "the question names the right answer of";
            else if (!b.right.empty() && std::find(a.wrong.begin(), a.wrong.end(), b.right) != a.wrong.end())
                what = "a wrong answer is the right answer of";
            if (what == NULL)
                continue;
            printf("%s:%d: %s %s:%d\n", a.file.c_str(), a.line, what, b.file.c_str(), b.line);
            problems++;
        }
    }
    printf("%s: %zu questions in all, %d problem%s between the files\n", folder.c_str(), all.size(), problems,
           problems == 1 ? "" : "s");
    return std::max(worst, problems > 0 ? 1 : 0);
}

int main(int argc, char *argv[])
{
    const char *font_path = NULL;
    std::vector<const char *> files;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0) {
            fputs(usage, stdout);
            return 0;
        }
        if (strcmp(argv[i], "--font") == 0 && i + 1 < argc)
            font_path = argv[++i];
        else
            files.push_back(argv[i]);
    }
    if (files.empty()) {
        fputs(usage, stderr);
        return 2;
    }
    // The game's own font beside the files, else the system's.
    if (font_path == NULL) {
        FILE *here = fopen("Vera.ttf", "rb");
        font_path = here != NULL ? "Vera.ttf" : DEFAULT_FONT;
        if (here != NULL)
            fclose(here);
    }
    if (TTF_Init() != 0) {
        printf("cannot start the font engine\n");
        return 2;
    }
    TTF_Font *font = TTF_OpenFont(font_path, 14);
    if (font == NULL) {
        printf("cannot open the font %s\n", font_path);
        TTF_Quit();
        return 2;
    }
    int worst = 0;
    for (const char *path : files) {
        struct stat info;
        bool folder = stat(path, &info) == 0 && S_ISDIR(info.st_mode);
        int result = folder ? check_folder(path, font) : check_file(path, font);
        if (result > worst)
            worst = result;
    }
    TTF_CloseFont(font);
    TTF_Quit();
    return worst;
}
