// The modal message box: a message in the information box, kept until a
// mouse button is released or the window closed.
#include "toolkit/toolkit.h"

void requester(int x, int y, const char *message)
{
    quit = 0;
    SDL_Surface *box = IMG_Load("gfx/information.png");
    if (box != NULL) {
        SDL_Rect where = {(Sint16)x, (Sint16)y, 0, 0};
        SDL_BlitSurface(box, NULL, screen, &where);
        DrawText(font1, message, x + 40, y + 20, 0, 0, 0);
        const char *prompt = in_language("Wcisnij lewy przycisk myszy", "Press Left mouse button to continue",
                                         "Tryck p\xe5 v\xe4nster musknapp f\xf6r att forts\xe4tta");
        if (prompt[0] != 0)
            DrawText(font2, prompt, x + 40, y + 55, 0, 0, 200);
        SDL_Flip(screen);
        SDL_FreeSurface(box);
    }
    while (!quit) {
        SDL_PollEvent(&event);
        if (event.type == SDL_MOUSEBUTTONUP) {
            quit = 1;
            event.type = 0;
        } else if (event.type == SDL_QUIT) {
            quit = 1;
            quitapp = 1;
            event.type = 0;
        }
    }
}
