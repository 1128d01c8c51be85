/* Preloaded into a program under test, as a tester's tool would be: every
   poll brings the window's close request, and the main thread's clock
   runs without waiting. Other threads keep a real clock. */
#define _GNU_SOURCE
#include <SDL/SDL.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static Uint32 virtual_now;

static int on_main_thread(void)
{
    return gettid() == getpid();
}

int SDL_PollEvent(SDL_Event *event)
{
    if (event != NULL) {
        memset(event, 0, sizeof *event);
        event->type = SDL_QUIT;
    }
    return 1;
}

Uint32 SDL_GetTicks(void)
{
    if (on_main_thread())
        return virtual_now += 500;
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (Uint32)(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

void SDL_Delay(Uint32 ms)
{
    if (on_main_thread()) {
        virtual_now += ms;
        return;
    }
    struct timespec wait = {ms / 1000, (long)(ms % 1000) * 1000000};
    nanosleep(&wait, NULL);
}
