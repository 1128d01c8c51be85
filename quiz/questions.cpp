// Question files: reading a level's pool, with every question's answers
// shuffled into their display slots.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "quiz/quiz_local.h"

QuestionPool *easy = NULL, *med = NULL, *hard = NULL;
const int answer_codes[4] = {1000, 100, 10, 1};

static QuestionPool **level_pool(int level)
{
    switch (level) {
    case 1:
        return &easy;
    case 2:
        return &med;
    case 3:
        return &hard;
    }
    return NULL;
}

static void tell(const char *polish, const char *english, const char *swedish, const char *path)
{
    char text[512];
    snprintf(text, sizeof text, in_language(polish, english, swedish), path);
    requester(MESSAGE_X, MESSAGE_Y, text);
}

// The messages keep no line feed: the font would draw it as a box.
static void tell_cannot_open(const char *path)
{
    tell("Nie mozna otworzyc pliku: %s", "Cannot open file: %s", "Kan inte \xf6ppna filen: %s", path);
}

// A read takes at most 299 bytes and loses its last byte, the line feed of
// a line that fits. An overlong line leaves its rest to the next read.
static void read_line(char *field, FILE *file)
{
    if (fgets(field, 300, file) != NULL) {
        size_t n = strlen(field);
        if (n > 0)
            field[n - 1] = 0;
    }
}

static int draw_other_slot(const int *taken, int count)
{
    for (;;) {
        int slot = rand() % 4;
        int clash = 0;
        for (int i = 0; i < count; i++)
            clash |= slot == taken[i];
        if (!clash)
            return slot;
    }
}

static void read_question(Question *q, FILE *file)
{
    read_line(q->line1, file);
    read_line(q->line2, file);
    int slots[4];
    for (int k = 0; k < 4; k++) {
        slots[k] = draw_other_slot(slots, k);
        read_line(q->answer[slots[k]], file);
    }
    char code_line[100] = "";
    if (fgets(code_line, sizeof code_line, file) == NULL)
        code_line[0] = 0;
    int code = atoi(code_line);
    // The code names a line of the file; keep it as read if it names none.
    q->correct = code;
    for (int k = 0; k < 4; k++)
        if (code == answer_codes[k])
            q->correct = answer_codes[slots[k]];
}

int load_question(const char *path, int level)
{
    FILE *file = fopen(path, "rb");
    if (file == NULL) {
        tell_cannot_open(path);
        return -1;
    }
    int count = 0, lines = 0, c;
    while ((c = getc(file)) != EOF) {
        if (c == '\n' && ++lines == 7) {
            lines = 0;
            count++;
        }
    }
    fclose(file);

    QuestionPool **pool = level_pool(level);
    if (pool == NULL)
        return 0;

    file = fopen(path, "rb");
    if (file == NULL) {
        *pool = NULL;
        tell_cannot_open(path);
        return -1;
    }
    *pool = (QuestionPool *)calloc((size_t)count + 1, sizeof(Question));
    if (*pool == NULL) {
        tell("Nie moge zaalokowac pamieci na pytania!", "Cannot allocate memory for questions!",
             "Kan inte allokera minne f\xf6r fr\xe5gorna!", "");
        fclose(file);
        return -1;
    }
    (*pool)[0].count = count;
    for (int q = 0; q < count; q++)
        read_question(&(*pool)[q], file);
    fclose(file);
    return 0;
}

void free_question(QuestionPool **pool)
{
    free(*pool);
    *pool = NULL;
}

void print_question(const Question *question)
{
    DrawText(font2, question->line1, 120, 270, 0, 0, 0);
    DrawText(font2, question->line2, 120, 290, 0, 0, 0);
    DrawText(font2, question->answer[0], 85, 365, 0, 0, 0);
    DrawText(font2, question->answer[1], 405, 365, 0, 0, 0);
    DrawText(font2, question->answer[2], 85, 430, 0, 0, 0);
    DrawText(font2, question->answer[3], 405, 430, 0, 0, 0);
}
