// One libFuzzer target per reader; READER names the check to run.
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/fuzz/readers.h"

#ifndef READER
#error "READER must name one of the checks in readers.h"
#endif

static std::string folder;
static int folder_fd = -1, home_fd = -1;

static void remove_folder()
{
    if (folder.empty())
        return;
    for (const char *name : {"quest/eng/latwe.qst", "highscores", "highscores.tmp", "config", "config.tmp"})
        unlink((folder + "/" + name).c_str());
    rmdir((folder + "/quest/eng").c_str());
    rmdir((folder + "/quest").c_str());
    rmdir(folder.c_str());
}

// A crash report is written while the reader's folder is current: make the
// place it goes absolute, in the folder the fuzzer was started from.
static void anchor_artifacts(int *argc, char ***argv)
{
    static std::vector<std::string> kept;
    static std::vector<char *> args;
    char here[4096];
    if (getcwd(here, sizeof here) == NULL)
        return;
    bool has_prefix = false;
    for (int i = 0; i < *argc; i++) {
        std::string arg = (*argv)[i];
        for (const char *flag : {"-artifact_prefix=", "-exact_artifact_path="}) {
            size_t n = strlen(flag);
            if (arg.compare(0, n, flag) == 0) {
                has_prefix |= flag[1] == 'a';
                if (arg.size() > n && arg[n] != '/')
                    arg = flag + std::string(here) + "/" + arg.substr(n);
            }
        }
        kept.push_back(arg);
    }
    if (!has_prefix)
        kept.push_back(std::string("-artifact_prefix=") + here + "/");
    for (std::string &arg : kept)
        args.push_back(&arg[0]);
    args.push_back(NULL);
    *argc = (int)kept.size();
    *argv = args.data();
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    anchor_artifacts(argc, argv);

    // The readers use fixed names in the working folder: give them one of
    // their own, so parallel runs never share a file; libFuzzer itself
    // stays in the caller's folder, to which its paths are relative. Every
    // input renames files there, many times faster in memory than on disk.
    const char *tmp = getenv("ZENOBAR_FUZZ_TMP");
    if (tmp == NULL || *tmp == 0)
        tmp = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : getenv("TMPDIR");
    std::string pattern = std::string(tmp != NULL && *tmp ? tmp : "/tmp") + "/zenobar-fuzz-XXXXXX";
    if (mkdtemp(&pattern[0]) == NULL) {
        perror(pattern.c_str());
        exit(1);
    }
    folder = pattern;
    atexit(remove_folder);
    mkdir((folder + "/quest").c_str(), 0755);
    mkdir((folder + "/quest/eng").c_str(), 0755);
    folder_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    home_fd = open(".", O_RDONLY | O_DIRECTORY);
    if (folder_fd < 0 || home_fd < 0) {
        perror("zenobar-fuzz");
        exit(1);
    }
    // The high-score writer traces a hundred lines per save; libFuzzer
    // reports on standard error.
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    close(null);
    return 0;
}

// Saving syncs every file to the disk, which would make a few saves a
// second all the fuzzer does; what reaches the disk is not in question here.
extern "C" int __wrap_fsync(int) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    srand(1);  // the same input shuffles the same way
    if (fchdir(folder_fd) != 0)
        abort();
    std::string problem = READER(data, size);
    if (fchdir(home_fd) != 0)
        abort();
    if (!problem.empty()) {
        fprintf(stderr, "zenobar-fuzz: %s\n", problem.c_str());
        remove_folder();
        abort();
    }
    return 0;
}
