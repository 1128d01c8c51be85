// What our four PowerSDL libraries share: the head of the base, with the
// version the build gives each file, and the count of the program's opens.
// The last close hands the library's part of SDL back (`expunge`).
#ifndef ZENOBAR_MORPHOS_LIBRARY_H
#define ZENOBAR_MORPHOS_LIBRARY_H

#include "morphos/powersdl.h"

#ifndef LIB_VERSION
#error "LIB_VERSION must give the library's version"
#endif

#define LIBRARY_HEAD(name) {name, LIB_VERSION, 0, 0, library_open, library_close, NULL}

static void expunge(void);

static struct Library *library_open(struct Library *base)
{
    base->lib_OpenCnt++;
    return base;
}

static void library_close(struct Library *base)
{
    if (--base->lib_OpenCnt == 0)
        expunge();
}

#endif
