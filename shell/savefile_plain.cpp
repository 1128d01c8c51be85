// Saving's platform part where there is no POSIX: no links, modes or
// owners to keep, and no promise that rename replaces an existing file.
#include "shell/save_local.h"

int plan_save(const char *name, const char *tmpname, const char *, size_t, SavePlan *plan)
{
    plan->target = name;
    plan->tmp = tmpname;
    return SAVE_GO;
}

// A leftover of a killed run is written over; a folder of that name
// refuses the open.
FILE *open_temporary(const SavePlan *plan)
{
    return fopen(plan->tmp.c_str(), "wb");
}

int settle_temporary(const SavePlan *, FILE *)
{
    return 0;
}

// A rename that will not replace: the old file goes first. Should the
// second rename fail too, the new content stays whole in the temporary
// file rather than be thrown away.
int save_otherwise(const SavePlan *plan, const char *, size_t, int made)
{
    if (!made)
        return -1;
    if (remove(plan->target.c_str()) != 0) {
        remove(plan->tmp.c_str());
        return -1;
    }
    return rename(plan->tmp.c_str(), plan->target.c_str()) == 0 ? 0 : -1;
}

void save_done(const SavePlan *)
{
}
