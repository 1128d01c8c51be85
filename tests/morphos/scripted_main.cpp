// zenobar-morphos as the tests run it: the program's own openers and
// closers around the game, with the harness's input and clock. Argument
// "game" plays the whole game, else the window is closed at once. What
// happens is noted on file descriptor 3, a word each, with the game's
// record a line each.
#include <limits.h>
#include <stdio.h>
#include <unistd.h>

#include "morphos/powersdl.h"
#include "morphos/system.h"
#include "tests/morphos/scenario.h"

// dprintf, not stdio: the closers run after the program's static objects.
extern "C" {
struct Library *__real_OpenLibrary(const char *name, ULONG version);
void __real_CloseLibrary(struct Library *base);

struct Library *__wrap_OpenLibrary(const char *name, ULONG version)
{
    struct Library *base = __real_OpenLibrary(name, version);
    dprintf(3, "%s=%s/%u ", base != NULL ? "open" : "refused", name, (unsigned)version);
    return base;
}
void __wrap_CloseLibrary(struct Library *base)
{
    if (base != NULL)
        dprintf(3, "close=%s ", base->lib_Name);
    __real_CloseLibrary(base);
}
}

// Below the closers' priorities, so it runs after all of them.
__attribute__((destructor(101))) static void note_last_folder()
{
    char cwd[PATH_MAX];
    dprintf(3, "\ncwd %s\n", getcwd(cwd, sizeof cwd));
}

int main(int argc, char *argv[])
{
    const struct PowerSDLLibrary *sdl = (const struct PowerSDLLibrary *)PowerSDLBase;
    dprintf(3, "main%s ", sdl->tgl_context == &__tglContext && sdl->tinygl_base == &TinyGLBase ? "" : "-without-tgl");
    harness::reset_state();
    argc > 1 && std::string(argv[1]) == "game" ? script_whole_game() : harness::close_window();
    int status = zenobar_main(1, argv);
    for (const std::string &line : harness::record)
        dprintf(3, "\nlog %s", line.c_str());
    dprintf(3, "\nstatus=%d ", status);
    return status;
}
