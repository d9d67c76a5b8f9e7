#!/bin/sh
# Prints what key sets in the registry cost a key they leave as it is: the
# dispatcher's look-up with and without them, and after the program in front
# changed (goal: at most 1 ms more); and an assigned key outside the table
# from its report to its command (goal: within 10 ms).
# Run after tools/build; bench/run does both.
set -e
cd "$(dirname "$0")/../build/test64"
./wine-run "$PWD/bench/key_sets_bench.exe"
