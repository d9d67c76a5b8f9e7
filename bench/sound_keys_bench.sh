#!/bin/sh
# Prints the steps of volume up held for 2 s, five times (20 expected).
# Run after tools/build; bench/run does both.
set -e
cd "$(dirname "$0")/../build/test64"
./wine-run "$PWD/bench/sound_keys_bench.exe"
