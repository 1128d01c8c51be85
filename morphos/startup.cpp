// The openers that run before main and the closers that run after it:
// the four PowerSDL libraries and the switch to the program's own folder.
// An opener that fails ends the program with 20 before main; the closers
// still run and release what was opened.
#include <stdlib.h>

#include "morphos/powersdl.h"
#include "morphos/system.h"

struct Library *PowerSDLBase, *PowerSDLMixerBase, *PowerSDLImageBase, *PowerSDLTTFBase;
void *__tglContext, *TinyGLBase;
BPTR NewLock, OldLock;

// GCC keeps constructor priorities up to 100 for itself, so the
// platform's 100 (SDL) and 101 (its companions) become 200 and 201: SDL
// still opens first. Closers run in the reverse order of their
// priorities, so the companions close before SDL.
#define PRIORITY_SDL 200
#define PRIORITY_COMPANIONS 201

enum { SDL_VERSION_NEEDED = 10, COMPANION_VERSION_NEEDED = 6, FAILED = 20 };

static void need_version(LONG version, const char *name)
{
    struct Library *IntuitionBase = OpenLibrary("intuition.library", 0);
    if (IntuitionBase == NULL)
        return;
    struct EasyStruct request = {sizeof(struct EasyStruct), 0, "SDL startup message",
                                 "Need version %.10ld of %.32s", "Abort"};
    IPTR args[] = {version, (IPTR)name};
    EasyRequestArgs(NULL, &request, NULL, args);
    CloseLibrary(IntuitionBase);
}

__attribute__((constructor(PRIORITY_SDL))) static void open_powersdl()
{
    PowerSDLBase = OpenLibrary("powersdl.library", SDL_VERSION_NEEDED);
    if (PowerSDLBase == NULL) {
        need_version(SDL_VERSION_NEEDED, "powersdl.library");
        exit(FAILED);
    }
    ((struct PowerSDLLibrary *)PowerSDLBase)->SDL_SetTGL(&__tglContext, &TinyGLBase);
    // From here on every relative path of the game is in the program's folder.
    NewLock = Lock("PROGDIR:", SHARED_LOCK);
    if (NewLock == 0) {
        CloseLibrary(PowerSDLBase);
        PowerSDLBase = NULL;
        exit(FAILED);
    }
    OldLock = CurrentDir(NewLock);
}

__attribute__((destructor(PRIORITY_SDL))) static void close_powersdl()
{
    if (NewLock != 0) {
        CurrentDir(OldLock);
        UnLock(NewLock);
        NewLock = 0;
    }
    CloseLibrary(PowerSDLBase);
    PowerSDLBase = NULL;
}

static void open_companion(struct Library **base, const char *name)
{
    *base = OpenLibrary(name, COMPANION_VERSION_NEEDED);
    if (*base == NULL)
        exit(FAILED);
}

static void close_companion(struct Library **base)
{
    CloseLibrary(*base);
    *base = NULL;
}

__attribute__((constructor(PRIORITY_COMPANIONS))) static void open_mixer()
{
    open_companion(&PowerSDLMixerBase, "powersdl_mixer.library");
}

__attribute__((constructor(PRIORITY_COMPANIONS))) static void open_image()
{
    open_companion(&PowerSDLImageBase, "powersdl_image.library");
}

__attribute__((constructor(PRIORITY_COMPANIONS))) static void open_ttf()
{
    open_companion(&PowerSDLTTFBase, "powersdl_ttf.library");
}

__attribute__((destructor(PRIORITY_COMPANIONS))) static void close_mixer()
{
    close_companion(&PowerSDLMixerBase);
}

__attribute__((destructor(PRIORITY_COMPANIONS))) static void close_image()
{
    close_companion(&PowerSDLImageBase);
}

__attribute__((destructor(PRIORITY_COMPANIONS))) static void close_ttf()
{
    close_companion(&PowerSDLTTFBase);
}
