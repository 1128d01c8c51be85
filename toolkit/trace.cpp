// Trace lines go to standard output here; zenobar-morphos has its own.
#include <stdarg.h>
#include <stdio.h>

#include "toolkit/toolkit.h"

void trace(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
}
