// Scripted games that zenobar and zenobar-morphos both play under the
// harness, and what each leaves behind to compare.
#ifndef ZENOBAR_TEST_MORPHOS_SCENARIO_H
#define ZENOBAR_TEST_MORPHOS_SCENARIO_H

#include <string>
#include <vector>

// Swedish, a name typed with a held key, three right answers and a wrong
// one, the best players, then Quit.
void script_whole_game();
// The window closed at the first poll, in the intro.
void script_close();

// The texts drawn, the sounds loaded and the clock, one line each.
std::vector<std::string> transcript();

#endif
