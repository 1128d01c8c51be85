// The quiz: question files and pools, the game screen with its prize
// ladder, the answer board and the three lifelines.
#ifndef ZENOBAR_QUIZ_H
#define ZENOBAR_QUIZ_H

#include <stdint.h>

// One question, its answers in display order A to D, and the answer code
// of the right one (1000 A, 100 B, 10 C, 1 D).
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

// The three pools of the game that runs, by level 1, 2, 3; NULL between
// games.
extern QuestionPool *easy, *med, *hard;

// Reads the question file `path` into the pool of `level`, its answers
// shuffled; -1 (having told the player) when the file cannot be read.
int load_question(const char *path, int level);
void free_question(QuestionPool **pool);

// Prize texts by the number of right answers.
extern const char win[13][10];

void game();

#endif
