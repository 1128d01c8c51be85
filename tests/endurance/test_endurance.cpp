// A run killed at every step of its saves, and a hundred games in one run.
#include <malloc.h>
#include <signal.h>
#include <sys/wait.h>

#include "tests/harness.h"

using namespace harness;

extern "C" {
ssize_t __real_write(int fd, const void *data, size_t len);
int __real_fsync(int fd);
int __real_rename(const char *from, const char *to);
size_t __sanitizer_get_current_allocated_bytes(void) __attribute__((weak));
}

// The step of the saves at which a forked run kills itself; -1 never.
// Every write, fsync and rename is a step before and a step after it;
// a write killed before goes half way, so a file may be left cut short.
static int kill_at = -1, steps = 0;

static bool killed_here()
{
    if (kill_at >= 0 && steps++ == kill_at)
        raise(SIGKILL);
    return false;
}

extern "C" ssize_t __wrap_write(int fd, const void *data, size_t len)
{
    if (kill_at >= 0 && steps == kill_at && len > 1) {
        __real_write(fd, data, len / 2);
        killed_here();
    }
    killed_here();
    ssize_t n = __real_write(fd, data, len);
    killed_here();
    return n;
}

extern "C" int __wrap_fsync(int fd)
{
    killed_here();
    int r = __real_fsync(fd);
    killed_here();
    return r;
}

extern "C" int __wrap_rename(const char *from, const char *to)
{
    killed_here();
    int r = __real_rename(from, to);
    killed_here();
    return r;
}

static void play(const std::string &name, int right)
{
    menu_entry(1);
    type_name(name);
    for (int q = 0; q < right; q++)
        answer_right();
    then([] {
        int wrong = (right_slot() + 1) % 4;
        click_slot(wrong);
        click_slot(wrong);
    });
    click(5, 5);  // the result
}

class Endurance : public GameTest {};

TEST_F(Endurance, AKillAtAnyStepOfTheSavesLeavesEachFileOldOrNewAndWhole)
{
    const std::string old_config = "0 1\n", old_table = "NOonE\n0\nNOonE\n0\nann\n2\nbob\n5\ncid\n9\n";
    std::string new_config, new_table;
    for (int k = -1;; k++) {
        write_file("config", old_config);
        write_file("highscores", old_table);
        fflush(NULL);
        pid_t pid = fork();
        if (pid == 0) {
            kill_at = k;
            reset_state();
            clock_step = 2000;
            choose_language(2);
            menu_entry(2);
            click(500, 195);  // sound effects instead of music
            click(320, 455);
            play("eve", 3);
            menu_entry(5);
            _exit(run_game());
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        std::string config = read_file("config"), table = read_file("highscores");
        SCOPED_TRACE("killed at step " + std::to_string(k));
        if (k == -1) {
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            new_config = config, new_table = table;
            ASSERT_EQ(new_config, "0 0\n");
            ASSERT_NE(new_table, old_table);
            continue;
        }
        EXPECT_TRUE(config == old_config || config == new_config) << config;
        EXPECT_TRUE(table == old_table || table == new_table) << table;
        if (WIFEXITED(status)) {
            // Past the last step: the run saved in full.
            EXPECT_EQ(config, new_config);
            EXPECT_EQ(table, new_table);
            EXPECT_GE(k, 10) << "too few steps: the saves were not seen";
            printf("killed at each of %d steps of the saves\n", k);
            break;
        }
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        ASSERT_LT(k, 100);
        if (HasFailure())
            break;
    }
}

// Live heap bytes: the sanitizer's allocator keeps its own count.
static size_t heap_in_use()
{
    if (__sanitizer_get_current_allocated_bytes != nullptr)
        return __sanitizer_get_current_allocated_bytes();
    return mallinfo2().uordblks;
}

TEST_F(Endurance, AHundredGamesInOneRunKeepTheHeapFlat)
{
    clock_step = 2000;
    size_t after[101] = {};
    int loads[101] = {};
    int games = 0;
    // Each game is scripted when the one before has ended, and the
    // harness's records are emptied, so that only the game's memory grows.
    std::function<void()> next = [&] {
        after[games] = heap_in_use();
        loads[games] = sound_loads();
        rendered.clear();
        harness::record.clear();
        if (++games > 100) {
            menu_entry(5);
            return;
        }
        play(std::string("p") + char('a' + games % 26) + char('a' + games / 26), games % 4);
        then(next);
    };
    choose_language(2);
    then(next);
    EXPECT_EQ(run_game(), 0);
    ASSERT_EQ(games, 101);
    EXPECT_EQ(script_left(), 0u);
    // The harness keeps a record of about a hundred bytes for each sound
    // loaded; the game itself may not grow.
    size_t allowed = 32 * 1024 + 160 * (size_t)(loads[100] - loads[20]);
    EXPECT_LT(after[100], after[20] + allowed) << "after game 20: " << after[20] << " bytes";
    std::string why;
    EXPECT_TRUE(every_sound_freed_once(&why)) << why;
    // The table holds five of the games with three right answers.
    std::string table = read_file("highscores");
    size_t threes = 0;
    for (size_t at = table.find("\n3\n"); at != std::string::npos; at = table.find("\n3\n", at + 1))
        threes++;
    EXPECT_EQ(threes, 5u) << table;
}
