#include <stdio.h>

#include "screens/screens.h"
#include "shell/shell.h"

// Shared by the menu entries and the intro's flags.
void swap_highlight(Button *areas, int count, int highlight, int restore, SDL_Surface *normal,
                    SDL_Surface *lit, SDL_Surface *target)
{
    if (highlight != restore && normal != NULL && lit != NULL && target != NULL) {
        if (highlight >= 1 && highlight <= count)
            SDL_BlitSurface(lit, &areas[highlight - 1], target, &areas[highlight - 1]);
        if (restore >= 1 && restore <= count)
            SDL_BlitSurface(normal, &areas[restore - 1], target, &areas[restore - 1]);
    }
    SDL_Flip(target);
}

void draw_buttons(int highlight, int restore, SDL_Surface *normal, SDL_Surface *lit,
                  SDL_Surface *target)
{
    swap_highlight(mbutton, 5, highlight, restore, normal, lit, target);
}

static void enter_menu()
{
    static const char *const pictures[][2] = {
        {"gfx/menu.png", "gfx/smenu.png"},
        {"gfx/eng/menu.png", "gfx/eng/smenu.png"},
        {"gfx/swe/menu.png", "gfx/swe/smenu.png"},
    };
    int which = language == 2 ? 1 : language == 4 ? 2 : 0;

    fade(screen, image, 2, 1);
    if (music == 1)
        play_sound(1);
    SDL_FreeSurface(image);
    image = IMG_Load(pictures[which][0]);
    if (image != NULL) {
        fade(screen, image, 2, 0);
        SDL_BlitSurface(image, NULL, screen, NULL);
        SDL_Flip(screen);
    } else {
        printf("error!:  %s\n", SDL_GetError());
    }
    SDL_FreeSurface(simage);
    simage = IMG_Load(pictures[which][1]);
    if (simage == NULL)
        printf("error!:  %s\n", SDL_GetError());
    SDL_Delay(100);
}

static void choose_entry()
{
    static const int modes[] = {MODE_NAME, MODE_OPTIONS, MODE_SCORES, MODE_INFO};
    if (BSET < 1 || BSET > 5)
        return;
    if (music == 0)
        play_sound(BSET == 1 ? 10 : 5);
    quit = 1;
    if (BSET == 5) {
        quitapp = 1;
        APPMODE = MODE_QUIT;
        return;
    }
    APPMODE = modes[BSET - 1];
    if (BSET != 4)
        nplayer = 0;
    event.type = 0;
}

void main_menu()
{
    quit = 0;
    if (APPMODE != MODE_MENU)
        return;
    event.type = 0;
    BSET = 0;
    while (!quit) {
        if (APPMODE != LAPPMODE)
            enter_menu();
        LAPPMODE = APPMODE;
        SDL_PollEvent(&event);
        switch (event.type) {
        case SDL_MOUSEMOTION: {
            int mx, my;
            SDL_GetMouseState(&mx, &my);
            LBSET = BSET;
            BSET = 0;
            for (int k = 1; k <= 5; k++) {
                if (pressed(&mbutton[k - 1], mx, my)) {
                    BSET = k;
                    break;
                }
            }
            draw_buttons(BSET, LBSET, image, simage, screen);
            break;
        }
        case SDL_KEYDOWN:
            if (SDL_GetKeyState(NULL)[SDLK_ESCAPE])
                quit = 1;
            break;
        case SDL_MOUSEBUTTONUP:
            choose_entry();
            break;
        case SDL_QUIT:
            quit = 1;
            quitapp = 1;
            APPMODE = MODE_QUIT;
            break;
        }
    }
}
