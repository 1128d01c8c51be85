// The state that crosses screens, with its initial values.
#include "shell/shell_local.h"

int APPMODE = MODE_MENU;
int LAPPMODE = 0;
int BSET = 0;
int LBSET = 0;
int music = 0;
int fullscreen = 0;
int sfullscreen = 0;
char *player_name = NULL;
int nplayer = 0;

Button mbutton[5];
Button answers[4];
Button help[3];
Button opt[5];
Button lang[3];

void set_areas()
{
    set_button(&mbutton[0], 161, 121, 320, 50);
    set_button(&mbutton[1], 161, 184, 320, 50);
    set_button(&mbutton[2], 161, 249, 320, 50);
    set_button(&mbutton[3], 161, 307, 320, 50);
    set_button(&mbutton[4], 161, 367, 320, 50);
    set_button(&answers[0], 66, 361, 230, 40);
    set_button(&answers[1], 354, 361, 230, 40);
    set_button(&answers[2], 66, 424, 230, 40);
    set_button(&answers[3], 354, 424, 230, 40);
    set_button(&help[0], 450, 0, 60, 55);
    set_button(&help[1], 510, 0, 60, 55);
    set_button(&help[2], 570, 0, 60, 55);
    set_button(&opt[0], 0, 180, 240, 35);
    set_button(&opt[1], 400, 180, 240, 35);
    set_button(&opt[2], 0, 335, 240, 35);
    set_button(&opt[3], 400, 335, 240, 35);
    set_button(&opt[4], 240, 430, 160, 50);
}

void end_program()
{
    quit = 1;
    quitapp = 1;
    APPMODE = MODE_QUIT;
}

void click_to_menu()
{
    LAPPMODE = APPMODE;
    SDL_PollEvent(&event);
    if (event.type == SDL_MOUSEBUTTONUP) {
        quit = 1;
        event.type = 0;
        APPMODE = MODE_MENU;
    } else if (event.type == SDL_QUIT) {
        end_program();
        event.type = 0;
    }
}
