#!/bin/sh
# Prints how long the keyboard's readers take to end: a close, an unplug with
# a key held (to its release), and the switch from a standard keyboard to the
# maker's model (goal: well under 100 ms each).
# Run after tools/build; bench/run does both.
set -e
cd "$(dirname "$0")/../build/test64"
./wine-run "$PWD/bench/reader_end_bench.exe"
