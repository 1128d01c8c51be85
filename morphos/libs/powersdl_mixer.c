// powersdl_mixer.library: SDL_mixer on the host's SDL_mixer 1.2.
#include "morphos/libs/library.h"

// Closing the library closes the mixer if the program left it open.
static void expunge(void)
{
    while (Mix_QuerySpec(NULL, NULL, NULL))
        Mix_CloseAudio();
}

struct PowerSDLMixerLibrary LibBase = {
    .lib = LIBRARY_HEAD("powersdl_mixer.library"),
    .Mix_OpenAudio = Mix_OpenAudio,
    .Mix_CloseAudio = Mix_CloseAudio,
    .Mix_QuerySpec = Mix_QuerySpec,
    .Mix_LoadMUS = Mix_LoadMUS,
    .Mix_FreeMusic = Mix_FreeMusic,
    .Mix_PlayMusic = Mix_PlayMusic,
    .Mix_HaltMusic = Mix_HaltMusic,
    .Mix_HookMusicFinished = Mix_HookMusicFinished,
};
