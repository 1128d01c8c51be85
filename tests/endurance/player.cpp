// zenobar-player: the game, headless and scripted, in the current folder,
// for the tests that need a process of their own (a private mount, a
// terminal, a kill). Drivers come from the environment as the game finds
// them.
//
//   zenobar-player session N
//
// plays one deterministic session: English, one change in the options
// (N decides which), a game of N % 13 right answers by the player
// name_for(N), and Quit. Status: the game's, or 3 when the run strayed
// from its script.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "tests/endurance/session.h"
#include "tests/harness.h"

int main(int argc, char *argv[])
{
    if (argc != 3 || strcmp(argv[1], "session") != 0) {
        fprintf(stderr, "usage: zenobar-player session N\n");
        return 2;
    }
    int n = atoi(argv[2]);
    alarm(120);  // a run takes well under a second

    harness::reset_state();
    // Each fade in one or two frames: these runs are about the process.
    harness::clock_step = 2000;
    using namespace session;
    choose_language(ENGLISH);
    menu(OPTIONS);
    option(n % 4);
    option(4);
    play_game(name_for(n), n % 13, n % 2 == 0);
    menu(QUIT);

    char program[] = "zenobar";
    char *args[] = {program, NULL};
    int status = zenobar_main(1, args);
    if (harness::polls_after_script() != 0 || harness::script_left() != 0) {
        fprintf(stderr, "zenobar-player: the run left its script (%zu items left, %ld polls past it)\n",
                harness::script_left(), harness::polls_after_script());
        return 3;
    }
    return status;
}
