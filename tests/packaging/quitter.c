/* Preloaded into a program under test, as a tester's tool would be: the window's close request comes at the
   third poll, and the game's clock runs without waiting. Other threads' waits stay real. */
#define _GNU_SOURCE
#include <SDL/SDL.h>
#include <unistd.h>

static Uint32 virtual_now;
static int polls;

int SDL_PollEvent(SDL_Event *event)
{
    if (++polls < 3)
        return 0;
    if (event != NULL)
        event->type = SDL_QUIT;
    return 1;
}

Uint32 SDL_GetTicks(void) { return virtual_now += 500; }

void SDL_Delay(Uint32 ms)
{
    if (gettid() == getpid())
        virtual_now += ms;
    else
        usleep(ms * 1000);
}
