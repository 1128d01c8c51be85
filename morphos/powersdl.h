// The four PowerSDL libraries as zenobar-morphos sees them: each base is a
// library head followed by its table of entries, one per SDL operation
// the game calls, with the arguments and results of the SDL call.
#ifndef ZENOBAR_MORPHOS_POWERSDL_H
#define ZENOBAR_MORPHOS_POWERSDL_H

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <SDL/SDL_mixer.h>
#include <SDL/SDL_ttf.h>

#include "morphos/system.h"

struct PowerSDLLibrary {
    struct Library lib;
    // The set-up entry: the program's TinyGL context and base, by address.
    void (*SDL_SetTGL)(void **context, void **tinygl);
    int (*SDL_Init)(Uint32 flags);
    SDL_Surface *(*SDL_SetVideoMode)(int width, int height, int bpp, Uint32 flags);
    void (*SDL_WM_SetCaption)(const char *title, const char *icon);
    int (*SDL_WM_ToggleFullScreen)(SDL_Surface *surface);
    void (*SDL_FreeSurface)(SDL_Surface *surface);
    int (*SDL_FillRect)(SDL_Surface *dst, SDL_Rect *rect, Uint32 color);
    int (*SDL_UpperBlit)(SDL_Surface *src, SDL_Rect *srcrect, SDL_Surface *dst, SDL_Rect *dstrect);
    int (*SDL_Flip)(SDL_Surface *screen);
    Uint32 (*SDL_MapRGB)(const SDL_PixelFormat *format, Uint8 r, Uint8 g, Uint8 b);
    SDL_Surface *(*SDL_CreateRGBSurface)(Uint32 flags, int width, int height, int depth,
                                         Uint32 rmask, Uint32 gmask, Uint32 bmask, Uint32 amask);
    int (*SDL_SetAlpha)(SDL_Surface *surface, Uint32 flag, Uint8 alpha);
    Uint32 (*SDL_GetTicks)(void);
    void (*SDL_Delay)(Uint32 ms);
    // A screen's poll is these two neighbours, each given the event record.
    int (*SDL_PollEvent)(SDL_Event *event);
    void (*SDL_PumpQueue)(SDL_Event *event);
    Uint8 *(*SDL_GetKeyState)(int *numkeys);
    Uint8 (*SDL_GetMouseState)(int *x, int *y);
    char *(*SDL_GetError)(void);
    // What the set-up entry was handed.
    void **tgl_context;
    void **tinygl_base;
};

struct PowerSDLMixerLibrary {
    struct Library lib;
    int (*Mix_OpenAudio)(int frequency, Uint16 format, int channels, int chunksize);
    void (*Mix_CloseAudio)(void);
    int (*Mix_QuerySpec)(int *frequency, Uint16 *format, int *channels);
    Mix_Music *(*Mix_LoadMUS)(const char *file);
    void (*Mix_FreeMusic)(Mix_Music *music);
    int (*Mix_PlayMusic)(Mix_Music *music, int loops);
    int (*Mix_HaltMusic)(void);
    void (*Mix_HookMusicFinished)(void (*finished)(void));
};

struct PowerSDLImageLibrary {
    struct Library lib;
    SDL_Surface *(*IMG_Load)(const char *file);
};

struct PowerSDLTTFLibrary {
    struct Library lib;
    int (*TTF_Init)(void);
    void (*TTF_Quit)(void);
    TTF_Font *(*TTF_OpenFont)(const char *file, int ptsize);
    void (*TTF_CloseFont)(TTF_Font *font);
    SDL_Surface *(*TTF_RenderText_Solid)(TTF_Font *font, const char *text, SDL_Color fg);
    int (*TTF_SizeText)(TTF_Font *font, const char *text, int *w, int *h);
    void (*TTF_ByteSwappedUNICODE)(int swapped);
};

#ifdef __cplusplus
extern "C" {
#endif

// Opened before main, closed after it; null until then.
extern struct Library *PowerSDLBase, *PowerSDLMixerBase, *PowerSDLImageBase, *PowerSDLTTFBase;
extern void *__tglContext, *TinyGLBase;
// The lock on "PROGDIR:", current for the whole run, and the folder that
// was current before.
extern BPTR NewLock, OldLock;

#ifdef __cplusplus
}
#endif

#endif
