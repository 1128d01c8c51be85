// zenobar-morphos with the harness's input and clock, "game" playing the whole game: library calls, main and
// the last folder noted on file descriptor 3, the record on 4.
#include <string.h>
#include <unistd.h>

#include "morphos/powersdl.h"
#include "morphos/system.h"
#include "tests/morphos/scenario.h"

// dprintf, not stdio: the closers run after the program's static objects.
extern "C" struct Library *__real_OpenLibrary(const char *name, ULONG version);
extern "C" void __real_CloseLibrary(struct Library *base);

extern "C" struct Library *__wrap_OpenLibrary(const char *name, ULONG version)
{
    struct Library *base = __real_OpenLibrary(name, version);
    dprintf(3, "%s=%s/%u ", base != NULL ? "open" : "refused", name, (unsigned)version);
    return base;
}

extern "C" void __wrap_CloseLibrary(struct Library *base)
{
    if (base != NULL)
        dprintf(3, "close=%s ", base->lib_Name);
    __real_CloseLibrary(base);
}

// Below the closers' priorities, so it runs after all of them.
__attribute__((destructor(101))) static void note_last_folder()
{
    char cwd[4096];
    dprintf(3, "cwd=%s", strrchr(getcwd(cwd, sizeof cwd), '/') + 1);
}

int main(int argc, char *argv[])
{
    const struct PowerSDLLibrary *sdl = (const struct PowerSDLLibrary *)PowerSDLBase;
    dprintf(3, "main%s ", sdl->tgl_context == &__tglContext && sdl->tinygl_base == &TinyGLBase ? "" : "-without-tgl");
    harness::reset_state();
    argc > 1 ? script_whole_game() : harness::close_window();
    int status = zenobar_main(1, argv);
    dprintf(4, "%s", harness::record_text().c_str());
    return status;
}
