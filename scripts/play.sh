#!/bin/sh
# Sets up and builds what playing needs (no tests), then starts the game in
# its folder, where it keeps its "config" and "highscores".
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh play
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENOBAR_TESTS=OFF >/dev/null
cmake --build build -j2
cd build/game
exec ./zenobar
