// The name entry before each game.
#include <string.h>

#include "scores/scores.h"
#include "shell/shell.h"

// Where the name is typed; its picture is restored before every redraw.
static Button name_field = {120, 402, 520, 30};

static void restore_field()
{
    Button field = name_field;
    SDL_BlitSurface(image, &field, screen, &field);
    SDL_Flip(screen);
}

static void enter_name_screen()
{
    leave_screen();
    if (enter_screen("gfx/name.png", BLIT_FIRST)) {
        SDL_Flip(screen);
        // The line feed at 10 is overwritten by the terminators of the
        // first ten letters.
        memset(player_name, 0, 10);
        player_name[10] = '\n';
        restore_field();
        const char *prompt = in_language("Prosze wpisac swoje imie", "Please enter your name",
                                         "Var v\xe4nlig ange ditt namn");
        DrawText(font1, prompt, 270, 360, 0, 0, 0);
    }
    SDL_Delay(100);
}

static void type_key(int sym)
{
    if (sym == SDLK_BACKSPACE) {
        player_name[nplayer] = 0;
        if (nplayer > 0) {
            nplayer--;
            player_name[nplayer] = 0;
        }
    } else if ((sym >= 'a' && sym <= 'z') || (sym >= 'A' && sym <= 'Z')) {
        player_name[nplayer] = (char)(sym & 0xff);
        nplayer++;
        player_name[nplayer] = 0;
        // From the tenth letter on, every letter lands at index 10.
        if (nplayer > 9)
            nplayer = 10;
        if (music == 0)
            play_sound(SND_KEY);
    }
    restore_field();
    DrawText(font1, player_name, 140, 400, 0, 0, 0);
    SDL_Delay(100);
}

void enter_name()
{
    quit = 0;
    if (APPMODE != MODE_NAME)
        return;
    while (!quit) {
        if (APPMODE != LAPPMODE)
            enter_name_screen();
        LAPPMODE = APPMODE;
        // A key still held leaves its event here and types again.
        SDL_PollEvent(&event);
        if (event.type == SDL_KEYDOWN) {
            int sym = event.key.keysym.sym;
            if (sym == SDLK_RETURN) {
                if (music == 0)
                    play_sound(SND_START);
                APPMODE = MODE_GAME;
                quit = 1;
            } else if (nplayer <= 10) {
                type_key(sym);
            }
        } else if (event.type == SDL_QUIT) {
            end_program();
        }
    }
}
