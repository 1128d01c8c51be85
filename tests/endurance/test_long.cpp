// Long play: five hundred games in one run, and runs that end by closing
// the window in the middle of a game. The sanitizer build finds leaks and
// bad accesses here; the normal build watches the memory stay level.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "quiz/quiz.h"
#include "scores/scores.h"
#include "shell/shell.h"
#include "tests/endurance/process.h"
#include "tests/endurance/session.h"
#include "tests/harness.h"

using namespace harness;
using namespace session;

// kB figures of /proc/self/status, e.g. "VmHWM:".
static long status_kb(const char *field)
{
    FILE *f = fopen("/proc/self/status", "r");
    if (f == NULL)
        return -1;
    char line[256];
    long value = -1;
    while (fgets(line, sizeof line, f) != NULL)
        if (strncmp(line, field, strlen(field)) == 0)
            value = atol(line + strlen(field));
    fclose(f);
    return value;
}

class LongPlay : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        // Question files of our own, to take away and shrink.
        ASSERT_EQ(unlink("quest"), 0);
        mkdir("quest", 0755);
        for (const char *language : {"pol", "eng", "swe"}) {
            mkdir((std::string("quest/") + language).c_str(), 0755);
            for (const char *level : {"latwe", "srednie", "trudne"}) {
                std::string file = std::string("quest/") + language + "/" + level + ".qst";
                write_file(file, read_file(std::string(data_dir) + "/" + file));
            }
        }
    }
};

namespace {

const int games = 500;

struct Figures {
    long hwm_kb = 0, rss_kb = 0;
    Uint32 clock = 0;
    double wall = 0;
};

struct Record {
    std::vector<int> expected;  // right answers each game should end with
    int checked = 0;
    Figures at10, at500;
    std::string small_pool, full_pool;
};

Record run;

const char *const medium_file = "quest/eng/srednie.qst";
const char *const hard_file = "quest/eng/trudne.qst";

// The sound setting goes round every ten games: effects, music, silence.
void change_sound_setting(int g)
{
    menu(OPTIONS);
    option((g / 10) % 3 == 0 ? 1 : 0);
    option(4);
}

void sample(Figures *f)
{
    f->hwm_kb = status_kb("VmHWM:");
    f->rss_kb = status_kb("VmRSS:");
    f->clock = clock_now;
    f->wall = proc::now();
}

void schedule(int g);

// The game g, from the main menu back to it.
void one_game(int g)
{
    std::string player = name_for(g);
    if (g % 50 == 7) {
        // A question file gone: the game ends before its first question.
        then([] { ASSERT_EQ(rename(medium_file, "srednie.away"), 0); });
        menu(NEW_GAME);
        name(player);
        dismiss();
        dismiss();
        then([] { ASSERT_EQ(rename("srednie.away", medium_file), 0); });
        run.expected.push_back(0);
        return;
    }
    if (g % 50 == 33) {
        then([] { write_file(hard_file, run.small_pool); });
        menu(NEW_GAME);
        name(player);
        dismiss();
        dismiss();
        then([] { write_file(hard_file, run.full_pool); });
        run.expected.push_back(0);
        return;
    }
    int right = 0;
    switch (g % 8) {
    case 0:  // all twelve, with every lifeline
        play_game(player, right = 12, true);
        break;
    case 1:  // a loss anywhere on the ladder
        play_game(player, right = g % 12, false);
        break;
    case 2:
        play_game(player, right = 3 + g % 9, true);
        break;
    case 3:  // clicks that disagree first
        menu(NEW_GAME);
        name(player);
        answer_disagreeing();
        right = g % 5;
        for (int q = 0; q < right; q++)
            answer_right();
        answer_wrong();
        dismiss();
        break;
    case 4:  // each lifeline while a confirmation waits
        menu(NEW_GAME);
        name(player);
        for (int k = 0; k < 3; k++)
            answer_right_with_lifeline_in_wait(k);
        answer_right();
        answer_wrong();
        dismiss();
        right = 4;
        break;
    case 5:
        play_game(player, right = 0, false);
        break;
    case 6:
        play_game(player, right = 12, false);
        break;
    case 7:  // lifelines late in the game
        menu(NEW_GAME);
        name(player);
        for (int q = 0; q < 11; q++) {
            if (q >= 8)
                lifeline(q - 8);
            answer_right();
        }
        answer_wrong();
        dismiss();
        right = 11;
        break;
    }
    run.expected.push_back(right);
}

// Runs at the menu after game g - 1: checks it, then lays out game g.
void schedule(int g)
{
    then([g] {
        if (g > 0) {
            int want = run.expected[(size_t)g - 1];
            EXPECT_EQ(position, want) << "game " << g - 1;
            EXPECT_TRUE(was_rendered(std::string("You just won ") + win[want])) << "game " << g - 1;
            run.checked++;
        }
        if (g == 10)
            sample(&run.at10);
        if (g == games) {
            sample(&run.at500);
            menu(QUIT);
            return;
        }
        // The harness's own records would grow with the run.
        rendered.clear();
        sound_log_reset();
        if (g % 10 == 0 && g > 0)
            change_sound_setting(g);
        if (g % 20 == 10) {
            menu(BEST_PLAYERS);
            dismiss();
        }
        if (g % 30 == 15) {
            menu(INFORMATION);
            dismiss();
        }
        one_game(g);
        schedule(g + 1);
    });
}

}  // namespace

TEST_F(LongPlay, FiveHundredGamesInOneRun)
{
    alarm(1800);
    std::string full = read_file(hard_file);
    run = Record();
    run.full_pool = full;
    size_t cut = 0;
    for (int line = 0; line < 21; line++)
        cut = full.find('\n', cut) + 1;
    run.small_pool = full.substr(0, cut);  // three questions

    // Each fade in one or two frames: the frames themselves are the fade
    // tests' business, and five hundred games draw some thousands of fades.
    clock_step = 2000;
    choose_language(ENGLISH);
    schedule(0);
    double started = proc::now();
    EXPECT_EQ(run_game(), 0);
    double wall = proc::now() - started;

    EXPECT_EQ(run.checked, games);
    EXPECT_EQ(script_left(), 0u);
    EXPECT_EQ(polls_after_script(), 0);
    EXPECT_EQ(read_file(hard_file), full);
    // The last five wins of the top prize, the newest highest.
    std::string table;
    for (int g = 0, wins = 0; g < games; g++)
        if (run.expected[(size_t)g] == 12 && ++wins > (int)std::count(run.expected.begin(), run.expected.end(), 12) - 5)
            table += name_for(g) + "\n12\n";
    EXPECT_EQ(read_file("highscores"), table);
    EXPECT_EQ(read_file("config"), "0 1\n");  // forty-nine turns of the setting

    double per_game = (run.at500.clock - run.at10.clock) / 1000.0 / (games - 10);
    printf("[ figures  ] peak memory at game 10: %ld kB, at game 500: %ld kB (resident %ld kB, %ld kB)\n",
           run.at10.hwm_kb, run.at500.hwm_kb, run.at10.rss_kb, run.at500.rss_kb);
    printf("[ figures  ] %.1f s of the game's own time per game; %.0f ms of real time per game, %.0f s in all\n",
           per_game, (run.at500.wall - run.at10.wall) * 1000 / (games - 10), wall);
    RecordProperty("peak_kb_at_10", (int)run.at10.hwm_kb);
    RecordProperty("peak_kb_at_500", (int)run.at500.hwm_kb);
#if !defined(__SANITIZE_ADDRESS__)
    // The sanitizer's quarantine grows by design, and so does valgrind's
    // queue of freed blocks; the plain normal build must stay level once
    // the first games have touched every screen.
    const char *preload = getenv("LD_PRELOAD");
    if (preload == NULL || strstr(preload, "vgpreload") == NULL) {
        EXPECT_LT(run.at500.hwm_kb - run.at10.hwm_kb, 2048);
    }
#endif
}

// Ended by the window's close button in the middle of things, after a
// few games: both files are written and nothing is left allocated.
TEST_F(LongPlay, WindowClosedWhileAQuestionIsShown)
{
    choose_language(SWEDISH);
    play_game("ann", 12, true);
    play_game("bob", 4, false);
    menu(NEW_GAME);
    name("cid");
    answer_right();
    lifeline(2);  // the audience's box on screen
    close_window();
    idle(1);  // the result finds the close request still there
    EXPECT_EQ(run_game(), 0);
    EXPECT_EQ(polls_after_script(), 0);
    EXPECT_EQ(quitapp, 1);
    EXPECT_EQ(easy, nullptr);
    EXPECT_TRUE(was_rendered("Grattis du vann 100"));
    EXPECT_EQ(read_file("highscores"), "NOonE\n0\nNOonE\n0\ncid\n1\nbob\n4\nann\n12\n");
    EXPECT_EQ(read_file("config"), "0 0\n");
}

TEST_F(LongPlay, WindowClosedWhileTheConfirmationWaits)
{
    choose_language(POLISH);
    play_game("ann", 2, false);
    menu(NEW_GAME);
    name("bob");
    answer_right();
    answer_right();
    lifeline(0);
    then([] {
        std::vector<std::string> q = question_on_screen();
        int right = 0;
        while (q[2 + (size_t)right].rfind("right ", 0) != 0)
            right++;
        click(right % 2 ? 400 : 100, right < 2 ? 380 : 440);  // the first click...
        close_window();                                      // ...and the window closes
        idle(1);
    });
    EXPECT_EQ(run_game(), 0);
    EXPECT_EQ(polls_after_script(), 0);
    EXPECT_EQ(quitapp, 1);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(hard, nullptr);
    EXPECT_EQ(read_file("highscores"), "NOonE\n0\nNOonE\n0\nNOonE\n0\nann\n2\nbob\n2\n");
}
