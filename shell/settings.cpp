// The settings file "config": the display and sound settings.
#include <stdio.h>

#include "shell/shell_local.h"

// A number that is missing or unreadable leaves its setting as it was.
int loadc()
{
    FILE *file = fopen("config", "r");
    if (file == NULL)
        return 0;
    if (fscanf(file, "%d", &fullscreen) == 1)
        fscanf(file, "%d", &music);
    fclose(file);
    return 0;
}

int savec()
{
    char text[32];
    int len = snprintf(text, sizeof text, "%d %d\n", fullscreen, music);
    save_file("config", "config.tmp", text, (size_t)len);
    return 0;
}
