// High scores: the table of the five best players and its file, the
// best-players screen and the name entry before each game.
#ifndef ZENOBAR_SCORES_H
#define ZENOBAR_SCORES_H

// Entry 0 is the lowest. A name read from the file may keep its newline.
extern char players[5][20];
extern int playersi[5];

int loadh();
int saveh();
void insert_score(const char *name, int level);

void highscores();
void enter_name();

#endif
