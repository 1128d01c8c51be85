// Every data file missing in turn: the game says what it says for that
// file and plays on, and a whole scripted run still reaches Quit and
// writes both files.
#include <dirent.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "quiz/quiz.h"
#include "shell/shell.h"
#include "tests/endurance/process.h"
#include "tests/endurance/session.h"
#include "tests/harness.h"

using namespace harness;

static const char *const data_files[] = {
    "gfx/logo.png", "gfx/title.png", "gfx/slanguage.png", "gfx/sslanguage.png",
    "gfx/menu.png", "gfx/smenu.png", "gfx/eng/menu.png", "gfx/eng/smenu.png",
    "gfx/swe/menu.png", "gfx/swe/smenu.png", "gfx/game.png", "gfx/name.png",
    "gfx/option.png", "gfx/soption.png", "gfx/info.png", "gfx/thebest.png",
    "gfx/information.png",
    "sfx/msx_menu.ogg", "sfx/msx_game.ogg", "sfx/aplause.wav", "sfx/bad_answer.wav",
    "sfx/button.wav", "sfx/button_press.wav", "sfx/half.wav", "sfx/name_input.wav",
    "sfx/peoples.wav", "sfx/start_button.wav", "sfx/telephone.wav", "sfx/winner.wav",
    "quest/pol/latwe.qst", "quest/pol/srednie.qst", "quest/pol/trudne.qst",
    "quest/eng/latwe.qst", "quest/eng/srednie.qst", "quest/eng/trudne.qst",
    "quest/swe/latwe.qst", "quest/swe/srednie.qst", "quest/swe/trudne.qst",
    "Vera.ttf",
};

static bool starts(const std::string &s, const std::string &prefix) { return s.rfind(prefix, 0) == 0; }

// Copies the tree `from` as links to its files, leaving out `skip`.
static void mirror(const std::string &from, const std::string &to, const std::string &skip)
{
    mkdir(to.c_str(), 0755);
    DIR *dir = opendir(from.c_str());
    ASSERT_NE(dir, nullptr) << from;
    while (struct dirent *entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        std::string source = from + "/" + name, target = to + "/" + name;
        struct stat st;
        stat(source.c_str(), &st);
        if (S_ISDIR(st.st_mode))
            mirror(source, target, skip);
        else if (source != skip)
            symlink(source.c_str(), target.c_str());
    }
    closedir(dir);
}

static int language_of(const std::string &file)
{
    if (file.find("/eng/") != std::string::npos)
        return session::ENGLISH;
    if (file.find("/swe/") != std::string::npos)
        return session::SWEDISH;
    return session::POLISH;
}

static std::string cannot_open(int language, const std::string &path)
{
    if (language == session::ENGLISH)
        return "Cannot open file: " + path;
    if (language == session::SWEDISH)
        return "Kan inte \xf6ppna filen: " + path;
    return "Nie mozna otworzyc pliku: " + path;
}

static std::string you_won(int language, const std::string &prize)
{
    if (language == session::ENGLISH)
        return "You just won " + prize;
    if (language == session::SWEDISH)
        return "Grattis du vann " + prize;
    return "Wlasnie wygrales " + prize;
}

class MissingFile : public GameTest, public ::testing::WithParamInterface<const char *> {
protected:
    std::string missing = GetParam();
    int language = language_of(missing);
    bool no_font = missing == "Vera.ttf";
    bool no_questions = starts(missing, "quest/");  // always of the language chosen
    bool no_chooser = missing == "gfx/slanguage.png" || missing == "gfx/sslanguage.png";

    void remove_missing()
    {
        std::string top = missing.substr(0, missing.find('/'));
        ASSERT_EQ(unlink(top.c_str()), 0);
        if (top != missing)
            mirror(std::string(data_dir) + "/" + top, top, std::string(data_dir) + "/" + missing);
        ASSERT_FALSE(file_exists(missing));
    }

    // One game as far as the missing file lets it go: `right` right answers
    // and a wrong one (none when all twelve are right).
    void game(const std::string &player, int right, bool lifelines)
    {
        using namespace session;
        menu(NEW_GAME);
        name(player);
        if (no_questions) {
            dismiss();  // the file's message
            dismiss();  // the result
        } else if (no_font) {
            answer_a_until_over();  // nothing is drawn to read the answers from
        } else {
            for (int q = 0; q < right; q++) {
                if (lifelines && q < 3)
                    lifeline(q);
                answer_right();
            }
            if (right < 12)
                answer_wrong();
            dismiss();
        }
    }
};

TEST_P(MissingFile, GameSaysSoPlaysOnAndWritesBothFiles)
{
    remove_missing();
    // Without a device the mixer never waits for its thread: where sound
    // is not the point, that halves the run.
    if (!starts(missing, "sfx/"))
        setenv("SDL_AUDIODRIVER", "none", 1);
    using namespace session;
    if (!no_chooser)
        choose_language(language);
    game("ann", 3, true);  // sound effects, every lifeline, a loss
    menu(OPTIONS);
    option(0);  // music on
    option(2);  // full screen and back
    option(3);
    option(4);
    game("bob", 12, false);  // with the tunes, to the top
    menu(BEST_PLAYERS);
    dismiss();
    menu(INFORMATION);
    dismiss();
    menu(QUIT);

    capture_stdout();
    int status = run_game();
    std::string out = captured_stdout();

    EXPECT_EQ(status, 0);
    EXPECT_EQ(script_left(), 0u);
    EXPECT_EQ(polls_after_script(), 0) << "the run strayed from its script";
    EXPECT_EQ(::language, no_chooser ? session::POLISH : language);

    // What the game printed, beside the high-score trace lines.
    std::vector<std::string> said = proc::lines_other_than(out, {"Zenobar: players ", "char-2 "});
    if (!starts(missing, "sfx/")) {
        ASSERT_FALSE(said.empty());
        EXPECT_EQ(said[0], "Unable to initialize audio");
        said.erase(said.begin());
    }
    std::vector<std::string> expected;
    bool picture = starts(missing, "gfx/");
    if (picture && missing != "gfx/information.png") {
        // Once for every time a screen tried it; the box of the messages
        // and lifelines is the one picture whose absence is silent.
        EXPECT_FALSE(said.empty());
        for (const std::string &line : said)
            EXPECT_EQ(line, "error!:  Couldn't open " + missing);
    } else if (no_font) {
        EXPECT_EQ(said, std::vector<std::string>(2, "TTF_OpenFont: Couldn't open Vera.ttf"));
    } else {
        EXPECT_EQ(said, expected);
    }

    if (no_questions) {
        EXPECT_EQ(std::count(rendered.begin(), rendered.end(), cannot_open(language, missing)), 2);
        EXPECT_EQ(std::count(rendered.begin(), rendered.end(), you_won(language, "0")), 2);
    } else if (!no_font && missing != "gfx/information.png") {  // the result's box
        EXPECT_TRUE(was_rendered(you_won(::language, "500")));
        EXPECT_TRUE(was_rendered(you_won(::language, "10000000")));
    }
    if (no_font) {
        EXPECT_TRUE(rendered.empty());
    }

    // A sound the game asks for was asked for, and its absence is silent.
    std::vector<std::string> sounds = sounds_loaded();
    if (starts(missing, "sfx/") && missing != "sfx/button_press.wav" && missing != "sfx/winner.wav") {
        EXPECT_NE(std::find(sounds.begin(), sounds.end(), missing), sounds.end());
    }

    EXPECT_EQ(read_file("config"), "0 1\n");
    std::string table = read_file("highscores");
    if (no_questions) {
        EXPECT_EQ(table, "NOonE\n0\nNOonE\n0\nNOonE\n0\nann\n0\nbob\n0\n");
    } else if (!no_font) {
        EXPECT_EQ(table, "NOonE\n0\nNOonE\n0\nNOonE\n0\nann\n3\nbob\n12\n");
    } else {
        EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 10) << table;
    }
    EXPECT_FALSE(file_exists("config.tmp"));
    EXPECT_FALSE(file_exists("highscores.tmp"));
}

static std::string test_name(const ::testing::TestParamInfo<const char *> &info)
{
    std::string name = info.param;
    for (char &c : name)
        if (!isalnum((unsigned char)c))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(EachDataFile, MissingFile, ::testing::ValuesIn(data_files), test_name);
