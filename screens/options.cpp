#include <stdio.h>

#include "screens/screens.h"
#include "shell/shell.h"

static void lit(int area)
{
    SDL_BlitSurface(simage, &opt[area], screen, &opt[area]);
}

static void unlit(int area)
{
    SDL_BlitSurface(image, &opt[area], screen, &opt[area]);
}

static void enter_options()
{
    fade(screen, image, 2, 1);
    SDL_FreeSurface(image);
    image = IMG_Load("gfx/option.png");
    if (image != NULL) {
        fade(screen, image, 2, 0);
        SDL_BlitSurface(image, NULL, screen, NULL);
    } else {
        printf("error!:  %s\n", SDL_GetError());
    }
    SDL_FreeSurface(simage);
    simage = IMG_Load("gfx/soption.png");
    if (simage == NULL)
        printf("error!:  %s\n", SDL_GetError());
    SDL_Delay(100);
    DrawText(font1, "Quit", opt[4].x, opt[4].y, 255, 255, 255);
    if (music == 1)
        lit(0);
    if (music == 0) {
        lit(1);
        Mix_HaltMusic();
    }
    play_sound(music == 1 ? 1 : 5);
    if (fullscreen == 0)
        lit(3);
    else
        lit(2);
    SDL_Flip(screen);
}

static void click(int mx, int my)
{
    if (pressed(&opt[0], mx, my)) {
        if (music == 0)
            play_sound(5);
        music = music == 1 ? -1 : 1;
        unlit(1);
        if (music == 1)
            lit(0);
        else
            unlit(0);
        SDL_Flip(screen);
        event.type = 0;
    }
    if (pressed(&opt[1], mx, my)) {
        if (music == 0)
            play_sound(5);
        music = music == 0 ? -1 : 0;
        if (music == 0)
            lit(1);
        else
            unlit(1);
        unlit(0);
        SDL_Flip(screen);
        event.type = 0;
    }
    if (pressed(&opt[2], mx, my)) {
        if (music == 0)
            play_sound(5);
        fullscreen = 1;
        unlit(3);
        lit(2);
        SDL_Flip(screen);
        event.type = 0;
    }
    if (pressed(&opt[3], mx, my)) {
        if (music == 0)
            play_sound(5);
        fullscreen = 0;
        lit(3);
        unlit(2);
        SDL_Flip(screen);
        event.type = 0;
    }
    if (pressed(&opt[4], mx, my)) {
        quit = 1;
        event.type = 0;
        APPMODE = MODE_MENU;
    }
}

void options()
{
    quit = 0;
    if (APPMODE == MODE_OPTIONS) {
        while (!quit) {
            if (APPMODE != LAPPMODE)
                enter_options();
            LAPPMODE = APPMODE;
            SDL_PollEvent(&event);
            if (event.type == SDL_MOUSEBUTTONUP) {
                int mx, my;
                SDL_GetMouseState(&mx, &my);
                click(mx, my);
            } else if (event.type == SDL_QUIT) {
                if (music == 0)
                    play_sound(5);
                quit = 1;
                quitapp = 1;
                event.type = 0;
                APPMODE = MODE_QUIT;
            }
        }
    }
    // The display follows the setting only once the screen is left.
    SDL_Delay(200);
    if (sfullscreen != fullscreen)
        SDL_WM_ToggleFullScreen(screen);
    sfullscreen = fullscreen;
}
