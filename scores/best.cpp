// The best-players screen: the table drawn on its picture.
#include <string.h>

#include "quiz/quiz.h"
#include "scores/scores_local.h"
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
            if (LAPPMODE != APPMODE && change_screen("gfx/thebest.png")) {
                draw_rows();
                SDL_Flip(screen);
                if (music == 0)
                    play_sound(SND_APPLAUSE);
                SDL_Delay(100);
            }
            click_to_menu();
        }
        if (music == 0)
            play_sound(SND_CLICK);
    }
    SDL_Delay(200);
}
