#include <stdio.h>
#include <string.h>

#include "quiz/quiz.h"
#include "scores/scores.h"
#include "shell/shell.h"

static void draw_rows()
{
    for (int i = 0; i < 5; i++) {
        int y = 380 - 51 * i;
        char name[32];
        memset(name, 0, sizeof name);
        memcpy(name, players[i], sizeof players[i]);
        name[sizeof players[i] - 1] = 0;
        int n = (int)strlen(name);
        // Positions before the name's first byte read as NUL, like the
        // terminator itself.
        char before2 = n >= 2 ? name[n - 2] : 0;
        char before1 = n >= 1 ? name[n - 1] : 0;
        trace("char-2 %c char-1 %c char %c\n", before2, before1, name[n]);
        if (n >= 1 && name[n - 1] == '\n')
            name[n - 1] = 0;
        DrawText(font1, name, 110, y, 0, 0, 0);
        int level = playersi[i];
        // Only an edited file holds a level off the ladder.
        const char *amount = level >= 0 && level <= 12 ? win[level] : "?";
        DrawText(font1, amount, 480, y, 0, 0, 0);
    }
}

void highscores()
{
    quit = 0;
    if (APPMODE == MODE_SCORES) {
        while (!quit) {
            if (LAPPMODE != APPMODE) {
                fade(screen, image, 2, 1);
                SDL_FreeSurface(image);
                image = IMG_Load("gfx/thebest.png");
                if (image == NULL) {
                    printf("error!:  %s\n", SDL_GetError());
                } else {
                    fade(screen, image, 2, 0);
                    SDL_BlitSurface(image, NULL, screen, NULL);
                    draw_rows();
                    SDL_Flip(screen);
                    if (music == 0)
                        play_sound(3);
                    SDL_Delay(100);
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
        if (music == 0)
            play_sound(5);
    }
    SDL_Delay(200);
}
