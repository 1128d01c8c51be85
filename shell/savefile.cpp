// Saving without ever truncating the old file first: a killed run or a
// full disk must leave the player's scores and settings whole. These are
// the steps any C library can take; the platform's part adds the rest.
#include "shell/save_local.h"
#include "shell/shell.h"

int save_file(const char *name, const char *tmpname, const char *data, size_t len)
{
    SavePlan plan;
    int result = plan_save(name, tmpname, data, len, &plan);
    if (result != SAVE_GO)
        return result;
    FILE *file = open_temporary(&plan);
    if (file == NULL)
        return save_otherwise(&plan, data, len, 0);
    int bad = fwrite(data, 1, len, file) != len;
    bad = bad || fflush(file) != 0;
    bad = bad || settle_temporary(&plan, file) != 0;
    bad |= fclose(file) != 0;
    if (bad) {
        remove(plan.tmp.c_str());
        return -1;
    }
    if (rename(plan.tmp.c_str(), plan.target.c_str()) != 0)
        return save_otherwise(&plan, data, len, 1);
    save_done(&plan);
    return 0;
}
