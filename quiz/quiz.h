// The quiz: question files and pools, the game screen with its prize
// ladder, the answer board and the three lifelines.
#ifndef ZENOBAR_QUIZ_H
#define ZENOBAR_QUIZ_H

#include <stdint.h>

// One question, its answers in display order A to D. Answer codes: 1000 A,
// 100 B, 10 C, 1 D.
struct Question {
    char line1[301];
    char line2[301];
    char answer[4][301];
    int32_t correct;
    int32_t count;  // questions in the pool; set in its first record only
};

// A pool is a block of count + 1 records, the last one all zero, referred
// to by its first record.
typedef Question QuestionPool;

extern QuestionPool *easy, *med, *hard;

int load_question(const char *path, int level);
void free_question(QuestionPool **pool);
void print_question(const Question *question);

// Prize texts by the number of right answers.
extern const char win[13][10];

// Lifeline states: 0 available, 1 used in this game.
extern int oneone, call, pub;
extern int position;
extern int ix, iy;

void game();

void draw_selected(int which);
void draw_here(int position);
int check_again(int code, int *quit_flag);

void help_one(int code);
void phone(int code);
void pub_speak(int code);
void deactivate(int which);

#endif
