// main: start-up, the mode loop that runs the screens, and shut-down.
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include "quiz/quiz.h"
#include "scores/scores.h"
#include "screens/screens.h"
#include "shell/shell_local.h"

// Each screen returns at once unless its mode is current, so the loop can
// call all six every pass; a screen chosen in the menu runs in that pass.
static void mode_loop()
{
    do {
        main_menu();
        enter_name();
        info_menu();
        options();
        highscores();
        game();
    } while (!quitapp);
}

static int shut_down(int status)
{
    Mix_CloseAudio();
    SDL_FreeSurface(image);
    SDL_FreeSurface(simage);
    image = simage = NULL;
    SDL_Quit();
    saveh();
    savec();
    free(player_name);
    return status;
}

int main(int argc, char *argv[])
{
    (void)argc;
    (void)argv;

    player_name = (char *)calloc(40, 1);
    if (player_name == NULL) {
        printf("Cannot allocate memory for player!\n");
        exit(1);
    }
    set_areas();
    fullscreen = 0;
    music = 0;
    srand((unsigned int)time(NULL));
    loadh();
    loadc();
    sfullscreen = fullscreen;

    // SDL 1.2 over SDL2 refuses the pair when no audio driver starts;
    // a missing sound device costs only the sound.
    int audio = SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO) != -1;
    if (!audio && SDL_Init(SDL_INIT_VIDEO) == -1) {
        printf("Could not initialize SDL: %s.\n", SDL_GetError());
        free(player_name);
        return -1;
    }
    if (audio)
        open_audio();
    else
        printf("Unable to initialize audio\n");
    screen = SDL_SetVideoMode(640, 480, 24, SDL_ANYFORMAT);
    if (screen == NULL) {
        printf("Cannot open screen!\n");
        return shut_down(1);
    }
    if (TTF_Init() == -1) {
        printf("Cannot initialize TTF Engine!\n");
        return shut_down(1);
    }
    font1 = TTF_OpenFont("Vera.ttf", 20);
    if (font1 == NULL)
        printf("TTF_OpenFont: %s\n", SDL_GetError());
    font2 = TTF_OpenFont("Vera.ttf", 14);
    if (font2 == NULL)
        printf("TTF_OpenFont: %s\n", SDL_GetError());
    TTF_ByteSwappedUNICODE(1);
    SDL_WM_SetCaption("Zenobar 1.0", NULL);
    if (fullscreen == 1)
        SDL_WM_ToggleFullScreen(screen);

    intro_part(screen);
    mode_loop();

    TTF_CloseFont(font2);
    TTF_CloseFont(font1);
    TTF_Quit();
    return shut_down(0);
}
