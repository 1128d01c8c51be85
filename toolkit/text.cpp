// Text drawn with one of the two fonts.
#include "toolkit/toolkit.h"

void DrawText(TTF_Font *font, const char *text, int x, int y, Uint8 r, Uint8 g, Uint8 b)
{
    // Without a font (Vera.ttf missing) there is nothing to draw, but the
    // callers still count on the flip.
    if (font != NULL) {
        SDL_Color colour = {r, g, b, 0};
        SDL_Surface *rendered = TTF_RenderText_Solid(font, text, colour);
        int w = 0, h = 0;
        TTF_SizeText(font, text, &w, &h);
        SDL_Rect where = {(Sint16)x, (Sint16)y, (Uint16)w, (Uint16)h};
        SDL_BlitSurface(rendered, NULL, screen, &where);
        SDL_FreeSurface(rendered);
    }
    SDL_Flip(screen);
}
