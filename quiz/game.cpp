#include "quiz/quiz.h"
#include "shell/shell.h"

const char win[13][10] = {
    "0", "100", "200", "500", "1000", "3000", "6000",
    "12000", "25000", "50000", "100000", "1000000", "10000000",
};

int oneone = 0, call = 0, pub = 0;
int position = 0;
int ix = 0, iy = 0;

void game()
{
    quit = 0;
    oneone = 0;
    call = 0;
    pub = 0;
    if (APPMODE != MODE_GAME)
        return;
    // Until the quiz is playable the new-game road leads back to the menu.
    APPMODE = MODE_MENU;
}
