#!/bin/sh
# Prints the sound keys' figures under Wine: idle CPU with the keyboard and
# the mixer open, and the steps of a 2 s volume-up hold (20 expected).
# Run from the source tree after tools/build.
set -e
cd "$(dirname "$0")/../build/test64"
cmake --build . --target mixer_sound_keys_bench >/dev/null
./wine-run "$PWD/bench/mixer_sound_keys_bench.exe"
