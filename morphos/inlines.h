// Force-included (-include) into every shared source of zenobar-morphos:
// each SDL, SDL_mixer, SDL_image and SDL_ttf call of the game goes
// through the base of its library, as the platform's inline headers make
// it. The SDL headers come first so that their own declarations are left
// alone. SDL_Quit is not here: in this build it is the program's own
// empty function, and SDL shuts down when powersdl.library is closed.
#ifndef ZENOBAR_MORPHOS_INLINES_H
#define ZENOBAR_MORPHOS_INLINES_H

#include "morphos/powersdl.h"

#define POWERSDL ((struct PowerSDLLibrary *)PowerSDLBase)
#define POWERSDL_MIXER ((struct PowerSDLMixerLibrary *)PowerSDLMixerBase)
#define POWERSDL_IMAGE ((struct PowerSDLImageLibrary *)PowerSDLImageBase)
#define POWERSDL_TTF ((struct PowerSDLTTFLibrary *)PowerSDLTTFBase)

#define SDL_Init(flags) POWERSDL->SDL_Init(flags)
#define SDL_SetVideoMode(w, h, bpp, flags) POWERSDL->SDL_SetVideoMode(w, h, bpp, flags)
#define SDL_WM_SetCaption(title, icon) POWERSDL->SDL_WM_SetCaption(title, icon)
#define SDL_WM_ToggleFullScreen(surface) POWERSDL->SDL_WM_ToggleFullScreen(surface)
#define SDL_FreeSurface(surface) POWERSDL->SDL_FreeSurface(surface)
#define SDL_FillRect(dst, rect, color) POWERSDL->SDL_FillRect(dst, rect, color)
#define SDL_UpperBlit(src, srcrect, dst, dstrect) POWERSDL->SDL_UpperBlit(src, srcrect, dst, dstrect)
#define SDL_Flip(screen) POWERSDL->SDL_Flip(screen)
#define SDL_MapRGB(format, r, g, b) POWERSDL->SDL_MapRGB(format, r, g, b)
#define SDL_CreateRGBSurface(flags, w, h, depth, rm, gm, bm, am) \
    POWERSDL->SDL_CreateRGBSurface(flags, w, h, depth, rm, gm, bm, am)
#define SDL_SetAlpha(surface, flag, alpha) POWERSDL->SDL_SetAlpha(surface, flag, alpha)
#define SDL_GetTicks() POWERSDL->SDL_GetTicks()
#define SDL_Delay(ms) POWERSDL->SDL_Delay(ms)
#define SDL_GetKeyState(numkeys) POWERSDL->SDL_GetKeyState(numkeys)
#define SDL_GetMouseState(x, y) POWERSDL->SDL_GetMouseState(x, y)
#define SDL_GetError() POWERSDL->SDL_GetError()

// Where the Linux build polls once, this build makes the pair of calls;
// the second only pumps the queue (see the library), so `event` keeps
// the last event when none is pending and a held key repeats as on Linux.
static inline int powersdl_poll(SDL_Event *event)
{
    int got = POWERSDL->SDL_PollEvent(event);
    POWERSDL->SDL_PumpQueue(event);
    return got;
}
#define SDL_PollEvent(event) powersdl_poll(event)

#define Mix_OpenAudio(frequency, format, channels, chunksize) \
    POWERSDL_MIXER->Mix_OpenAudio(frequency, format, channels, chunksize)
#define Mix_CloseAudio() POWERSDL_MIXER->Mix_CloseAudio()
#define Mix_QuerySpec(frequency, format, channels) POWERSDL_MIXER->Mix_QuerySpec(frequency, format, channels)
#define Mix_LoadMUS(file) POWERSDL_MIXER->Mix_LoadMUS(file)
#define Mix_FreeMusic(music) POWERSDL_MIXER->Mix_FreeMusic(music)
#define Mix_PlayMusic(music, loops) POWERSDL_MIXER->Mix_PlayMusic(music, loops)
#define Mix_HaltMusic() POWERSDL_MIXER->Mix_HaltMusic()
#define Mix_HookMusicFinished(finished) POWERSDL_MIXER->Mix_HookMusicFinished(finished)

#define IMG_Load(file) POWERSDL_IMAGE->IMG_Load(file)

#define TTF_Init() POWERSDL_TTF->TTF_Init()
#define TTF_Quit() POWERSDL_TTF->TTF_Quit()
#define TTF_OpenFont(file, ptsize) POWERSDL_TTF->TTF_OpenFont(file, ptsize)
#define TTF_CloseFont(font) POWERSDL_TTF->TTF_CloseFont(font)
#define TTF_RenderText_Solid(font, text, fg) POWERSDL_TTF->TTF_RenderText_Solid(font, text, fg)
#define TTF_SizeText(font, text, w, h) POWERSDL_TTF->TTF_SizeText(font, text, w, h)
#define TTF_ByteSwappedUNICODE(swapped) POWERSDL_TTF->TTF_ByteSwappedUNICODE(swapped)

#endif
