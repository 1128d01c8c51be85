// The screen toolkit: the display and what every screen draws on it with
// (clickable areas, text, the change of screen, sound, the message
// requester), and the language the texts are chosen in. It needs nothing
// above it: the shell, the screens, the quiz and the scores build on it.
#ifndef ZENOBAR_TOOLKIT_H
#define ZENOBAR_TOOLKIT_H

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <SDL/SDL_mixer.h>
#include <SDL/SDL_ttf.h>

#include "toolkit/display.h"

// A clickable rectangle; it is an SDL_Rect so it can be blitted directly.
typedef SDL_Rect Button;

void set_button(Button *button, int x, int y, int w, int h);
int pressed(const Button *button, int mx, int my);
// The number (from 1) of the first of `count` areas under the mouse, or 0.
int mouse_over(const Button *areas, int count);
// Ends the screen's loop when Escape is held: the intro's and the menu's.
void quit_on_escape();
// Highlights area `highlight` from `lit`, restores `restore` from `normal`
// (numbers from 1, 0 for none), then flips the target.
void swap_highlight(Button *areas, int count, int highlight, int restore, SDL_Surface *normal,
                    SDL_Surface *lit, SDL_Surface *target);

void DrawText(TTF_Font *font, const char *text, int x, int y, Uint8 r, Uint8 g, Uint8 b);

void fade(SDL_Surface *display, SDL_Surface *picture, unsigned int seconds, int direction);

// The picture in `file`, or NULL after printing "error!:  " and SDL's reason.
SDL_Surface *load_picture(const char *file);
// The change of screen, in two halves so that a screen may act in the dark
// between them. leave_screen fades `image` out. enter_screen frees it, loads
// `file` in its place and fades that in, leaving it whole on the screen but
// not yet flipped; BLIT_FIRST also blits it before the fade. It returns 0
// when the picture did not load, and the screen stays dark.
enum { BLIT_FIRST = 1 };
void leave_screen();
int enter_screen(const char *file, int how);
// Both halves with nothing between.
int change_screen(const char *file);
// Frees `simage` and loads `file`, the screen's highlighted picture, into it.
void load_simage(const char *file);

// The sound ids of play_sound, 1 to 12 in this order; -1 stops the sound
// playing. Tunes loop and are asked for with music on (music 1), effects
// play once and are asked for with effects on (music 0).
enum Sound {
    SND_STOP = -1,
    SND_MENU_TUNE = 1,
    SND_GAME_TUNE,
    SND_APPLAUSE,
    SND_WRONG,
    SND_CLICK,
    SND_PRESS,  // no screen asks for it
    SND_FIFTY,
    SND_KEY,
    SND_AUDIENCE,
    SND_START,
    SND_TELEPHONE,
    SND_WINNER,  // no screen asks for it
};
void open_audio();
void play_sound(int id);

void requester(int x, int y, const char *message);

// Trace lines of the high-score code.
void trace(const char *format, ...) __attribute__((format(printf, 1, 2)));

#endif
