// exec's OpenLibrary and CloseLibrary. A library file is a shared object
// of ours that exports its base as "LibBase".
#include <dlfcn.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "morphos/system.h"

#ifndef SYSTEM_LIBS_DIR
#error "SYSTEM_LIBS_DIR must name the system's libraries folder"
#endif

static struct Library intuition = {"intuition.library", 50, 0, 0, NULL, NULL, NULL};

// Like the system's own search, the first file found decides: one that
// is too old is not passed over for another.
static void *load(const char *name)
{
    char path[PATH_MAX];
    char progdir_name[PATH_MAX];
    snprintf(progdir_name, sizeof progdir_name, "PROGDIR:libs/%s", name);
    if (HostPath(progdir_name, path, sizeof path) == NULL || access(path, F_OK) != 0) {
        if (snprintf(path, sizeof path, "%s/%s", SYSTEM_LIBS_DIR, name) >= (int)sizeof path ||
            access(path, F_OK) != 0)
            return NULL;
    }
    return dlopen(path, RTLD_NOW | RTLD_LOCAL);
}

struct Library *OpenLibrary(const char *name, ULONG version)
{
    if (strcmp(name, intuition.lib_Name) == 0) {
        if (intuition.lib_Version < version)
            return NULL;
        intuition.lib_OpenCnt++;
        return &intuition;
    }
    if (strchr(name, '/') != NULL)
        return NULL;
    void *file = load(name);
    if (file == NULL)
        return NULL;
    struct Library *base = (struct Library *)dlsym(file, "LibBase");
    if (base == NULL || base->lib_Version < version || base->lib_Open(base) == NULL) {
        dlclose(file);
        return NULL;
    }
    base->lib_Segment = file;
    return base;
}

void CloseLibrary(struct Library *base)
{
    if (base == NULL)
        return;
    if (base == &intuition) {
        intuition.lib_OpenCnt--;
        return;
    }
    void *file = base->lib_Segment;
    base->lib_Close(base);
    dlclose(file);
}
