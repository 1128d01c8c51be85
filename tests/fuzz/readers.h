// Feeds one input to each of the game's three file readers, the way a
// player's folder would hold it, and checks what the reader made of it.
// Shared by the fuzzers and by the tests that replay what they found.
#ifndef ZENOBAR_FUZZ_READERS_H
#define ZENOBAR_FUZZ_READERS_H

#include <stddef.h>
#include <stdint.h>

#include <string>

// Each writes `data` under the reader's fixed name in the current folder
// (which the caller makes a private one), runs the reader and the writers
// that follow it in a run, and returns what went wrong, or "" when nothing
// did.
std::string check_question_file(const uint8_t *data, size_t size);
std::string check_highscores(const uint8_t *data, size_t size);
std::string check_config(const uint8_t *data, size_t size);

// The path the question check loads; its folders must exist.
extern const char *const question_path;

#endif
