// The application shell: the state every screen shares, the modes, and
// the settings file. main() itself lives in shell/main.cpp.
#ifndef ZENOBAR_SHELL_H
#define ZENOBAR_SHELL_H

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>
#include <stddef.h>

#include "toolkit/toolkit.h"

enum {
    MODE_MENU = 99,
    MODE_NAME = 1,
    MODE_OPTIONS = 2,
    MODE_SCORES = 3,
    MODE_INFO = 4,
    MODE_QUIT = 5,
    MODE_GAME = 6
};

extern int APPMODE, LAPPMODE;
extern int BSET, LBSET;
extern int language;
extern int music, fullscreen, sfullscreen;
extern SDL_Surface *screen, *image, *simage;
extern TTF_Font *font1, *font2;
extern int quit, quitapp;
extern char *player_name;
extern int nplayer;
extern SDL_Event event;

extern Button mbutton[5];
extern Button answers[4];
extern Button help[3];
extern Button opt[5];
extern Button lang[3];

void set_areas();

// Settings file "config".
int loadc();
int savec();

// Replaces the file `name` with `len` bytes of `data` so that a crash or a
// full disk leaves either the old or the new file whole. `tmpname` is the
// fixed name of the temporary file made beside it. Returns 0 on success.
int save_file(const char *name, const char *tmpname, const char *data, size_t len);

#endif
