// The answer board: the red bar under a chosen answer, the ladder's
// marker, and the wait for the confirming click.
#include "quiz/quiz_local.h"

static SDL_Rect answer_bar(int k)
{
    static const SDL_Rect bars[4] = {{87, 395, 205, 5}, {413, 395, 205, 5}, {87, 457, 205, 5}, {413, 457, 205, 5}};
    return bars[k];
}

void draw_selected(int which)
{
    if (which < 1 || which > 4 || image == NULL || screen == NULL)
        return;
    for (int k = 0; k < 4; k++) {
        if (k == which - 1)
            continue;
        SDL_Rect bar = answer_bar(k);
        SDL_BlitSurface(image, &bar, screen, &bar);
    }
    SDL_Rect bar = answer_bar(which - 1);
    SDL_FillRect(screen, &bar, SDL_MapRGB(screen->format, 255, 0, 0));
    SDL_Flip(screen);
}

void draw_here(int rung)
{
    static const int rungs[12] = {198, 182, 167, 152, 137, 122, 107, 92, 77, 52, 37, 22};
    if (rung < 0 || rung > 11)
        return;
    SDL_Surface *marks = IMG_Load("gfx/smenu.png");
    if (marks == NULL)
        return;
    SDL_Rect marker = {224, 30, 20, 20};
    SDL_Rect where = {408, (Sint16)rungs[rung], 20, 20};
    SDL_BlitSurface(marks, &marker, screen, &where);
    SDL_Flip(screen);
    SDL_FreeSurface(marks);
}

// Waits for the confirming click; lifelines are served meanwhile. A window
// closed during the wait confirms nothing.
int check_again(int code, int *quit_flag)
{
    ix = iy = 0;
    SDL_Delay(100);
    for (;;) {
        event.type = 0;
        SDL_PollEvent(&event);
        if (event.type == SDL_MOUSEBUTTONUP) {
            SDL_GetMouseState(&ix, &iy);
            for (int k = 0; k < 4; k++) {
                if (pressed(&answers[k], ix, iy)) {
                    draw_selected(k + 1);
                    event.type = 0;
                    ix = iy = 0;
                    return answer_codes[k] == code;
                }
            }
            if (pressed(&help[0], ix, iy))
                help_one(code);
            if (pressed(&help[1], ix, iy))
                phone(code);
            if (pressed(&help[2], ix, iy))
                pub_speak(code);
        } else if (event.type == SDL_QUIT) {
            end_program();
            *quit_flag = 1;
            ix = iy = 0;
            return 0;
        }
    }
}
