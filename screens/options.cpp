// The options screen: music or effects, full screen or window.
#include "screens/screens_local.h"

// The areas of opt: the two sound choices, the two display choices, Quit.
enum { OPT_MUSIC, OPT_EFFECTS, OPT_FULLSCREEN, OPT_WINDOW, OPT_QUIT };

static void shade(int area, int on)
{
    SDL_Surface *from = on ? simage : image;
    SDL_BlitSurface(from, &opt[area], screen, &opt[area]);
}

static void enter_options()
{
    change_screen("gfx/option.png");
    load_simage("gfx/soption.png");
    SDL_Delay(100);
    DrawText(font1, "Quit", opt[OPT_QUIT].x, opt[OPT_QUIT].y, 255, 255, 255);
    if (music == 1)
        shade(OPT_MUSIC, 1);
    if (music == 0) {
        shade(OPT_EFFECTS, 1);
        Mix_HaltMusic();
    }
    play_sound(music == 1 ? SND_MENU_TUNE : SND_CLICK);
    if (fullscreen == 0)
        shade(OPT_WINDOW, 1);
    else
        shade(OPT_FULLSCREEN, 1);
    SDL_Flip(screen);
}

// Heard in the setting as it was before the click.
static void click_sound()
{
    if (music == 0)
        play_sound(SND_CLICK);
}

// A choice clicked: its row is drawn anew, the right-hand choice first.
static void redraw_row(int right, int right_on, int left, int left_on)
{
    shade(right, right_on);
    shade(left, left_on);
    SDL_Flip(screen);
    event.type = 0;
}

static void click(int mx, int my)
{
    if (pressed(&opt[OPT_MUSIC], mx, my)) {
        click_sound();
        music = music == 1 ? -1 : 1;
        redraw_row(OPT_EFFECTS, 0, OPT_MUSIC, music == 1);
    }
    if (pressed(&opt[OPT_EFFECTS], mx, my)) {
        click_sound();
        music = music == 0 ? -1 : 0;
        redraw_row(OPT_EFFECTS, music == 0, OPT_MUSIC, 0);
    }
    if (pressed(&opt[OPT_FULLSCREEN], mx, my)) {
        click_sound();
        fullscreen = 1;
        redraw_row(OPT_WINDOW, 0, OPT_FULLSCREEN, 1);
    }
    if (pressed(&opt[OPT_WINDOW], mx, my)) {
        click_sound();
        fullscreen = 0;
        redraw_row(OPT_WINDOW, 1, OPT_FULLSCREEN, 0);
    }
    if (pressed(&opt[OPT_QUIT], mx, my)) {
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
                click_sound();
                end_program();
                event.type = 0;
            }
        }
    }
    // The display follows the setting only once the screen is left.
    SDL_Delay(200);
    if (sfullscreen != fullscreen)
        SDL_WM_ToggleFullScreen(screen);
    sfullscreen = fullscreen;
}
