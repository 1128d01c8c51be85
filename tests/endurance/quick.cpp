// zenobar-quick: the real program, real drivers and real input, with the
// clock it sees running 25 times faster, so the intro's sixteen seconds
// pass in under one. It tells on standard error when its screen is open:
// from then on SDL turns SIGTERM into a close request.
#include <SDL/SDL.h>
#include <stdio.h>

int zenobar_main(int argc, char *argv[]);

static const Uint32 speed = 25;

extern "C" {
Uint32 __real_SDL_GetTicks(void);
void __real_SDL_Delay(Uint32 ms);
SDL_Surface *__real_SDL_SetVideoMode(int w, int h, int bpp, Uint32 flags);

Uint32 __wrap_SDL_GetTicks(void) { return __real_SDL_GetTicks() * speed; }

void __wrap_SDL_Delay(Uint32 ms) { __real_SDL_Delay(ms / speed); }

SDL_Surface *__wrap_SDL_SetVideoMode(int w, int h, int bpp, Uint32 flags)
{
    SDL_Surface *surface = __real_SDL_SetVideoMode(w, h, bpp, flags);
    fprintf(stderr, "zenobar-quick: screen %s\n", surface != NULL ? "open" : "failed");
    return surface;
}
}

int main(int argc, char *argv[]) { return zenobar_main(argc, argv); }
