// The three lifelines, each once a game, and their icons marked as used.
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include "quiz/quiz_local.h"

void help_one(int code)
{
    static const SDL_Rect places[4] = {{80, 355, 220, 40}, {400, 355, 220, 40}, {80, 424, 220, 40}, {400, 424, 220, 40}};
    if (music == 0)
        play_sound(SND_FIFTY);
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

// A lifeline's box, or NULL when the lifeline was used (`used` is set
// now) or the box is missing. Its sound starts before the box is shown.
static SDL_Surface *open_box(int *used, int sound)
{
    if (*used != 0)
        return NULL;
    *used = 1;
    SDL_Surface *box = IMG_Load("gfx/information.png");
    if (box != NULL && music == 0)
        play_sound(sound);
    return box;
}

void phone(int code)
{
    (void)code;  // the friend guesses
    SDL_Surface *box = open_box(&call, SND_TELEPHONE);
    if (box == NULL)
        return;
    SDL_Rect where = {40, 80, 0, 0};
    SDL_BlitSurface(box, NULL, screen, &where);
    int r = rand() % 4;
    char text[64] = "";
    snprintf(text, sizeof text,
             in_language("Gracz telefoniczny stawia na odpowiedz %c", "Phone player just say it will be answer %c",
                         "Telefonhj\xe4lpen svarar  %c"),
             'A' + r);
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
    SDL_Surface *box = open_box(&pub, SND_AUDIENCE);
    if (box == NULL)
        return;
    srand((unsigned int)time(0));
    int votes[4];
    poll_audience(votes);

    SDL_Rect where = {40, 100, 0, 0};
    SDL_BlitSurface(box, NULL, screen, &where);
    const char *heading = in_language("Publicznosc m\xf3wi:", "The people say's:", "Publiken svarar:");
    const char *format = in_language("Odpowiedz %c %d%%", "Answer %c %d%%", "%c %d%%");
    if (heading[0] != 0) {
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
    load_simage(pictures[language_folder()]);
    if (screen == NULL || simage == NULL || which < 1 || which > 3)
        return;
    static const SDL_Rect used[3] = {{440, 5, 70, 60}, {507, 5, 70, 60}, {570, 5, 70, 60}};
    SDL_Rect area = used[which - 1];
    SDL_BlitSurface(simage, &area, screen, &area);
    SDL_Flip(screen);
}
