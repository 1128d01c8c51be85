// The screen toolkit: clickable areas, text, fades, sound and the
// message requester that every screen uses.
#ifndef ZENOBAR_TOOLKIT_H
#define ZENOBAR_TOOLKIT_H

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <SDL/SDL_mixer.h>
#include <SDL/SDL_ttf.h>
#include <atomic>

// A clickable rectangle; it is an SDL_Rect so it can be blitted directly.
typedef SDL_Rect Button;

void set_button(Button *button, int x, int y, int w, int h);
int pressed(const Button *button, int mx, int my);
void DrawText(TTF_Font *font, const char *text, int x, int y, Uint8 r, Uint8 g, Uint8 b);

void fade(SDL_Surface *display, SDL_Surface *picture, unsigned int seconds, int direction);

// The one sound on the mixer's music channel. The mixer's thread releases
// it too (musicDone), so it is only ever taken with an exchange.
extern std::atomic<Mix_Music *> smusic;
void open_audio();
void play_sound(int id);
void musicDone();

void requester(int x, int y, const char *message);

// Trace lines of the high-score code.
void trace(const char *format, ...) __attribute__((format(printf, 1, 2)));

#endif
