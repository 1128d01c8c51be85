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
