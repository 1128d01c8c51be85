#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include "quiz/quiz.h"
#include "shell/shell.h"

static const int answer_codes[4] = {1000, 100, 10, 1};

void help_one(int code)
{
    static const SDL_Rect places[4] = {{80, 355, 220, 40}, {400, 355, 220, 40}, {80, 424, 220, 40}, {400, 424, 220, 40}};
    if (music == 0)
        play_sound(7);
    if (oneone != 0)
        return;
    oneone = 1;
    int r = rand() % 3;
    int right = -1;
    for (int k = 0; k < 4; k++)
        if (answer_codes[k] == code)
            right = k;
    if (right < 0)
        return;
    // The r-th wrong answer stays; the other two are wiped from view only.
    int wrong = 0;
    for (int k = 0; k < 4; k++) {
        if (k == right)
            continue;
        if (wrong++ == r)
            continue;
        SDL_Rect place = places[k];
        SDL_BlitSurface(image, &place, screen, &place);
        SDL_Flip(screen);
    }
}

void phone(int code)
{
    (void)code;  // the friend guesses
    if (call != 0)
        return;
    call = 1;
    SDL_Surface *box = IMG_Load("gfx/information.png");
    if (box == NULL)
        return;
    if (music == 0)
        play_sound(11);
    SDL_Rect where = {40, 80, 0, 0};
    SDL_BlitSurface(box, NULL, screen, &where);
    int r = rand() % 4;
    char text[64] = "";
    const char letter = (char)('A' + r);
    if (language == 1)
        snprintf(text, sizeof text, "Gracz telefoniczny stawia na odpowiedz %c", letter);
    else if (language == 2)
        snprintf(text, sizeof text, "Phone player just say it will be answer %c", letter);
    else if (language == 4)
        snprintf(text, sizeof text, "Telefonhj\xe4lpen svarar  %c", letter);
    if (text[0] != 0)
        DrawText(font1, text, 90, 110, 0, 0, 0);
    SDL_Flip(screen);
    SDL_FreeSurface(box);
}

// The audience favours no answer. Values above 100 in all are scaled back;
// a value driven below zero is paid for by the first other value that can
// afford it, so the poll always sums to 100 once it was over.
static void poll_audience(int votes[4])
{
    for (int k = 0; k < 4; k++)
        votes[k] = rand() % 70;
    int sum = votes[0] + votes[1] + votes[2] + votes[3];
    if (sum > 100) {
        int q = (100 - sum) / 4;
        for (int k = 0; k < 4; k++)
            votes[k] += q;
        sum += 4 * q;
        if (sum > 100) {
            int s = rand() % 4;
            votes[s] += 100 - sum;
        }
    }
    for (int x = 0; x < 4; x++) {
        if (votes[x] >= 0)
            continue;
        for (int y = 0; y < 4; y++) {
            if (y != x && votes[y] >= -votes[x]) {
                votes[y] += votes[x];
                votes[x] = 0;
                break;
            }
        }
    }
}

void pub_speak(int code)
{
    (void)code;
    if (pub != 0)
        return;
    pub = 1;
    SDL_Surface *box = IMG_Load("gfx/information.png");
    if (box == NULL)
        return;
    if (music == 0)
        play_sound(9);
    srand((unsigned int)time(0));
    int votes[4];
    poll_audience(votes);

    SDL_Rect where = {40, 100, 0, 0};
    SDL_BlitSurface(box, NULL, screen, &where);
    const char *heading = NULL, *format = NULL;
    if (language == 1) {
        heading = "Publicznosc m\xf3wi:";
        format = "Odpowiedz %c %d%%";
    } else if (language == 2) {
        heading = "The people say's:";
        format = "Answer %c %d%%";
    } else if (language == 4) {
        heading = "Publiken svarar:";
        format = "%c %d%%";
    }
    if (heading != NULL) {
        static const int x[4] = {140, 400, 140, 400}, y[4] = {135, 135, 155, 155};
        DrawText(font1, heading, 210, 110, 0, 0, 0);
        for (int k = 0; k < 4; k++) {
            char text[32];
            snprintf(text, sizeof text, format, 'A' + k, votes[k]);
            DrawText(font2, text, x[k], y[k], 0, 0, 20);
        }
    }
    SDL_Flip(screen);
    SDL_FreeSurface(box);
}

void deactivate(int which)
{
    static const char *const pictures[] = {"gfx/smenu.png", "gfx/eng/smenu.png", "gfx/swe/smenu.png"};
    SDL_FreeSurface(simage);
    simage = IMG_Load(pictures[language == 2 ? 1 : language == 4 ? 2 : 0]);
    if (simage == NULL)
        printf("error!:  %s\n", SDL_GetError());
    if (screen == NULL || simage == NULL || which < 1 || which > 3)
        return;
    static const SDL_Rect used[3] = {{440, 5, 70, 60}, {507, 5, 70, 60}, {570, 5, 70, 60}};
    SDL_Rect area = used[which - 1];
    SDL_BlitSurface(simage, &area, screen, &area);
    SDL_Flip(screen);
}
