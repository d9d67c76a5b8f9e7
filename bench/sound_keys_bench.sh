#!/bin/sh
# Prints how soon the level display shows after a key message and after a
# step, and the steps of volume up held for 2 s, five times (20 expected),
# with the display shown and turned off.
# Run after tools/build; bench/run does both.
set -e
cd "$(dirname "$0")/../build/test64"
./wine-run "$PWD/bench/sound_keys_bench.exe"
