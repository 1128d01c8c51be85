// The front-end screens: intro with the language choice, main menu,
// options and information.
#ifndef ZENOBAR_SCREENS_H
#define ZENOBAR_SCREENS_H

#include "toolkit/toolkit.h"

void intro_part(SDL_Surface *display);
void main_menu();
void options();
void info_menu();

#endif
