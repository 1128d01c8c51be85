// Clickable areas, their highlights, and the Escape key.
#include "toolkit/toolkit.h"

void set_button(Button *button, int x, int y, int w, int h)
{
    button->x = (Sint16)x;
    button->y = (Sint16)y;
    button->w = (Uint16)w;
    button->h = (Uint16)h;
}

// All four edges count: a button w wide answers to w + 1 columns.
int pressed(const Button *button, int mx, int my)
{
    int x = button->x, y = button->y;
    int w = button->w, h = button->h;
    return x <= mx && mx <= x + w && y <= my && my <= y + h;
}

int mouse_over(const Button *areas, int count)
{
    int mx, my;
    SDL_GetMouseState(&mx, &my);
    for (int k = 1; k <= count; k++)
        if (pressed(&areas[k - 1], mx, my))
            return k;
    return 0;
}

void quit_on_escape()
{
    if (SDL_GetKeyState(NULL)[SDLK_ESCAPE])
        quit = 1;
}

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
