// The table of the five best players and its file "highscores".
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "scores/scores_local.h"
#include "shell/shell.h"

char players[5][20];
int playersi[5];

static void drop_newlines()
{
    for (int i = 0; i < 5; i++)
        for (int j = 0; j < 20; j++)
            if (players[i][j] == '\n')
                players[i][j] = 0;
}

int loadh()
{
    FILE *file = fopen("highscores", "r");
    if (file == NULL) {
        for (int i = 0; i < 5; i++) {
            strcpy(players[i], "NOonE\n");
            playersi[i] = 0;
        }
        return 0;
    }
    char line[20];
    for (int i = 0; i < 5; i++) {
        // A name line longer than 18 characters leaves its rest to be read
        // as the level line: the records after it come one line late.
        if (fgets(line, sizeof line, file) == NULL) {
            strcpy(players[i], "NOonE\n");
            continue;
        }
        strcpy(players[i], line);
        if (fgets(line, sizeof line, file) == NULL)
            playersi[i] = 0;
        else
            playersi[i] = atoi(line);
    }
    fclose(file);
    return 0;
}

int saveh()
{
    for (int i = 0; i < 5; i++) {
        for (int j = 0; j < 20; j++) {
            if (players[i][j] == '\n')
                players[i][j] = 0;
            trace("Zenobar: players %s\n", players[i]);
        }
    }
    // A 19-character name would fill loadh's 20-byte read without its
    // newline and put every later record one line late, so at most 18.
    char text[5 * 40];
    size_t len = 0;
    for (int i = 0; i < 5; i++)
        len += (size_t)snprintf(text + len, sizeof text - len, "%.18s\n%d\n", players[i], playersi[i]);
    save_file("highscores", "highscores.tmp", text, len);
    return 0;
}

// Ties rank the newer result higher; a result below the lowest entry is
// not recorded.
void insert_score(const char *name, int level)
{
    drop_newlines();
    if (playersi[0] <= level) {
        snprintf(players[0], sizeof players[0], "%s", name);
        playersi[0] = level;
    }
    for (int i = 1; i < 5; i++) {
        if (playersi[i] > level)
            break;
        memcpy(players[i - 1], players[i], sizeof players[i]);
        playersi[i - 1] = playersi[i];
        snprintf(players[i], sizeof players[i], "%s", name);
        playersi[i] = level;
    }
}
