// The intro: two pictures, then the choice of language by its flag.
#include "screens/screens_local.h"

void draw_buttonslang(int highlight, int restore, SDL_Surface *normal, SDL_Surface *lit,
                      SDL_Surface *target)
{
    swap_highlight(lang, 3, highlight, restore, normal, lit, target);
}

// A picture faded in, shown for three seconds and faded out; it cannot be
// skipped.
static void show_picture(SDL_Surface *display, const char *file)
{
    SDL_Surface *picture = load_picture(file);
    if (picture == NULL)
        return;
    fade(screen, picture, 2, 0);
    SDL_BlitSurface(picture, NULL, display, NULL);
    SDL_Flip(display);
    SDL_Delay(3000);
    fade(screen, picture, 2, 1);
    SDL_FreeSurface(picture);
}

static void choose_language(SDL_Surface *display)
{
    static const int languages[] = {LANG_POLISH, LANG_ENGLISH, LANG_SWEDISH};
    int current = 0, previous = 0;
    while (!quit) {
        SDL_PollEvent(&event);
        previous = current;
        switch (event.type) {
        case SDL_MOUSEMOTION:
            current = mouse_over(lang, 3);
            draw_buttonslang(current, previous, image, simage, display);
            break;
        case SDL_KEYDOWN:
            quit_on_escape();
            break;
        case SDL_MOUSEBUTTONUP:
            if (current != 0) {
                language = languages[current - 1];
                quit = 1;
                event.type = 0;
            }
            break;
        case SDL_QUIT:
            end_program();
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

    image = load_picture("gfx/slanguage.png");
    if (image != NULL) {
        simage = load_picture("gfx/sslanguage.png");
        if (simage != NULL) {
            fade(screen, image, 2, 0);
            SDL_BlitSurface(image, NULL, display, NULL);
            SDL_Flip(display);
            choose_language(display);
        }
    }
    play_sound(SND_CLICK);
}
