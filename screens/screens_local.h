// What only the front-end screens use.
#ifndef ZENOBAR_SCREENS_LOCAL_H
#define ZENOBAR_SCREENS_LOCAL_H

#include "screens/screens.h"
#include "shell/shell.h"

// Highlights the menu entry or flag `highlight` and restores `restore`
// (numbers from 1, 0 for none), from the given pictures.
void draw_buttons(int highlight, int restore, SDL_Surface *normal, SDL_Surface *lit,
                  SDL_Surface *target);
void draw_buttonslang(int highlight, int restore, SDL_Surface *normal, SDL_Surface *lit,
                      SDL_Surface *target);

#endif
