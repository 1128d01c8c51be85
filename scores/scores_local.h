// What only the high-score files use.
#ifndef ZENOBAR_SCORES_LOCAL_H
#define ZENOBAR_SCORES_LOCAL_H

#include "scores/scores.h"

// The table: five names of 20 bytes and their levels 0 to 12, entry 0 the
// lowest. Filled by loadh, changed by insert_score, drawn by highscores.
// A name read from the file may keep its line feed.
extern char players[5][20];
extern int playersi[5];

#endif
