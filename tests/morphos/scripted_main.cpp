// zenobar-morphos as the tests run it: the program's own openers and
// closers around the game, with the harness's input and clock. With
// argument "game" it plays the whole game, else the window is closed at
// once. What happens is noted on file descriptor 3, a line each.
#include <limits.h>
#include <stdio.h>
#include <unistd.h>

#include "morphos/powersdl.h"
#include "morphos/system.h"
#include "tests/morphos/scenario.h"

// Plain write(): this also runs after the program's static objects are gone.
static void note(const char *kind, const char *what)
{
    char line[1024];
    int n = snprintf(line, sizeof line, "%s%s\n", kind, what);
    if (n > 0 && write(3, line, (size_t)n < sizeof line ? (size_t)n : sizeof line - 1) < 0) {
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
    note(base != NULL ? "open " : "refused ", (name + (" " + std::to_string(version))).c_str());
    return base;
}

void __wrap_CloseLibrary(struct Library *base)
{
    if (base != NULL)
        note("close ", base->lib_Name);
    __real_CloseLibrary(base);
}

BPTR __wrap_Lock(const char *name, LONG mode)
{
    return getenv("ZENOBAR_TEST_LOCK_FAILS") != NULL ? 0 : __real_Lock(name, mode);
}
}

// Below the closers' priorities, so it runs after all of them.
__attribute__((destructor(101))) static void note_last_folder()
{
    char cwd[PATH_MAX];
    note("cwd ", getcwd(cwd, sizeof cwd) != NULL ? cwd : "?");
}

int main(int argc, char *argv[])
{
    const struct PowerSDLLibrary *sdl = (const struct PowerSDLLibrary *)PowerSDLBase;
    note("main", sdl->tgl_context == &__tglContext && sdl->tinygl_base == &TinyGLBase ? "" : " without tgl");
    if (argc > 1 && std::string(argv[1]) == "game")
        script_whole_game();
    else
        harness::close_window();
    int status = zenobar_main(1, argv);
    for (const std::string &line : harness::record)
        note("log ", line.c_str());
    note("status ", std::to_string(status).c_str());
    return status;
}
