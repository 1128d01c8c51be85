// High scores: the table of the five best players and its file, the
// best-players screen and the name entry before each game.
#ifndef ZENOBAR_SCORES_H
#define ZENOBAR_SCORES_H

// "highscores": read at start-up, written at the end of the run.
int loadh();
int saveh();
// A result enters the table in memory; it reaches the file at the end.
void insert_score(const char *name, int level);

void highscores();
void enter_name();

#endif
