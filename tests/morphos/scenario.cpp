#include "tests/morphos/scenario.h"

#include <time.h>

#include "tests/harness.h"

using namespace harness;

// A fixed clock for srand, so that both programs draw the same questions.
extern "C" time_t __wrap_time(time_t *t)
{
    if (t != NULL)
        *t = 1000000000;
    return 1000000000;
}

static void answer(bool right)
{
    then([right] {
        int s = right ? right_slot() : (right_slot() + 1) % 4;
        click_slot(s);
        click_slot(s);
    });
}

void script_whole_game()
{
    motion(450, 350);  // Swedish flag
    release(450, 350);
    motion(300, 130);  // new game
    release(300, 130);
    type('e');
    type('v');
    key_down('a');  // held over two empty polls: typed three times
    idle(2);
    key_up('a');
    type(SDLK_RETURN);
    for (int q = 0; q < 3; q++)
        answer(true);
    answer(false);
    click(5, 5);  // the result
    motion(300, 260);  // best players
    release(300, 260);
    click(5, 5);
    motion(300, 390);  // quit
    release(300, 390);
}

void script_close()
{
    close_window();
}

std::vector<std::string> transcript()
{
    std::vector<std::string> lines;
    for (const std::string &text : rendered)
        lines.push_back("text " + text);
    for (const std::string &sound : sounds_loaded())
        lines.push_back("sound " + sound);
    lines.push_back("delayed " + std::to_string(delayed_ms));
    lines.push_back("polls after script " + std::to_string(polls_after_script()));
    return lines;
}
