// Scripted play for the endurance suite: a player's moves through the
// screens, built on the harness's input script.
#ifndef ZENOBAR_ENDURANCE_SESSION_H
#define ZENOBAR_ENDURANCE_SESSION_H

#include <string>
#include <vector>

namespace session {

enum { POLISH = 1, ENGLISH = 2, SWEDISH = 4 };

// Intro: points at the language's flag and releases the button there.
void choose_language(int language);

// Main menu entries, 0 new game to 4 quit: motion onto it, then release.
enum { NEW_GAME, OPTIONS, BEST_PLAYERS, INFORMATION, QUIT };
void menu(int entry);

// Name entry: the letters, then Return.
void name(const std::string &letters);

// Options areas, 0 music to 3 window; 4 goes back to the menu.
void option(int area);

// Closes a requester or leaves a screen that waits for any release.
void dismiss();

// Answers to the question on screen, read from the rendered texts: the
// placeholder questions call their right answer "right ...". Steps that
// decide when they run.
void answer_wrong();
// Right first, wrong second, then wrong first, right second: nothing
// changes either time.
void answer_disagreeing();
// A click on A and its confirmation, again and again until the game is
// over, then the result is dismissed. Needs no rendered text.
void answer_a_until_over();
// Lifeline icon 0 50:50, 1 telephone, 2 audience.
void lifeline(int which);
// First click on the right answer, a lifeline while the confirmation
// waits, then the confirmation.
void answer_right_with_lifeline_in_wait(int which);

// A whole game from the menu: new game, name, `right` right answers (with
// the three lifelines on the first three questions when `lifelines`),
// then a wrong one unless all twelve were right, and the result dismissed.
void play_game(const std::string &player, int right, bool lifelines);

// Letters only, as the name entry takes them: a name for number n.
std::string name_for(int n);

// The texts of the question on screen: line1, line2, A, B, C, D; empty
// when none was drawn since the last clear.
std::vector<std::string> question_on_screen();

}  // namespace session

#endif
