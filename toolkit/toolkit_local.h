// What only the toolkit's own files (and the tests) use.
#ifndef ZENOBAR_TOOLKIT_LOCAL_H
#define ZENOBAR_TOOLKIT_LOCAL_H

#include <atomic>

#include "toolkit/toolkit.h"

// The one sound on the mixer's music channel. The mixer's thread releases
// it too (musicDone), so it is only ever taken with an exchange.
extern std::atomic<Mix_Music *> smusic;
// The mixer calls it on its own thread when an effect ends by itself.
void musicDone();

#endif
