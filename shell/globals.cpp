// The state that crosses screens, with its initial values.
#include "shell/shell.h"

int APPMODE = MODE_MENU;
int LAPPMODE = 0;
int BSET = 0;
int LBSET = 0;
int language = 1;
int music = 0;
int fullscreen = 0;
int sfullscreen = 0;
SDL_Surface *screen = NULL;
SDL_Surface *image = NULL;
SDL_Surface *simage = NULL;
TTF_Font *font1 = NULL;
TTF_Font *font2 = NULL;
int quit = 0;
int quitapp = 0;
char *player_name = NULL;
int nplayer = 0;
SDL_Event event;

Button mbutton[5];
Button answers[4];
Button help[3];
Button opt[5];
Button lang[3];
