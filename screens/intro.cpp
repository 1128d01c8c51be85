#include <stdio.h>

#include "screens/screens.h"
#include "shell/shell.h"

void draw_buttonslang(int highlight, int restore, SDL_Surface *normal, SDL_Surface *lit,
                      SDL_Surface *target)
{
    swap_highlight(lang, 3, highlight, restore, normal, lit, target);
}

// A picture faded in, shown for three seconds and faded out; it cannot be
// skipped.
static void show_picture(SDL_Surface *display, const char *file)
{
    SDL_Surface *picture = IMG_Load(file);
    if (picture == NULL) {
        printf("error!:  %s\n", SDL_GetError());
        return;
    }
    fade(screen, picture, 2, 0);
    SDL_BlitSurface(picture, NULL, display, NULL);
    SDL_Flip(display);
    SDL_Delay(3000);
    fade(screen, picture, 2, 1);
    SDL_FreeSurface(picture);
}

static void choose_language(SDL_Surface *display)
{
    static const int languages[] = {1, 2, 4};
    int current = 0, previous = 0;
    while (!quit) {
        SDL_PollEvent(&event);
        previous = current;
        switch (event.type) {
        case SDL_MOUSEMOTION: {
            int mx, my;
            SDL_GetMouseState(&mx, &my);
            current = 0;
            for (int k = 1; k <= 3; k++) {
                if (pressed(&lang[k - 1], mx, my)) {
                    current = k;
                    break;
                }
            }
            draw_buttonslang(current, previous, image, simage, display);
            break;
        }
        case SDL_KEYDOWN:
            if (SDL_GetKeyState(NULL)[SDLK_ESCAPE])
                quit = 1;
            break;
        case SDL_MOUSEBUTTONUP:
            if (current != 0) {
                language = languages[current - 1];
                quit = 1;
                event.type = 0;
            }
            break;
        case SDL_QUIT:
            quit = 1;
            quitapp = 1;
            APPMODE = MODE_QUIT;
            break;
        }
    }
}

void intro_part(SDL_Surface *display)
{
    quit = 0;
    set_button(&lang[0], 220, 130, 220, 160);
    set_button(&lang[1], 80, 290, 220, 160);
    set_button(&lang[2], 360, 290, 220, 160);

    show_picture(display, "gfx/logo.png");
    show_picture(display, "gfx/title.png");

    image = IMG_Load("gfx/slanguage.png");
    if (image == NULL) {
        printf("error!:  %s\n", SDL_GetError());
    } else {
        simage = IMG_Load("gfx/sslanguage.png");
        if (simage == NULL) {
            printf("error!:  %s\n", SDL_GetError());
        } else {
            fade(screen, image, 2, 0);
            SDL_BlitSurface(image, NULL, display, NULL);
            SDL_Flip(display);
            choose_language(display);
        }
    }
    play_sound(5);
}
