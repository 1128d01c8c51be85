// The state the toolkit draws on and reads input into, shared with every
// screen: the display, its pictures and fonts, the event record, the quit
// flags and the language. It lives here so that the toolkit needs nothing
// above it.
#ifndef ZENOBAR_TOOLKIT_DISPLAY_H
#define ZENOBAR_TOOLKIT_DISPLAY_H

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>

// The window's surface, set once by main; NULL until then.
extern SDL_Surface *screen;
// The current screen's picture; the next screen frees it on entry.
extern SDL_Surface *image;
// The current screen's picture with everything highlighted (flags, menu
// entries, options, used lifelines); freed like `image`.
extern SDL_Surface *simage;
// Vera.ttf at 20 points (names, messages) and 14 (questions, polls);
// opened by main, NULL when the font is missing, and then nothing is drawn.
extern TTF_Font *font1, *font2;
// The one event record: polled into by every loop, and kept by SDL when no
// event waits, so a handler that must not repeat sets its type to 0.
extern SDL_Event event;
// quit: 1 ends the current screen's loop; every screen sets it to 0 first.
// quitapp: 1 once the player closed the window or chose the menu's last
// entry; the mode loop then ends after its pass.
extern int quit, quitapp;

// Values of `language`; there is no 3. Chosen in the intro, never saved.
enum { LANG_POLISH = 1, LANG_ENGLISH = 2, LANG_SWEDISH = 4 };
extern int language;
// The row of the language's data (pictures, questions): Polish for none.
int language_folder();
// The text of the current language, "" when it is none of the three.
const char *in_language(const char *polish, const char *english, const char *swedish);

#endif
