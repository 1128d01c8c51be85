// The game: twelve questions up the prize ladder, then the result.
#include <stdio.h>
#include <stdlib.h>

#include "quiz/quiz_local.h"
#include "scores/scores.h"

const char win[13][10] = {
    "0", "100", "200", "500", "1000", "3000", "6000",
    "12000", "25000", "50000", "100000", "1000000", "10000000",
};

int oneone = 0, call = 0, pub = 0;
int position = 0;
int ix = 0, iy = 0;

static const char *const question_files[3][3] = {
    {"quest/pol/latwe.qst", "quest/pol/srednie.qst", "quest/pol/trudne.qst"},
    {"quest/eng/latwe.qst", "quest/eng/srednie.qst", "quest/eng/trudne.qst"},
    {"quest/swe/latwe.qst", "quest/swe/srednie.qst", "quest/swe/trudne.qst"},
};

static void draw_name()
{
    DrawText(font1, player_name, 40, 20, 0, 0, 0);
}

// Loads the three pools and their used lists; 0 when the game cannot start.
static int setup(int *used[3])
{
    if (change_screen("gfx/game.png")) {
        draw_name();
        SDL_Flip(screen);
    }
    SDL_Delay(100);

    for (int level = 1; level <= 3; level++) {
        if (load_question(question_files[language_folder()][level - 1], level) == -1) {
            LAPPMODE = MODE_GAME;
            APPMODE = MODE_MENU;
            return 0;
        }
    }
    // Four questions are drawn from each pool without repeats: a smaller
    // pool could never give them.
    QuestionPool *pools[3] = {easy, med, hard};
    for (int level = 0; level < 3; level++) {
        if (pools[level][0].count < 4) {
            char text[512];
            snprintf(text, sizeof text,
                     in_language("Za malo pytan w pliku: %s", "Too few questions in file: %s",
                                   "F\xf6r f\xe5 fr\xe5gor i filen: %s"),
                     question_files[language_folder()][level]);
            requester(MESSAGE_X, MESSAGE_Y, text);
            LAPPMODE = MODE_GAME;
            APPMODE = MODE_MENU;
            return 0;
        }
    }
    for (int level = 0; level < 3; level++) {
        used[level] = (int *)calloc((size_t)pools[level][0].count, sizeof(int));
        if (used[level] == NULL) {
            requester(MESSAGE_X, MESSAGE_Y,
                      in_language("Nie moge zaalokowac pamieci na pytania!", "Cannot allocate memory for questions!",
                                    "Kan inte allokera minne f\xf6r fr\xe5gorna!"));
            APPMODE = MODE_MENU;
            quit = 1;
            return 0;
        }
    }
    return 1;
}

// Questions 1-4 come from the easy pool, 5-8 from the medium, 9-12 the hard.
static int show_question(int *used[3])
{
    SDL_BlitSurface(image, NULL, screen, NULL);
    draw_name();
    draw_here(position);
    if (oneone == 1)
        deactivate(1);
    if (call == 1)
        deactivate(2);
    if (pub == 1)
        deactivate(3);
    SDL_Flip(screen);

    int level = position < 4 ? 0 : position < 8 ? 1 : 2;
    QuestionPool *pool = level == 0 ? easy : level == 1 ? med : hard;
    int count = pool[0].count;
    int index = rand() % count;
    while (used[level][index] == 1)
        index = rand() % count;
    used[level][index] = 1;
    print_question(&pool[index]);
    return pool[index].correct;
}

// Two clicks on the right answer win the question, two on wrong ones lose
// the game; two that disagree change nothing.
static void answer(int k, int correct)
{
    if (music == 0)
        play_sound(SND_CLICK);
    draw_selected(k + 1);
    int confirmed = check_again(correct, &quit);
    int first_right = answer_codes[k] == correct;
    if (first_right && confirmed) {
        if (music == 0)
            play_sound(SND_APPLAUSE);
        position++;
    } else if (!first_right && !confirmed) {
        if (music == 0)
            play_sound(SND_WRONG);
        APPMODE = MODE_MENU;
        quit = 1;
    }
}

static void click(int correct)
{
    SDL_GetMouseState(&ix, &iy);
    // check_again clears ix and iy, so after an answer nothing else is hit.
    for (int k = 0; k < 4; k++)
        if (pressed(&answers[k], ix, iy))
            answer(k, correct);
    if (pressed(&help[0], ix, iy)) {
        if (music == 0)
            play_sound(SND_FIFTY);
        help_one(correct);
    }
    if (pressed(&help[1], ix, iy)) {
        if (music == 0)
            play_sound(SND_TELEPHONE);
        phone(correct);
    }
    if (pressed(&help[2], ix, iy)) {
        if (music == 0)
            play_sound(SND_AUDIENCE);
        pub_speak(correct);
    }
}

static void end_game(int *used[3])
{
    free_question(&easy);
    free_question(&med);
    free_question(&hard);
    for (int level = 0; level < 3; level++)
        free(used[level]);
    if (position > 11)
        position = 12;
    char result[64];
    snprintf(result, sizeof result, in_language("Wlasnie wygrales %s", "You just won %s", "Grattis du vann %s"),
             win[position]);
    requester(50, 200, result);
    insert_score(player_name, position);
}

void game()
{
    quit = 0;
    oneone = 0;
    call = 0;
    pub = 0;
    if (APPMODE != MODE_GAME)
        return;

    int last_drawn = -1;
    int correct = 0;
    int *used[3] = {NULL, NULL, NULL};
    if (music == 1)
        play_sound(SND_GAME_TUNE);
    position = 0;
    if (music == 0)
        play_sound(SND_APPLAUSE);

    while (!quit) {
        if (APPMODE != LAPPMODE && !setup(used))
            break;
        LAPPMODE = APPMODE;
        if (position != last_drawn)
            correct = show_question(used);
        last_drawn = position;

        event.type = 0;
        ix = iy = 0;
        SDL_PollEvent(&event);
        if (event.type == SDL_MOUSEBUTTONUP) {
            click(correct);
        } else if (event.type == SDL_QUIT) {
            end_program();
        }
        if (position > 11) {
            quit = 1;
            APPMODE = MODE_MENU;
        }
    }
    end_game(used);
}
