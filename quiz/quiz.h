// The quiz: the game screen with its prize ladder.
#ifndef ZENOBAR_QUIZ_H
#define ZENOBAR_QUIZ_H

// Prize texts by the number of right answers.
extern const char win[13][10];

// Lifeline states: 0 available, 1 used in this game.
extern int oneone, call, pub;
extern int position;
extern int ix, iy;

void game();

#endif
