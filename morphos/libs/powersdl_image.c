// powersdl_image.library: SDL_image on the host's SDL_image 1.2.
#include "morphos/libs/library.h"

static void expunge(void)
{
    IMG_Quit();
}

struct PowerSDLImageLibrary LibBase = {
    .lib = LIBRARY_HEAD("powersdl_image.library"),
    .IMG_Load = IMG_Load,
};
