// One libFuzzer target per reader; READER names its check in checks.h.
#include <fcntl.h>
#include <stdlib.h>

#include "tests/fuzz/checks.h"

static std::string folder;

static void remove_folder() { system(("rm -rf '" + folder + "'").c_str()); }

// The readers use fixed names in the current folder: a private one, in
// memory, since every input saves files. libFuzzer's paths come absolute.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    char pattern[] = "/dev/shm/zenobar-fuzz-XXXXXX";
    if (mkdtemp(pattern) == NULL || chdir(pattern) != 0)
        abort();
    folder = pattern;
    atexit(remove_folder);
    dup2(open("/dev/null", O_WRONLY), 1);  // the high-score trace lines
    return 0;
}

// What reaches the disk is not in question here, and syncing would slow
// the fuzzer to a few inputs a second.
extern "C" int __wrap_fsync(int) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    srand(1);
    std::string problem = READER(std::string((const char *)data, size));
    if (!problem.empty()) {
        fprintf(stderr, "zenobar-fuzz: %s\n", problem.c_str());
        abort();
    }
    return 0;
}
