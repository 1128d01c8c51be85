#!/bin/sh
# Rebuilds the pictures of every screen in docs/screenshots from the game's
# real data, headless.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh test
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENOBAR_TESTS=ON >/dev/null
cmake --build build -j2 --target zenobar zenobar-screenshots game_gfx game_sfx game_questions game_font
mkdir -p docs/screenshots
build/tools/zenobar-screenshots build/game docs/screenshots > /dev/null
echo "screenshots in docs/screenshots"
