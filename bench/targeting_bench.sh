#!/bin/sh
# Prints how long a player key and a browser key take from the key message to
# the chord's first key at the stand-in, or to the command at a player that
# takes commands, with the program in the foreground, found by search or
# playing behind, among 0, 25 and 50 other processes, and the goals met or
# missed. Given another build folder (of another clone, built), its program
# is timed too, every other key, in the same run:
#   bench/targeting_bench.sh [BUILD_FOLDER]
# Run after tools/build; bench/run does both.
set -e
before=
[ -z "$1" ] || before=$(cd "$1" && pwd)
cd "$(dirname "$0")/../build/test64"
MMK_BENCH_BEFORE="$before" ./wine-run "$PWD/bench/targeting_bench.exe"
