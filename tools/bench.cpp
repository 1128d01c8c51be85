// Benchmark: the cost of a fade frame against the bare blits and flip it is
// made of, and the time from process start to the intro's first frame.
// Real clock, dummy SDL drivers. Run without arguments.

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "quiz/quiz.h"
#include "tools/png.h"
#include "shell/shell.h"
#include "toolkit/toolkit.h"

int zenobar_main(int argc, char *argv[]);

static const char kStartupFlag[] = "--startup";

static bool timing_startup = false;
static double main_entered = 0.0;  // CLOCK_BOOTTIME, seconds
static double forked = -1.0;       // the parent's CLOCK_BOOTTIME at fork, if known
static long flips = 0;

static double clock_s(clockid_t id)
{
    struct timespec ts;
    clock_gettime(id, &ts);
    return (double)ts.tv_sec + (double)ts.tv_nsec / 1e9;
}

// Field 22 of /proc/self/stat, in clock ticks since boot. The command
// field may hold blanks and parentheses, so count from its last ')'.
static double process_start()
{
    FILE *f = fopen("/proc/self/stat", "r");
    if (f == NULL)
        return -1.0;
    char buf[1024];
    size_t n = fread(buf, 1, sizeof buf - 1, f);
    fclose(f);
    buf[n] = '\0';
    const char *p = strrchr(buf, ')');
    if (p == NULL)
        return -1.0;
    p++;
    // Field 3 follows the ')'; step over fields 3 to 21.
    for (int field = 3; field < 22; field++) {
        while (*p == ' ')
            p++;
        while (*p != ' ' && *p != '\0')
            p++;
    }
    unsigned long long ticks = strtoull(p, NULL, 10);
    return (double)ticks / (double)sysconf(_SC_CLK_TCK);
}

extern "C" {
int __real_SDL_Flip(SDL_Surface *surface);
int __wrap_SDL_Flip(SDL_Surface *surface);
}

int __wrap_SDL_Flip(SDL_Surface *surface)
{
    if (timing_startup) {
        // The intro goes on for many seconds; its first frame is all we need.
        int status = __real_SDL_Flip(surface);
        double now = clock_s(CLOCK_BOOTTIME);
        double start = process_start();
        if (start < 0.0)
            printf("start-up to first intro frame: process start unknown");
        else
            printf("start-up to first intro frame: %.0f ms (process start known to 1/%ld s)",
                   (now - start) * 1000.0, sysconf(_SC_CLK_TCK));
        printf("; since main: %.1f ms", (now - main_entered) * 1000.0);
        // The fork comes just before the process start and is timed finely.
        if (forked >= 0.0)
            printf("; since fork: %.1f ms", (now - forked) * 1000.0);
        printf("\n");
        fflush(stdout);
        _exit(status == 0 ? 0 : 1);
    }
    flips++;
    return __real_SDL_Flip(surface);
}

// ---------------------------------------------------------------- fade

static SDL_Surface *display_sized(SDL_Surface *display, Uint32 flags)
{
    SDL_PixelFormat *f = display->format;
    return SDL_CreateRGBSurface(flags, display->w, display->h, f->BitsPerPixel, f->Rmask,
                                f->Gmask, f->Bmask, f->Amask);
}

// Row by row, so the picture is not one flat colour.
static void paint(SDL_Surface *s)
{
    for (int y = 0; y < s->h; y++) {
        SDL_Rect row = {0, (Sint16)y, (Uint16)s->w, 1};
        SDL_FillRect(s, &row, SDL_MapRGB(s->format, (Uint8)y, (Uint8)(255 - y), (Uint8)(y * 3)));
    }
}

// The fade's frame without the fade: alpha swept over the same range, since
// the blitter's cost may depend on it.
static void bare_loop(SDL_Surface *display, SDL_Surface *picture, SDL_Surface *black,
                      long frames)
{
    for (long i = 0; i < frames; i++) {
        SDL_BlitSurface(picture, NULL, display, NULL);
        SDL_SetAlpha(black, SDL_SRCALPHA, (Uint8)(255 - 255 * i / frames));
        SDL_BlitSurface(black, NULL, display, NULL);
        SDL_Flip(display);
    }
}

static int bench_fade()
{
    if (SDL_Init(SDL_INIT_VIDEO) == -1) {
        fprintf(stderr, "bench: SDL_Init: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Surface *display = SDL_SetVideoMode(640, 480, 24, SDL_ANYFORMAT);
    if (display == NULL) {
        fprintf(stderr, "bench: SDL_SetVideoMode: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    SDL_Surface *picture = display_sized(display, SDL_SWSURFACE);
    SDL_Surface *black = display_sized(display, SDL_SRCALPHA);
    if (picture == NULL || black == NULL) {
        fprintf(stderr, "bench: SDL_CreateRGBSurface: %s\n", SDL_GetError());
        SDL_FreeSurface(picture);
        SDL_FreeSurface(black);
        SDL_Quit();
        return 1;
    }
    paint(picture);
    SDL_FillRect(black, NULL, SDL_MapRGB(display->format, 0, 0, 0));

    // Touch every page once so neither timed loop pays for the first frame.
    bare_loop(display, picture, black, 5);

    flips = 0;
    double t0 = clock_s(CLOCK_MONOTONIC);
    fade(display, picture, 2, 0);
    double fade_s = clock_s(CLOCK_MONOTONIC) - t0;
    long frames = flips;
    if (frames == 0) {
        fprintf(stderr, "bench: the fade drew no frame\n");
        SDL_FreeSurface(picture);
        SDL_FreeSurface(black);
        SDL_Quit();
        return 1;
    }

    t0 = clock_s(CLOCK_MONOTONIC);
    bare_loop(display, picture, black, frames);
    double bare_s = clock_s(CLOCK_MONOTONIC) - t0;

    double fade_ms = fade_s * 1000.0 / (double)frames;
    double bare_ms = bare_s * 1000.0 / (double)frames;
    printf("display: %dx%dx%d (%d bytes/pixel), dummy driver\n", display->w, display->h,
           display->format->BitsPerPixel, display->format->BytesPerPixel);
    printf("fade: %.0f ms, %ld frames, %.2f ms/frame; bare loop: %.2f ms/frame; ratio %.3f\n",
           fade_s * 1000.0, frames, fade_ms, bare_ms, fade_ms / bare_ms);
    fflush(stdout);

    SDL_FreeSurface(picture);
    SDL_FreeSurface(black);
    SDL_Quit();
    return 0;
}

// ---------------------------------------------------------------- start-up

// A patterned logo for the intro to show.
static bool write_png(const std::string &path, int w, int h)
{
    std::vector<unsigned char> rgb;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            rgb.push_back((unsigned char)x);
            rgb.push_back((unsigned char)y);
            rgb.push_back((unsigned char)(x ^ y));
        }
    return write_png_rgb(path, w, h, rgb);
}

static void remove_game_folder(const std::string &dir);

// The intro's first picture and the font: enough for its first frame.
static std::string make_game_folder()
{
    char folder[] = "/tmp/zenobar-bench-XXXXXX";
    if (mkdtemp(folder) == NULL) {
        perror("bench: mkdtemp");
        return "";
    }
    std::string dir = folder;
    if (mkdir((dir + "/gfx").c_str(), 0755) != 0 || !write_png(dir + "/gfx/logo.png", 640, 480) ||
        symlink(VERA_TTF, (dir + "/Vera.ttf").c_str()) != 0) {
        fprintf(stderr, "bench: cannot fill %s: %s\n", folder, strerror(errno));
        remove_game_folder(dir);
        return "";
    }
    return dir;
}

static void remove_game_folder(const std::string &dir)
{
    // The child leaves the program before it writes "config" or
    // "highscores"; remove them anyway should a run get that far.
    for (const char *name : {"gfx/logo.png", "Vera.ttf", "config", "highscores"})
        unlink((dir + "/" + name).c_str());
    rmdir((dir + "/gfx").c_str());
    if (rmdir(dir.c_str()) != 0)
        fprintf(stderr, "bench: folder left behind: %s\n", dir.c_str());
}

// The child execs this program afresh, so its process start covers loading
// the program and its libraries as a player's start would.
static int bench_startup(const char *self, const std::string &dir)
{
    fflush(stdout);
    char forked_at[32];
    snprintf(forked_at, sizeof forked_at, "%.9f", clock_s(CLOCK_BOOTTIME));
    pid_t pid = fork();
    if (pid < 0) {
        perror("bench: fork");
        return 1;
    }
    if (pid == 0) {
        execl("/proc/self/exe", self, kStartupFlag, dir.c_str(), forked_at, (char *)NULL);
        perror("bench: exec");
        _exit(127);
    }
    int status;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) {
            perror("bench: waitpid");
            return 1;
        }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return 0;
    if (WIFSIGNALED(status))
        fprintf(stderr, "bench: start-up child died by signal %d (no intro frame in time?)\n",
                WTERMSIG(status));
    else
        fprintf(stderr, "bench: start-up child ended with status %d\n", WEXITSTATUS(status));
    return 1;
}

static int run_startup_child(const char *dir)
{
    if (chdir(dir) != 0) {
        perror("bench: chdir");
        return 1;
    }
    // Should the intro never draw, do not wait for a player.
    alarm(30);
    timing_startup = true;
    char name[] = "zenobar";
    char *argv[] = {name, NULL};
    zenobar_main(1, argv);
    fprintf(stderr, "bench: the game ended without drawing a frame\n");
    return 1;
}

// ---------------------------------------------------------------- questions

static double now_ms()
{
    return clock_s(CLOCK_MONOTONIC) * 1000.0;
}

static std::string write_questions(const std::string &dir, int count)
{
    std::string path = dir + "/big-" + std::to_string(count) + ".qst";
    FILE *f = fopen(path.c_str(), "w");
    for (int q = 0; q < count; q++)
        fprintf(f, "Question number %d, long enough to look like a real one?\n\n"
                   "First answer\nSecond answer\nThird answer\nFourth answer\n%d\n",
                q, q % 2 ? 1000 : 10);
    fclose(f);
    return path;
}

// Loads and draws in a child of its own, so its peak memory is the load's.
static void bench_load(const std::string &path, long bytes)
{
    pid_t child = fork();
    if (child == 0) {
        double start = now_ms();
        if (load_question(path.c_str(), 1) != 0)
            _exit(1);
        double loaded = now_ms();
        int count = easy[0].count;
        int *used = (int *)calloc((size_t)count, sizeof(int));
        int drawn = 0;
        for (int i = 0; i < 12; i++) {
            int index = rand() % count;
            while (used[index] == 1)
                index = rand() % count;
            used[index] = 1;
            drawn += easy[index].correct != 0;
        }
        double done = now_ms();
        printf("questions: %d in %.1f MB: load %.1f ms (%.0f MB/s), 12 draws %.3f ms",
               count, bytes / 1e6, loaded - start, bytes / 1e3 / (loaded - start), done - loaded);
        fflush(stdout);
        free(used);
        free_question(&easy);
        _exit(drawn == 12 ? 0 : 1);
    }
    int status = 0;
    struct rusage usage;
    wait4(child, &status, 0, &usage);
    printf("; peak memory %.1f MB%s\n", usage.ru_maxrss / 1024.0,
           WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "" : " (FAILED)");
}

static void bench_questions(const std::string &dir)
{
    for (int count : {25000, 50000, 100000}) {
        std::string path = write_questions(dir, count);
        struct stat st;
        stat(path.c_str(), &st);
        double start = now_ms();
        std::string command = "wc -l < '" + path + "' > /dev/null";
        if (system(command.c_str()) != 0)
            printf("wc failed\n");
        double wc = now_ms() - start;
        printf("wc -l: %.1f ms; ", wc);
        fflush(stdout);
        bench_load(path, (long)st.st_size);
        unlink(path.c_str());
    }
}

int main(int argc, char *argv[])
{
    main_entered = clock_s(CLOCK_BOOTTIME);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    if ((argc == 3 || argc == 4) && strcmp(argv[1], kStartupFlag) == 0) {
        if (argc == 4)
            forked = atof(argv[3]);
        return run_startup_child(argv[2]);
    }
    if (argc != 1) {
        fprintf(stderr, "usage: %s\n", argv[0]);
        return 2;
    }

    int status = bench_fade();
    std::string dir = make_game_folder();
    if (dir.empty())
        return 1;
    status |= bench_startup(argv[0], dir);
    bench_questions(dir);
    remove_game_folder(dir);
    return status;
}
