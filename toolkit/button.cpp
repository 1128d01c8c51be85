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
