#include "tests/harness.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <random>

#include "shell/shell.h"

namespace {

void sleep_ms(double ms)
{
    struct timespec t;
    t.tv_sec = (time_t)(ms / 1000);
    t.tv_nsec = (long)((ms - t.tv_sec * 1000.0) * 1e6);
    nanosleep(&t, NULL);
}

// Busy, for delays shorter than a sleep can promise.
void spin_us(long us)
{
    struct timespec start, now;
    clock_gettime(CLOCK_MONOTONIC, &start);
    do
        clock_gettime(CLOCK_MONOTONIC, &now);
    while ((now.tv_sec - start.tv_sec) * 1000000L + (now.tv_nsec - start.tv_nsec) / 1000 < us);
}

// Polls in real time; the harness clock does not move SDL's own threads.
bool wait_for(const std::function<bool()> &done, double seconds)
{
    for (int i = 0; i < (int)(seconds * 500); i++) {
        if (done())
            return true;
        sleep_ms(2);
    }
    return done();
}

long size_of(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? (long)st.st_size : 0;
}

// The device's format, as the game asks for it: 16-bit big-endian stereo.
const long kFrame = 4;
const long kSecond = 44100 * kFrame;
const long kBuffer = 4096 * kFrame;  // one mixer call
// The tune is written louder than any effect, so peaks tell them apart.
const int kTuneFloor = 10000;
const int kEffectCeiling = 9500;

std::vector<int> samples(const std::string &path, long from, long to)
{
    std::string raw = harness::read_file(path);
    from &= ~1L;
    to = std::min<long>(to, (long)raw.size()) & ~1L;
    std::vector<int> out;
    for (long i = from; i < to; i += 2)
        out.push_back((Sint16)(((Uint8)raw[i] << 8) | (Uint8)raw[i + 1]));
    return out;
}

int peak(const std::vector<int> &s, size_t begin, size_t end)
{
    int top = 0;
    for (size_t i = begin; i < std::min(end, s.size()); i++)
        top = std::max(top, abs(s[i]));
    return top;
}

}  // namespace

class Sound : public GameTest {
protected:
    void TearDown() override
    {
        unsetenv("SDL_DISKAUDIOFILE");
        unsetenv("SDL_DISKAUDIODELAY");
        // A failed assertion must not leave the mixer open for the next test.
        if (SDL_WasInit(SDL_INIT_EVERYTHING) != 0)
            harness::close_sdl();
        GameTest::TearDown();
    }

    // SDL's disk driver writes the mixed output to a file; a short delay
    // makes it mix several times faster than real time.
    void use_disk_audio(const std::string &file, int delay_ms)
    {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", std::to_string(delay_ms).c_str(), 1);
    }

    // The shared sound folder, replaced by one of links that may point
    // elsewhere: to_tick names effects that become the 5 ms tick,
    // leave_out those that go missing.
    void own_sfx(const std::vector<std::string> &to_tick, const std::vector<std::string> &leave_out)
    {
        ASSERT_EQ(unlink("sfx"), 0);
        ASSERT_EQ(mkdir("sfx", 0755), 0);
        std::string shared = std::string(harness::data_dir) + "/sfx/";
        for (const char *name :
             {"msx_menu.ogg", "msx_game.ogg", "aplause.wav", "bad_answer.wav", "button.wav",
              "button_press.wav", "half.wav", "name_input.wav", "peoples.wav", "start_button.wav",
              "telephone.wav", "winner.wav"}) {
            std::string n = name;
            if (std::find(leave_out.begin(), leave_out.end(), n) != leave_out.end())
                continue;
            bool tick = std::find(to_tick.begin(), to_tick.end(), n) != to_tick.end();
            ASSERT_EQ(symlink((shared + (tick ? "tick.wav" : n)).c_str(), ("sfx/" + n).c_str()), 0);
        }
    }

    static std::string printed_by(int id)
    {
        harness::capture_stdout();
        play_sound(id);
        return harness::captured_stdout();
    }

    void expect_all_freed(int loads)
    {
        std::string why;
        EXPECT_TRUE(harness::every_sound_freed_once(&why)) << why;
        EXPECT_EQ(harness::sound_loads(), loads);
    }
};

TEST_F(Sound, MenuTuneSoundsUntilAClickCutsItAndTheClickEndsInSilence)
{
    std::string out = folder + "/mixed.raw";
    use_disk_audio(out, 10);
    music = 1;
    harness::open_sdl();
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    ASSERT_EQ(frequency, 44100);
    ASSERT_EQ(format, AUDIO_S16MSB);
    ASSERT_EQ(channels, 2);

    long start = size_of(out);
    play_sound(1);
    ASSERT_NE(smusic.load(), nullptr);
    // Past the tune's two seconds: it loops rather than ending.
    ASSERT_TRUE(wait_for([&] { return size_of(out) >= start + 3 * kSecond; }, 2.0));
    std::vector<int> tune = samples(out, start, start + 3 * kSecond);
    EXPECT_GT(peak(tune, 0, tune.size()), kTuneFloor);
    EXPECT_GT(peak(tune, (2 * kSecond + kSecond / 2) / 2, tune.size()), kTuneFloor);
    EXPECT_NE(smusic.load(), nullptr);

    long cut = size_of(out);
    play_sound(5);
    ASSERT_TRUE(wait_for([] { return smusic.load() == nullptr; }, 2.0)) << "the click never ended";
    long ended = size_of(out);
    // Allow for the buffer in flight and stdio's own buffer.
    long quiet_from = ended + 2 * kBuffer;
    ASSERT_TRUE(wait_for([&] { return size_of(out) >= quiet_from + kSecond / 2; }, 2.0));

    std::vector<int> after = samples(out, cut + 2 * kBuffer, size_of(out));
    EXPECT_LE(peak(after, 0, after.size()), kEffectCeiling) << "the tune outlived the click";
    std::vector<int> since_cut = samples(out, cut, quiet_from);
    bool click_heard = false;
    for (size_t at = 0; at + 1024 <= since_cut.size(); at += 512) {
        int p = peak(since_cut, at, at + 1024);
        click_heard |= p > 4000 && p <= kEffectCeiling;
    }
    EXPECT_TRUE(click_heard);
    std::vector<int> silence = samples(out, quiet_from, size_of(out));
    ASSERT_GE(silence.size(), (size_t)(kSecond / 4));
    EXPECT_EQ(peak(silence, 0, silence.size()), 0);
    EXPECT_EQ(Mix_PlayingMusic(), 0);

    harness::close_sdl();
    expect_all_freed(2);
    EXPECT_EQ(harness::sounds_loaded(), (std::vector<std::string>{"sfx/msx_menu.ogg", "sfx/button.wav"}));
}

// Effects ending on the mixer's thread race against the next request.
TEST_F(Sound, RapidRequestsReleaseEveryHandleExactlyOnce)
{
    own_sfx({"button.wav", "name_input.wav", "start_button.wav"}, {});
    use_disk_audio("/dev/null", 1);
    harness::open_sdl();

    std::mt19937 random(20240611);
    const int ids[] = {5, 5, 5, 8, 8, 10, 10, 3, 1, -1, 0, 99};
    int loads = 0, ended_alone = 0, cut_off = 0;
    bool effect_started = false;
    for (int i = 0; i < 2000; i++) {
        if (effect_started)
            (smusic.load() == nullptr ? ended_alone : cut_off)++;
        int id = ids[random() % (sizeof ids / sizeof ids[0])];
        play_sound(id);
        loads += id >= 1 && id <= 12;
        effect_started = id == 5 || id == 8 || id == 10;
        // Some go on at once, cutting the effect; some land about when the
        // mixer ends it; the rest give it time to end.
        switch (random() % 3) {
        case 1:
            spin_us(random() % 500);
            break;
        case 2:
            sleep_ms((random() % 2000) / 1000.0);
            break;
        }
    }
    play_sound(-1);
    EXPECT_EQ(smusic.load(), nullptr);
    expect_all_freed(loads);
    // Both ways of ending must really have happened.
    EXPECT_GE(ended_alone, 40);
    EXPECT_GE(cut_off, 40);
    harness::close_sdl();
}

TEST_F(Sound, StopAndZeroWithNothingPlayingDoNothing)
{
    harness::open_sdl();
    for (int id : {-1, 0, -1})
        EXPECT_EQ(printed_by(id), "") << id;
    EXPECT_EQ(smusic.load(), nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    expect_all_freed(0);
    harness::close_sdl();
}

TEST_F(Sound, IdWithoutAFileStopsTheCurrentSound)
{
    harness::open_sdl();
    for (int id : {0, 13, -2, 1000}) {
        play_sound(1);
        ASSERT_NE(smusic.load(), nullptr);
        ASSERT_EQ(Mix_PlayingMusic(), 1);
        play_sound(id);
        EXPECT_EQ(smusic.load(), nullptr) << id;
        EXPECT_EQ(Mix_PlayingMusic(), 0) << id;
    }
    expect_all_freed(4);
    harness::close_sdl();
}

TEST_F(Sound, EachIdLoadsItsOwnFileAfresh)
{
    harness::open_sdl();
    for (int id = 1; id <= 12; id++)
        play_sound(id);
    play_sound(5);
    play_sound(-1);
    EXPECT_EQ(harness::sounds_loaded(),
              (std::vector<std::string>{"sfx/msx_menu.ogg", "sfx/msx_game.ogg", "sfx/aplause.wav",
                                        "sfx/bad_answer.wav", "sfx/button.wav", "sfx/button_press.wav",
                                        "sfx/half.wav", "sfx/name_input.wav", "sfx/peoples.wav",
                                        "sfx/start_button.wav", "sfx/telephone.wav", "sfx/winner.wav",
                                        "sfx/button.wav"}));
    expect_all_freed(13);
    harness::close_sdl();
}

TEST_F(Sound, MissingOrBrokenFileIsSilentAndQuiet)
{
    own_sfx({}, {"aplause.wav", "msx_game.ogg"});
    harness::write_file("sfx/msx_game.ogg", "not a sound at all");
    harness::open_sdl();
    play_sound(1);
    ASSERT_EQ(Mix_PlayingMusic(), 1);
    for (int id : {3, 2}) {
        EXPECT_EQ(printed_by(id), "");
        EXPECT_EQ(smusic.load(), nullptr) << id;
        EXPECT_EQ(Mix_PlayingMusic(), 0) << id << ": the tune outlived the request";
    }
    // The next good sound plays as usual.
    play_sound(4);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    play_sound(-1);
    expect_all_freed(4);
    harness::close_sdl();
}

// SDL 1.2 starts its audio subsystem even with no usable driver; only
// opening the device fails.
TEST_F(Sound, WithoutADeviceOneLineAndThenSilence)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    harness::capture_stdout();
    harness::open_sdl();
    std::string printed = harness::captured_stdout();
    EXPECT_EQ(printed, "Unable to initialize audio\n");
    ASSERT_NE(screen, nullptr);
    EXPECT_NE(SDL_WasInit(SDL_INIT_AUDIO), 0u);

    for (int id : {1, 5, 5, 2, 3, 99, 0, 12, -1, 1, -1})
        EXPECT_EQ(printed_by(id), "") << id;
    EXPECT_EQ(smusic.load(), nullptr);
    expect_all_freed(7);
    harness::close_sdl();
}
