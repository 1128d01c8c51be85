// The application shell: the modes and the state that crosses screens, the
// settings file and saving. main() itself lives in shell/main.cpp.
#ifndef ZENOBAR_SHELL_H
#define ZENOBAR_SHELL_H

#include <stddef.h>

#include "toolkit/toolkit.h"

// Values of APPMODE. The menu's is 99, out of the way of the menu's
// entries: entry k leads to mode k.
enum {
    MODE_MENU = 99,
    MODE_NAME = 1,
    MODE_OPTIONS = 2,
    MODE_SCORES = 3,
    MODE_INFO = 4,
    MODE_QUIT = 5,
    MODE_GAME = 6
};

// The screen that runs; a screen sets the next one before it ends.
extern int APPMODE;
// APPMODE at the end of the last screen's pass; a screen that finds it
// different has just been entered and makes its change of screen.
extern int LAPPMODE;
// The menu entry under the mouse (1 to 5, 0 for none), and before the
// last motion; written by the menu only.
extern int BSET, LBSET;
// The sound setting: 1 music (tunes, no effects), 0 effects (no tunes),
// -1 neither. Read from "config", changed in the options screen.
extern int music;
// The display setting: 1 full screen, 0 window. From "config", changed in
// the options screen.
extern int fullscreen;
// What the display really is; the options screen toggles it to follow
// `fullscreen` only when it is left.
extern int sfullscreen;
// The player's name, 40 bytes from main; the name entry types into it.
extern char *player_name;
// Where the next letter of the name goes, 0 to 10; the menu sets it to 0.
extern int nplayer;

// The clickable areas, set once by main (set_areas), the flags by the
// intro: the menu's five entries, the four answers, the three lifelines,
// the options' four choices and Quit, the intro's three flags.
extern Button mbutton[5];
extern Button answers[4];
extern Button help[3];
extern Button opt[5];
extern Button lang[3];

// The player closed the window: the screen's loop ends, and the program
// after this pass of the mode loop.
void end_program();
// One pass of a screen that any click leaves for the menu: an event is
// polled, and a click or a close request acted on.
void click_to_menu();

// Replaces the file `name` with `len` bytes of `data` so that a crash or a
// full disk leaves either the old or the new file whole. `tmpname` is the
// fixed name of the temporary file made beside it. Returns 0 on success.
int save_file(const char *name, const char *tmpname, const char *data, size_t len);

#endif
