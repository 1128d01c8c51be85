// The game both programs play under the harness: Swedish, a name, three right answers and a wrong one, then
// Quit. The clock srand reads is fixed, so both draw the same questions.
#include <time.h>

#include "tests/harness.h"

using namespace harness;

extern "C" time_t __wrap_time(time_t *t) { return t != NULL ? *t = 1000000000 : 1000000000; }

static void script_whole_game()
{
    choose_language(3);
    menu_entry(1);
    type_name("eva");
    for (int q = 0; q < 4; q++)
        then([q] {
            int s = (right_slot() + (q == 3)) % 4;
            click_slot(s), click_slot(s);  // marked, then confirmed
        });
    click(5, 5);  // past the result
    menu_entry(5);
}
