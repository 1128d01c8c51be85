#include <stdio.h>

#include "screens/screens.h"
#include "shell/shell.h"

void info_menu()
{
    quit = 0;
    if (APPMODE == MODE_INFO) {
        while (!quit) {
            if (APPMODE != LAPPMODE) {
                fade(screen, image, 2, 1);
                SDL_FreeSurface(image);
                image = IMG_Load("gfx/info.png");
                if (image != NULL) {
                    fade(screen, image, 2, 0);
                    SDL_BlitSurface(image, NULL, screen, NULL);
                    SDL_Flip(screen);
                    SDL_Delay(100);
                } else {
                    printf("error!:  %s\n", SDL_GetError());
                }
            }
            LAPPMODE = APPMODE;
            SDL_PollEvent(&event);
            if (event.type == SDL_MOUSEBUTTONUP) {
                quit = 1;
                event.type = 0;
                APPMODE = MODE_MENU;
            } else if (event.type == SDL_QUIT) {
                quit = 1;
                quitapp = 1;
                event.type = 0;
                APPMODE = MODE_QUIT;
            }
        }
    }
    // Every pass of the mode loop clicks and waits here.
    if (music == 0)
        play_sound(5);
    SDL_Delay(200);
}
