// The system operations zenobar-morphos uses, as a layer of our own that
// stands in for them on this machine: exec's libraries, dos's locks and
// current folder, intuition's requester and the debug output.
#ifndef ZENOBAR_MORPHOS_SYSTEM_H
#define ZENOBAR_MORPHOS_SYSTEM_H

#include <stdarg.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t ULONG;
typedef int32_t LONG;
typedef uint16_t UWORD;
typedef intptr_t IPTR;  // one argument slot of a format, wide enough for a pointer
typedef intptr_t BPTR;  // a lock, 0 for none

// The head of every library base; the library's own entries follow it.
struct Library {
    const char *lib_Name;
    UWORD lib_Version;
    UWORD lib_Revision;
    LONG lib_OpenCnt;
    // The library's own open and close, called by exec.
    struct Library *(*lib_Open)(struct Library *base);
    void (*lib_Close)(struct Library *base);
    void *lib_Segment;  // exec's handle on the loaded file
};

// exec. A library is the file of that name in the program's libs/ folder,
// else in the system's libraries folder; null when missing or too old.
struct Library *OpenLibrary(const char *name, ULONG version);
void CloseLibrary(struct Library *base);

// dos. "PROGDIR:" names the folder that holds the running program.
#define SHARED_LOCK (-2)
BPTR Lock(const char *name, LONG mode);
void UnLock(BPTR lock);
// Makes `lock` the current folder and gives back the one before.
BPTR CurrentDir(BPTR lock);
// Inside the layer: the host's path for a dos name, or null when too long.
const char *HostPath(const char *name, char *buffer, unsigned long size);

// intuition: the request is shown on standard error; the one button ends it.
struct Window;
struct EasyStruct {
    ULONG es_StructSize;
    ULONG es_Flags;
    const char *es_Title;
    const char *es_TextFormat;
    const char *es_GadgetFormat;
};
LONG EasyRequestArgs(struct Window *window, struct EasyStruct *request, ULONG *idcmp, const IPTR *args);

// The debug output: standard error here.
void KPrintF(const char *format, ...) __attribute__((format(printf, 1, 2)));
void KVPrintF(const char *format, va_list args);

#ifdef __cplusplus
}
#endif

#endif
