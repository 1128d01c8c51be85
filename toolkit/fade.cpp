// The fade between a picture and black.
#include <stdio.h>

#include "toolkit/toolkit.h"

static SDL_Surface *display_sized(SDL_Surface *display, Uint32 flags)
{
    SDL_PixelFormat *f = display->format;
    return SDL_CreateRGBSurface(flags, display->w, display->h, f->BitsPerPixel,
                                f->Rmask, f->Gmask, f->Bmask, f->Amask);
}

// Lays a black overlay over the picture with a falling (direction 0) or
// rising alpha. Alpha moves by the time each frame really took, so the
// fade lasts `seconds` at any frame rate.
void fade(SDL_Surface *display, SDL_Surface *picture, unsigned int seconds, int direction)
{
    Uint32 flags = SDL_SRCALPHA | (display->flags & SDL_HWSURFACE);
    SDL_Surface *black = display_sized(display, flags);
    if (black == NULL) {
        fprintf(stderr, "fade: could not create the black Surface. (%s)\n", SDL_GetError());
        return;
    }
    SDL_FillRect(black, NULL, SDL_MapRGB(display->format, 0, 0, 0));

    SDL_Surface *copy = NULL;
    if (picture == display) {
        copy = display_sized(display, flags);
        if (copy == NULL) {
            fprintf(stderr, "fade: could not create a copy of the Screen Surface. (%s)\n",
                    SDL_GetError());
            SDL_FreeSurface(black);
            return;
        }
        SDL_BlitSurface(display, NULL, copy, NULL);
        picture = copy;
    }

    Uint32 previous, now;
    previous = now = SDL_GetTicks();
    float duration = (float)(seconds * 1000);
    float alpha = direction == 0 ? 255.0f : 0.0f;

    while (direction == 0 ? alpha > 0.0f : alpha < 255.0f) {
        SDL_BlitSurface(picture, NULL, display, NULL);
        SDL_SetAlpha(black, SDL_SRCALPHA, (Uint8)(int)alpha);
        SDL_BlitSurface(black, NULL, display, NULL);
        previous = now;
        now = SDL_GetTicks();
        SDL_Flip(display);
        float step = (float)(Uint32)(now - previous) / duration * 255.0f;
        if (direction == 0)
            alpha -= step;
        else
            alpha += step;
    }

    SDL_FreeSurface(black);
    SDL_FreeSurface(copy);
}
