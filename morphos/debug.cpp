// The debug output is standard error here. The game's trace formats are
// C's, so they are formatted as the host's printf does.
#include <stdio.h>

#include "morphos/system.h"

void KPrintF(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    KVPrintF(format, args);
    va_end(args);
}

void KVPrintF(const char *format, va_list args)
{
    vfprintf(stderr, format, args);
}
