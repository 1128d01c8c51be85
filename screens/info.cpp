// The information screen: a picture, left with any click.
#include "screens/screens_local.h"

void info_menu()
{
    quit = 0;
    if (APPMODE == MODE_INFO) {
        while (!quit) {
            if (APPMODE != LAPPMODE && change_screen("gfx/info.png")) {
                SDL_Flip(screen);
                SDL_Delay(100);
            }
            click_to_menu();
        }
    }
    // Every pass of the mode loop clicks and waits here.
    if (music == 0)
        play_sound(SND_CLICK);
    SDL_Delay(200);
}
