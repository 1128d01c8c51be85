// One libFuzzer target per reader (READER names its check), in a folder of its own in memory: each input saves files.
#include <fcntl.h>

#include "tests/fuzz/checks.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static char folder[] = "/dev/shm/zenobar-fuzz-XXXXXX";
    if (mkdtemp(folder) == NULL || chdir(folder) != 0)
        abort();
    atexit([] { system((std::string("rm -rf ") + folder).c_str()); });
    dup2(open("/dev/null", O_WRONLY), 1);  // the high-score trace lines
    return 0;
}

// Syncing would slow the fuzzer to a few inputs a second.
extern "C" int __wrap_fsync(int) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    srand(1);
    std::string problem = READER(std::string((const char *)data, size));
    if (!problem.empty() && fprintf(stderr, "zenobar-fuzz: %s\n", problem.c_str()))
        abort();
    return 0;
}
