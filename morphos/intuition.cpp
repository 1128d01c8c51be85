// intuition's EasyRequestArgs, shown on standard error: its title, its
// text and its buttons, one line each.
#include <stdio.h>
#include <string.h>

#include "morphos/system.h"

// The system's formatting rules, not C's: every conversion takes one
// argument slot, and the precision only bounds how many characters are
// shown ("%.10ld" of 10 is "10", never "0000000010").
static void format(char *out, size_t size, const char *text, const IPTR *args)
{
    size_t len = 0;
    auto put = [&](char c) {
        if (len + 1 < size)
            out[len++] = c;
    };
    for (const char *p = text; *p; p++) {
        if (*p != '%') {
            put(*p);
            continue;
        }
        p++;
        bool left = *p == '-';
        if (left)
            p++;
        char pad = *p == '0' ? '0' : ' ';
        size_t width = 0, limit = (size_t)-1;
        while (*p >= '0' && *p <= '9')
            width = width * 10 + (size_t)(*p++ - '0');
        if (*p == '.') {
            limit = 0;
            for (p++; *p >= '0' && *p <= '9'; p++)
                limit = limit * 10 + (size_t)(*p - '0');
        }
        if (*p == 'l')
            p++;
        char number[24];
        const char *value = number;
        switch (*p) {
        case 'd':
            snprintf(number, sizeof number, "%ld", (long)(LONG)*args++);
            break;
        case 'u':
            snprintf(number, sizeof number, "%lu", (unsigned long)(ULONG)*args++);
            break;
        case 'x':
            snprintf(number, sizeof number, "%lx", (unsigned long)(ULONG)*args++);
            break;
        case 'c':
            number[0] = (char)*args++;
            number[1] = 0;
            break;
        case 's':
            value = (const char *)*args++;
            if (value == NULL)
                value = "";
            break;
        case 0:
            p--;
            continue;
        default:
            put(*p);
            continue;
        }
        size_t n = strnlen(value, limit);
        for (size_t i = n; !left && i < width; i++)
            put(pad);
        for (size_t i = 0; i < n; i++)
            put(value[i]);
        for (size_t i = n; left && i < width; i++)
            put(' ');
    }
    out[len] = 0;
}

LONG EasyRequestArgs(struct Window *window, struct EasyStruct *request, ULONG *idcmp, const IPTR *args)
{
    (void)window;
    (void)idcmp;
    char text[1024];
    format(text, sizeof text, request->es_TextFormat, args);
    fprintf(stderr, "%s\n%s\n", request->es_Title, text);
    // Buttons are separated by '|'.
    for (const char *b = request->es_GadgetFormat; *b;) {
        size_t n = strcspn(b, "|");
        fprintf(stderr, "[%.*s]%s", (int)n, b, b[n] ? " " : "\n");
        b += n + (b[n] ? 1 : 0);
    }
    // Only one button here, and the rightmost button answers 0.
    return 0;
}
