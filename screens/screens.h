// The front-end screens: intro with the language choice, main menu,
// options and information.
#ifndef ZENOBAR_SCREENS_H
#define ZENOBAR_SCREENS_H

#include "toolkit/toolkit.h"

void intro_part(SDL_Surface *display);
void draw_buttonslang(int highlight, int restore, SDL_Surface *normal, SDL_Surface *lit,
                      SDL_Surface *target);

// Highlights area `highlight` from `lit`, restores `restore` from `normal`
// (numbers from 1, 0 for none), then flips the target.
void swap_highlight(Button *areas, int count, int highlight, int restore, SDL_Surface *normal,
                    SDL_Surface *lit, SDL_Surface *target);

void main_menu();
void draw_buttons(int highlight, int restore, SDL_Surface *normal, SDL_Surface *lit,
                  SDL_Surface *target);

void options();
void info_menu();

#endif
