#include "tests/endurance/session.h"

#include "quiz/quiz.h"
#include "shell/shell.h"
#include "tests/harness.h"

using namespace harness;

namespace session {

// Inside each answer area, and each lifeline icon.
static const int icon_x[3] = {480, 540, 600};

void choose_language(int language)
{
    int x = language == ENGLISH ? 150 : language == SWEDISH ? 450 : 330;
    int y = language == POLISH ? 200 : 350;
    motion(x, y);
    release(x, y);
}

void menu(int entry)
{
    static const int y[5] = {140, 200, 270, 330, 390};
    motion(300, y[entry]);
    release(300, y[entry]);
}

void name(const std::string &letters)
{
    for (char c : letters)
        type(c);
    type(SDLK_RETURN);
}

void option(int area)
{
    static const int x[5] = {100, 500, 100, 500, 320}, y[5] = {195, 195, 350, 350, 455};
    click(x[area], y[area]);
}

void dismiss() { click(5, 5); }

std::vector<std::string> question_on_screen()
{
    for (int i = (int)rendered.size() - 6; i >= 0; i--) {
        const std::string &t = rendered[(size_t)i];
        if (t.size() > 3 && t[0] == 'L' && t[2] == 'Q')
            return std::vector<std::string>(rendered.begin() + i, rendered.begin() + i + 6);
    }
    return {};
}

void answer_wrong()
{
    then([] {
        int right = right_slot();
        int first = (right + 1) % 4, second = (right + 2) % 4;
        click_slot(first);
        click_slot(second);
    });
}

void answer_disagreeing()
{
    then([] {
        int right = right_slot(), wrong = (right + 3) % 4;
        click_slot(right);
        click_slot(wrong);
        click_slot(wrong);
        click_slot(right);
    });
}

void answer_a_until_over()
{
    then([] {
        if (APPMODE == MODE_GAME) {
            click_slot(0);
            click_slot(0);
            answer_a_until_over();
        } else {
            dismiss();
        }
    });
}

void lifeline(int which) { click(icon_x[which], 20); }

void answer_right_with_lifeline_in_wait(int which)
{
    then([which] {
        int s = right_slot();
        click_slot(s);
        lifeline(which);
        click_slot(s);
    });
}

void play_game(const std::string &player, int right, bool lifelines)
{
    menu(NEW_GAME);
    name(player);
    for (int q = 0; q < right; q++) {
        if (lifelines && q < 3)
            lifeline(q);
        answer_right();
    }
    if (right < 12)
        answer_wrong();
    dismiss();
}

std::string name_for(int n)
{
    std::string letters = "p";
    do {
        letters += (char)('a' + n % 26);
        n /= 26;
    } while (n > 0);
    return letters;
}

}  // namespace session
