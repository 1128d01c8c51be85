#include <malloc.h>
#include <signal.h>
#include <sys/wait.h>

#include "tests/harness.h"

using namespace harness;

extern "C" {
size_t __real_fwrite(const void *data, size_t size, size_t n, FILE *file);
int __real_fsync(int fd);
int __real_rename(const char *from, const char *to);
size_t __sanitizer_get_current_allocated_bytes(void) __attribute__((weak));
}

// A forked run kills itself at step kill_at of its saves: before or after any fwrite, fsync or rename,
// or half way through a write, so a file may be left cut short.
static int kill_at = -1, steps = 0;

template <class T = int> static T step(T result = 0)
{
    if (kill_at >= 0 && steps++ == kill_at)
        raise(SIGKILL);
    return result;
}

extern "C" size_t __wrap_fwrite(const void *data, size_t size, size_t n, FILE *file)
{
    if (kill_at >= 0 && steps == kill_at && n > 1)
        __real_fwrite(data, size, n / 2, file), fflush(file);
    return step(), step(__real_fwrite(data, size, n, file));
}

extern "C" int __wrap_fsync(int fd)
{
    return step(), step(__real_fsync(fd));
}

extern "C" int __wrap_rename(const char *from, const char *to)
{
    return step(), step(__real_rename(from, to));
}

static void play(const std::string &name, int right)
{
    menu_entry(1);
    type_name(name);
    for (int q = 0; q < right; q++)
        answer_right();
    then([] { click_slot((right_slot() + 1) % 4), click_slot((right_slot() + 1) % 4); });  // a wrong one
    click(5, 5);  // the result
}

class Endurance : public GameTest {};

TEST_F(Endurance, AKillAtAnyStepOfTheSavesLeavesEachFileOldOrNewAndWhole)
{
    const std::string old_config = "0 1\n", old_table = "NOonE\n0\nNOonE\n0\nann\n2\nbob\n5\ncid\n9\n";
    std::string new_config, new_table;
    for (int k = -1; k < 100 && !HasFailure(); k++) {
        write_file("config", old_config), write_file("highscores", old_table), fflush(NULL);
        pid_t pid = fork();
        if (pid == 0) {
            reset_state();
            kill_at = k, clock_step = 2000;
            choose_language(2), menu_entry(2);
            click(500, 195), click(320, 455);  // sound effects instead of music
            play("eve", 3), menu_entry(5);
            _exit(run_game());
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        std::string config = read_file("config"), table = read_file("highscores");
        SCOPED_TRACE("killed at step " + std::to_string(k));
        if (k == -1) {
            new_config = config, new_table = table;
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0 && config == "0 0\n" && table != old_table);
        }
        EXPECT_TRUE(config == old_config || config == new_config) << config;
        EXPECT_TRUE(table == old_table || table == new_table) << table;
        if (k >= 0 && WIFEXITED(status)) {  // past the last step: saved in full
            EXPECT_TRUE(config == new_config && table == new_table && k >= 10) << "saves of " << k << " steps";
            return;
        }
        ASSERT_TRUE(k == -1 || (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL));
    }
    EXPECT_TRUE(HasFailure()) << "the saves never ended";
}

TEST_F(Endurance, AHundredGamesInOneRunKeepTheHeapFlat)
{
    auto heap = [] { return __sanitizer_get_current_allocated_bytes ? __sanitizer_get_current_allocated_bytes()
                                                                     : mallinfo2().uordblks; };
    size_t after[101] = {}, loads[101] = {}, games = 0;
    // Each game scripted once the one before has ended; the harness's records emptied, as they grow.
    std::function<void()> next = [&] {
        after[games] = heap(), loads[games] = sound_loads();
        rendered.clear(), harness::record.clear();
        if (++games > 100)
            return menu_entry(5);
        play(std::string("p") + char('a' + games % 26) + char('a' + games / 26), games % 4);
        then(next);
    };
    clock_step = 2000, choose_language(2), then(next);
    EXPECT_EQ(run_game(), 0);
    ASSERT_EQ(games, 101u);
    // The harness keeps about a hundred bytes for each sound loaded.
    EXPECT_LT(after[100], after[20] + 32 * 1024 + 160 * (loads[100] - loads[20])) << "after game 20: " << after[20];
    std::string why;
    EXPECT_TRUE(every_sound_freed_once(&why)) << why;
}
