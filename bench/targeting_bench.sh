#!/bin/sh
# Prints how long a player key and a browser key take from the key message to
# the whole chord at the stand-in, and a player key to Winamp's command, with
# the program in the foreground and found by search, among 0, 25 and 50 other processes, and the goals met or missed.
# Run after tools/build; bench/run does both.
set -e
cd "$(dirname "$0")/../build/test64"
./wine-run "$PWD/bench/targeting_bench.exe"
