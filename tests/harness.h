// The test harness: scripted input, a virtual clock and a game folder of
// placeholder data, so the real game code runs headless and never waits.
#ifndef ZENOBAR_TEST_HARNESS_H
#define ZENOBAR_TEST_HARNESS_H

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <sys/stat.h>
#include <unistd.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

int zenobar_main(int argc, char *argv[]);

namespace harness {

// Input script. Each poll takes the next item; idle(n) makes n polls find
// nothing. Once the script is spent every poll brings a close request.
void motion(int x, int y);
void press(int x, int y, int button = SDL_BUTTON_LEFT);
void release(int x, int y, int button = SDL_BUTTON_LEFT);
void click(int x, int y, int button = SDL_BUTTON_LEFT);  // press, release
void key_down(int sym);
void key_up(int sym);
void type(int sym);  // down then up
void close_window();
void idle(int polls);
// Runs `step` when the script reaches it, at a poll; events it adds come
// next, before the rest of the script.
void then(std::function<void()> step);
size_t script_left();
long polls_after_script();

// Playing: the display slot (0 to 3, A to D) of the right answer of the
// question on screen, found from the texts drawn and the loaded pools; a
// click on a slot; a step that answers the next question right.
int right_slot();
void click_slot(int slot);
void answer_right();

// Clock: each SDL_GetTicks reading returns the time, then advances it by
// the step; SDL_Delay advances it by the delay.
extern Uint32 clock_now;
extern Uint32 clock_step;
extern Uint64 delayed_ms;

// What the game did, as seen by the stand-ins.
extern long flips;
extern std::vector<int> alphas;  // every SDL_SetAlpha value, in order
extern int fullscreen_toggles;
extern std::function<void()> on_flip;

// Every text the game rendered, in order.
extern std::vector<std::string> rendered;
bool was_rendered(const std::string &text);

// rand() serves these values first (the game still calls the standard one).
extern std::deque<int> forced_rand;
extern int srand_calls;

// Failures on demand. fopen of `fail_open_path` fails once it has
// succeeded `fail_open_after` times.
extern std::string fail_open_path;
extern int fail_open_after;
extern bool fail_video_mode;
extern bool fail_ttf_init;
extern bool fail_calloc;

// Sound bookkeeping (loads and frees of music handles, any thread).
void sound_log_reset();
int sound_loads();
bool every_sound_freed_once(std::string *why);
std::vector<std::string> sounds_loaded();  // file names, in order

// Game state back to what a fresh process has.
void reset_state();

// Opens SDL, the window and the fonts as main() does, for tests that call
// a screen directly; close_sdl() undoes it.
void open_sdl();
void close_sdl();

// Pixel of the display as 0xRRGGBB.
Uint32 pixel(int x, int y);
Uint32 pixel_of(SDL_Surface *surface, int x, int y);
bool save_png(SDL_Surface *surface, const std::string &path);

// Stdout of the game, captured into a string.
void capture_stdout();
std::string captured_stdout();

std::string read_file(const std::string &path);
void write_file(const std::string &path, const std::string &content);
bool file_exists(const std::string &path);

// Placeholder data: every picture a flat colour of its own.
Uint32 colour_of(const std::string &picture);
extern const char *data_dir;

}  // namespace harness

// Every test runs in a fresh game folder of its own, with SDL's dummy
// drivers and the placeholder data.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string folder;
    // Runs the program's main(); returns its status.
    int run_game();
};

#endif
