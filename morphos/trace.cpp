// In zenobar-morphos the high-score trace lines go to the debug output.
#include <stdarg.h>

#include "morphos/system.h"
#include "toolkit/toolkit.h"

void trace(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    KVPrintF(format, args);
    va_end(args);
}
