// powersdl.library: SDL on the host's SDL 1.2.
#include "morphos/libs/library.h"

struct PowerSDLLibrary LibBase;

static void set_tgl(void **context, void **tinygl)
{
    LibBase.tgl_context = context;
    LibBase.tinygl_base = tinygl;
}

// The second call of a screen's poll: it gathers what input is pending
// into the queue but takes nothing, so `event` keeps what the first call
// left in it.
static void pump_queue(SDL_Event *event)
{
    (void)event;
    SDL_PumpEvents();
}

// The program's SDL_Quit does nothing: closing this library shuts SDL down.
static void expunge(void)
{
    SDL_Quit();
}

struct PowerSDLLibrary LibBase = {
    .lib = LIBRARY_HEAD("powersdl.library"),
    .SDL_SetTGL = set_tgl,
    .SDL_Init = SDL_Init,
    .SDL_SetVideoMode = SDL_SetVideoMode,
    .SDL_WM_SetCaption = SDL_WM_SetCaption,
    .SDL_WM_ToggleFullScreen = SDL_WM_ToggleFullScreen,
    .SDL_FreeSurface = SDL_FreeSurface,
    .SDL_FillRect = SDL_FillRect,
    .SDL_UpperBlit = SDL_UpperBlit,
    .SDL_Flip = SDL_Flip,
    .SDL_MapRGB = SDL_MapRGB,
    .SDL_CreateRGBSurface = SDL_CreateRGBSurface,
    .SDL_SetAlpha = SDL_SetAlpha,
    .SDL_GetTicks = SDL_GetTicks,
    .SDL_Delay = SDL_Delay,
    .SDL_PollEvent = SDL_PollEvent,
    .SDL_PumpQueue = pump_queue,
    .SDL_GetKeyState = SDL_GetKeyState,
    .SDL_GetMouseState = SDL_GetMouseState,
    .SDL_GetError = SDL_GetError,
};
