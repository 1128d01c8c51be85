// Saving in two halves: the portable steps (savefile.cpp) and what a
// platform adds around them, in savefile_posix.cpp, or savefile_plain.cpp
// where there is no POSIX (zenobar-morphos).
#ifndef ZENOBAR_SAVE_LOCAL_H
#define ZENOBAR_SAVE_LOCAL_H

#include <stddef.h>
#include <stdio.h>

#include <string>

struct SavePlan {
    std::string target;  // the file replaced: the name, or the file its link leads to
    std::string tmp;     // the temporary file, beside the target
};

// The platform's steps, in the order save_file takes them.
enum { SAVE_GO = 1 };
// Where the save goes. SAVE_GO, or the save's result when the platform
// finished it itself or must not save at all.
int plan_save(const char *name, const char *tmpname, const char *data, size_t len, SavePlan *plan);
// A new, empty temporary file; NULL when none can be made.
FILE *open_temporary(const SavePlan *plan);
// Before the written file is closed: it takes the old file's mode and
// owner, and reaches the disk. 0 when it did.
int settle_temporary(const SavePlan *plan, FILE *file);
// The last chance of a save whose temporary file could not be made
// (`made` 0) or could not take the target's place (`made` 1). Returns the
// save's result.
int save_otherwise(const SavePlan *plan, const char *data, size_t len, int made);
// After the temporary file took the target's place.
void save_done(const SavePlan *plan);

#endif
