// A hundred kills (SIGKILL) at random moments of a scripted run: after
// each, "highscores" and "config" are each the old or the new file, whole.
// A preloaded stand-in stretches the saves so most kills land inside one.
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <random>

#include "tests/endurance/process.h"
#include "tests/harness.h"

using namespace harness;

namespace {

struct Files {
    std::string config, table;
};

Files files_in(const std::string &dir) { return {read_file(dir + "/config"), read_file(dir + "/highscores")}; }

void put_files(const std::string &dir, const Files &f)
{
    write_file(dir + "/config", f.config);
    write_file(dir + "/highscores", f.table);
}

// How far the saves had come, from the stand-in's log.
enum Stage { BEFORE_SAVE, MID_SAVE, SAVED };

Stage stage_of(const std::string &log)
{
    if (log.find('o') == std::string::npos)
        return BEFORE_SAVE;
    return std::count(log.begin(), log.end(), 'R') < 2 ? MID_SAVE : SAVED;
}

// Seconds from the child's start to the save's first step (or its end).
double wait_for_save(proc::Child &child, const std::string &log)
{
    while (child.running() && read_file(log).find('o') == std::string::npos)
        child.pump(0.002);
    return child.seconds_alive();
}

}  // namespace

class Kills : public GameTest {};

TEST_F(Kills, AHundredKillsLeaveEachFileOldOrNewAndWhole)
{
    alarm(900);
    std::string reference = folder + "/reference", log = folder + "/steps.log";
    mkdir(reference.c_str(), 0755);
    for (const char *item : {"gfx", "sfx", "quest", "Vera.ttf"})
        symlink((std::string(data_dir) + "/" + item).c_str(), (reference + "/" + item).c_str());
    put_files(".", {"0 0\n", "NOonE\n0\nNOonE\n0\nann\n2\nbob\n5\ncid\n9\n"});

    unsigned seed = getenv("ZENOBAR_KILL_SEED") ? (unsigned)atol(getenv("ZENOBAR_KILL_SEED")) : (unsigned)time(nullptr);
    std::mt19937 random(seed);
    printf("[ figures  ] kill seed %u (ZENOBAR_KILL_SEED repeats a run)\n", seed);

    // Without a sound device the run before the save is short; the stand-in
    // makes the saves long.
    const std::vector<std::string> quiet = {"SDL_AUDIODRIVER=none"};
    std::vector<std::string> slowed = quiet;
    slowed.push_back("LD_PRELOAD=" SLOWSAVE_PATH);
    slowed.push_back("ZENOBAR_SAVE_PAUSE_US=15000");
    slowed.push_back("ZENOBAR_SAVE_CHUNK=4");
    slowed.push_back("ZENOBAR_SAVE_LOG=" + log);
    auto session = [](int n) { return std::vector<std::string>{PLAYER_PATH, "session", std::to_string(n)}; };

    // One run with the stand-in: how long the work before the save takes,
    // and how long the slowed saves.
    put_files(reference, files_in("."));
    unlink(log.c_str());
    proc::Child whole({session(100), slowed, reference, false});
    double save_began = wait_for_save(whole, log);
    ASSERT_EQ(whole.wait(120), 0) << whole.err;
    ASSERT_NE(stage_of(read_file(log)), BEFORE_SAVE) << "the stand-in saw no save";
    double before_save = save_began, saving = whole.seconds_alive() - save_began;
    printf("[ figures  ] a run works %.2f s before its saves, which the stand-in stretches to %.2f s\n",
           before_save, saving);

    std::uniform_real_distribution<double> uniform(0, 1);
    int stages[3] = {0, 0, 0};
    for (int i = 0; i < 100; i++) {
        Files old = files_in(".");
        // What the same run makes when nothing stops it, side by side
        // with the run that is killed.
        put_files(reference, old);
        unlink(log.c_str());
        proc::Child spared({session(i), quiet, reference, false});
        proc::Child victim({session(i), slowed, folder, false});
        // One kill in five falls anywhere before the save; the others
        // anywhere in it or just after, timed from its first step, so that
        // the machine's load cannot push them all to one side.
        double kill_at = uniform(random) < 0.2 ? uniform(random) * before_save
                                                : wait_for_save(victim, log) + uniform(random) * saving * 1.1;
        while (victim.seconds_alive() < kill_at && victim.running())
            victim.pump(0.002);
        victim.signal(SIGKILL);
        int victim_status = victim.wait(60);
        ASSERT_EQ(spared.wait(120), 0) << spared.err;
        Files fresh = files_in(reference);
        Stage stage = stage_of(read_file(log));
        stages[stage]++;

        Files now = files_in(".");
        SCOPED_TRACE(testing::Message() << "kill " << i << ", seed " << seed << ", status " << victim_status
                                        << ", save steps " << read_file(log));
        EXPECT_TRUE(now.config == old.config || now.config == fresh.config) << now.config;
        EXPECT_TRUE(now.table == old.table || now.table == fresh.table) << now.table;
        if (stage == SAVED) {
            EXPECT_EQ(now.config, fresh.config);
            EXPECT_EQ(now.table, fresh.table);
        }
        if (HasFailure())
            break;
    }
    printf("[ figures  ] of 100 kills: %d before the save, %d inside it, %d after it\n", stages[BEFORE_SAVE],
           stages[MID_SAVE], stages[SAVED]);
    EXPECT_GE(stages[MID_SAVE], 50);

    // A run left alone afterwards clears what the kills left behind.
    put_files(reference, files_in("."));
    ASSERT_EQ(proc::run({session(200), quiet, reference, false}, 120), 0);
    ASSERT_EQ(proc::run({session(200), quiet, folder, false}, 120), 0);
    Files last = files_in("."), want = files_in(reference);
    EXPECT_EQ(last.config, want.config);
    EXPECT_EQ(last.table, want.table);
    EXPECT_FALSE(file_exists("config.tmp"));
    EXPECT_FALSE(file_exists("highscores.tmp"));
}
