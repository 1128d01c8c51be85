#!/bin/sh
# Sets up, builds and starts the game in its folder, where it keeps its
# "config" and "highscores".
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh build
cd build/game
exec ./zenobar
