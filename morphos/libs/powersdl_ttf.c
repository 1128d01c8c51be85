// powersdl_ttf.library: SDL_ttf on the host's SDL_ttf 2.0.
#include "morphos/libs/library.h"

// Closing the library ends TTF if the program left it started.
static void expunge(void)
{
    while (TTF_WasInit())
        TTF_Quit();
}

struct PowerSDLTTFLibrary LibBase = {
    .lib = LIBRARY_HEAD("powersdl_ttf.library"),
    .TTF_Init = TTF_Init,
    .TTF_Quit = TTF_Quit,
    .TTF_OpenFont = TTF_OpenFont,
    .TTF_CloseFont = TTF_CloseFont,
    .TTF_RenderText_Solid = TTF_RenderText_Solid,
    .TTF_SizeText = TTF_SizeText,
    .TTF_ByteSwappedUNICODE = TTF_ByteSwappedUNICODE,
};
