// The main menu: five entries, the one under the mouse highlighted.
#include "screens/screens_local.h"

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
    int which = language_folder();

    leave_screen();
    if (music == 1)
        play_sound(SND_MENU_TUNE);
    if (enter_screen(pictures[which][0], 0))
        SDL_Flip(screen);
    load_simage(pictures[which][1]);
    SDL_Delay(100);
}

static void choose_entry()
{
    static const int modes[] = {MODE_NAME, MODE_OPTIONS, MODE_SCORES, MODE_INFO};
    if (BSET < 1 || BSET > 5)
        return;
    if (music == 0)
        play_sound(BSET == 1 ? SND_START : SND_CLICK);
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
        case SDL_MOUSEMOTION:
            LBSET = BSET;
            BSET = mouse_over(mbutton, 5);
            draw_buttons(BSET, LBSET, image, simage, screen);
            break;
        case SDL_KEYDOWN:
            quit_on_escape();
            break;
        case SDL_MOUSEBUTTONUP:
            choose_entry();
            break;
        case SDL_QUIT:
            end_program();
            break;
        }
    }
}
