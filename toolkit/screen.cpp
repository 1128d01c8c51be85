// The change of screen that every screen makes on entry.
#include <stdio.h>

#include "toolkit/toolkit.h"

SDL_Surface *load_picture(const char *file)
{
    SDL_Surface *picture = IMG_Load(file);
    if (picture == NULL)
        printf("error!:  %s\n", SDL_GetError());
    return picture;
}

void leave_screen()
{
    fade(screen, image, 2, 1);
}

int enter_screen(const char *file, int how)
{
    SDL_FreeSurface(image);
    image = load_picture(file);
    if (image == NULL)
        return 0;
    if (how == BLIT_FIRST)
        SDL_BlitSurface(image, NULL, screen, NULL);
    fade(screen, image, 2, 0);
    // The fade stops short of its last step: the picture itself goes last.
    SDL_BlitSurface(image, NULL, screen, NULL);
    return 1;
}

int change_screen(const char *file)
{
    leave_screen();
    return enter_screen(file, 0);
}

void load_simage(const char *file)
{
    SDL_FreeSurface(simage);
    simage = load_picture(file);
}
