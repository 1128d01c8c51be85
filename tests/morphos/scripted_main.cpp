// zenobar-morphos as the tests run it: the program's own openers and
// closers around the game, with the harness's input and clock. argv[1]
// names the script. What happens is noted, one line each, on file
// descriptor 3 when it is open: the libraries opened and closed, whether
// main ran, the game's transcript and result, and the folder current at
// the very end.
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "morphos/powersdl.h"
#include "morphos/system.h"
#include "tests/harness.h"
#include "tests/morphos/scenario.h"

// Plain write(): this also runs after the program's static objects are gone.
static void note(const char *format, ...)
{
    char line[1024];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(line, sizeof line - 1, format, args);
    va_end(args);
    if (n < 0)
        return;
    if (n > (int)sizeof line - 2)
        n = (int)sizeof line - 2;
    line[n] = '\n';
    if (write(3, line, (size_t)n + 1) < 0) {
        // nobody is listening
    }
}

extern "C" {
struct Library *__real_OpenLibrary(const char *name, ULONG version);
void __real_CloseLibrary(struct Library *base);
BPTR __real_Lock(const char *name, LONG mode);

struct Library *__wrap_OpenLibrary(const char *name, ULONG version)
{
    struct Library *base = __real_OpenLibrary(name, version);
    note("OpenLibrary %s %u %s", name, (unsigned)version, base != NULL ? "ok" : "null");
    return base;
}

void __wrap_CloseLibrary(struct Library *base)
{
    if (base != NULL)
        note("CloseLibrary %s", base->lib_Name);
    __real_CloseLibrary(base);
}

// The one way to make the lock on the program's folder fail.
BPTR __wrap_Lock(const char *name, LONG mode)
{
    if (getenv("ZENOBAR_TEST_LOCK_FAILS") != NULL)
        return 0;
    return __real_Lock(name, mode);
}
}

// Below the closers' priorities, so it runs after all of them.
__attribute__((destructor(101))) static void note_last_folder()
{
    char cwd[PATH_MAX];
    note("cwd %s", getcwd(cwd, sizeof cwd) != NULL ? cwd : "?");
}

int main(int argc, char *argv[])
{
    note("main");
    const struct PowerSDLLibrary *sdl = (const struct PowerSDLLibrary *)PowerSDLBase;
    note("tgl %s", sdl->tgl_context == &__tglContext && sdl->tinygl_base == &TinyGLBase ? "handed" : "lost");
    if (argc > 1 && strcmp(argv[1], "game") == 0)
        script_whole_game();
    else
        script_close();
    int status = zenobar_main(1, argv);
    for (const std::string &line : transcript())
        note("%s", line.c_str());
    note("status %d", status);
    return status;
}
