// The test harness: scripted input, a virtual clock, a record of what the game
// drew and played, and a game folder of the built data, so the real game code
// runs headless and never waits.
#ifndef ZENOBAR_TEST_HARNESS_H
#define ZENOBAR_TEST_HARNESS_H

#include <SDL/SDL.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// The game's state, which the tests read and set.
#include "quiz/quiz_local.h"
#include "scores/scores_local.h"
#include "shell/shell_local.h"
#include "toolkit/toolkit_local.h"

int zenobar_main(int argc, char *argv[]);

namespace harness {

// Input script. Each poll takes the next item; idle(n) makes n polls find
// nothing. Once the script is spent every poll brings a close request.
void motion(int x, int y);
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
long polls_after_script();

// Playing: the display slot (0 to 3, A to D) of the right answer of the
// question on screen; a click on a slot; a step that answers right.
int right_slot();
void click_slot(int slot);
void answer_right();

// Steps of a player: a flag of the intro (1 Polish, 2 English, 3 Swedish),
// an entry of the main menu (1 to 5), a name typed and Return.
void choose_language(int flag);
void menu_entry(int entry);
void type_name(const std::string &name);

// Checks on the record: `want` appears in it in this order (other lines may
// come between), or as its last lines; how many lines start with `prefix`.
void expect_in_order(const std::vector<std::string> &want);
void expect_tail(const std::vector<std::string> &want);
int count_of(const std::string &prefix);
// Every fade so far lasted two seconds of the clock (at its default step).
void expect_fades_of_two_seconds();

// Each SDL_GetTicks reading returns the time, then advances it by the
// step; SDL_Delay advances it by the delay.
extern Uint32 clock_now, clock_step;

// What the game did, in order, one line each:
//   load FILE | load FILE failed | fade in|out FILE | show FILE
//   blit FILE x,y,w,h at x,y | fill x,y,w,h rrggbb | text 'T' at x,y f20|f14 rrggbb
//   sound FILE loops N | delay MS | toggle
extern std::vector<std::string> record;
std::string record_text();  // the record, a line each, for failure messages
extern std::vector<int> alphas;  // every SDL_SetAlpha value, in order
extern std::vector<std::string> rendered;  // every text rendered, in order

// rand() serves these values first.
extern std::deque<int> forced_rand;

// Failures on demand: a picture named in fail_pictures does not load;
// SDL_Init fails for any subsystem in fail_init; rename fails with the
// errno fail_rename.
extern std::vector<std::string> fail_pictures;
extern Uint32 fail_init;
extern int fail_rename;
extern bool fail_video_mode, fail_ttf_init, fail_calloc;

// Mixer handles: loads in order, and whether each was freed exactly once
// (but the one still playing).
int sound_loads();
bool every_sound_freed_once(std::string *why);

void reset_state();

// Pixel of the display as 0xRRGGBB.
Uint32 pixel(int x, int y);
Uint32 pixel_of(SDL_Surface *surface, int x, int y);

void capture_stdout();
std::string captured_stdout();

std::string read_file(const std::string &path);
void write_file(const std::string &path, const std::string &content);
bool file_exists(const std::string &path);

// The built game's data, and a pixel of one of its pictures.
extern const char *data_dir;
Uint32 colour_of(const std::string &picture, int x, int y);

}  // namespace harness

// Every test runs in a fresh game folder of its own, with SDL's dummy
// drivers and the built game's data.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string folder;
    // Runs the program's main(); returns its status.
    int run_game();
};

#endif
