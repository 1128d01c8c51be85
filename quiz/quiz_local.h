// What only the quiz's own files use: the game's state, the answer board
// and the lifelines.
#ifndef ZENOBAR_QUIZ_LOCAL_H
#define ZENOBAR_QUIZ_LOCAL_H

#include "quiz/quiz.h"
#include "shell/shell.h"

// The answer codes of the display slots A to D.
extern const int answer_codes[4];

// The lifelines 50:50, telephone and audience: 0 available, 1 used in this
// game. game() sets them to 0.
extern int oneone, call, pub;
// Right answers so far in this game, 0 to 12: the ladder's rung.
extern int position;
// The mouse at the last click the game handled; check_again clears it so
// that a click that answered hits nothing else.
extern int ix, iy;

// Where the quiz's messages stand.
enum { MESSAGE_X = 20, MESSAGE_Y = 200 };

void print_question(const Question *question);
void draw_selected(int which);
void draw_here(int rung);
int check_again(int code, int *quit_flag);

void help_one(int code);
void phone(int code);
void pub_speak(int code);
void deactivate(int which);

#endif
