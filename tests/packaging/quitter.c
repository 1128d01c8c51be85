/* Preloaded into a program under test, as a tester's tool would be: the
   window's close request comes at poll ZENOBAR_QUIT_AFTER (default 1),
   nothing before it, and the main thread's clock runs without waiting.
   Other threads keep a real clock. */
#define _GNU_SOURCE
#include <SDL/SDL.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

static Uint32 virtual_now;
static long polls;

int SDL_PollEvent(SDL_Event *event)
{
    const char *after = getenv("ZENOBAR_QUIT_AFTER");
    if (++polls < (after != NULL ? atol(after) : 1))
        return 0;
    if (event != NULL)
        event->type = SDL_QUIT;
    return 1;
}

Uint32 SDL_GetTicks(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return gettid() == getpid() ? virtual_now += 500 : (Uint32)(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

void SDL_Delay(Uint32 ms)
{
    struct timespec wait = {ms / 1000, (long)(ms % 1000) * 1000000};
    if (gettid() != getpid())
        nanosleep(&wait, NULL);
    else
        virtual_now += ms;
}
