#!/bin/sh
# Prints MMKeyboard-sim.exe's processor time over 10 s of idling, with no
# keyboard and with the keyboard and sound card open (goal: none).
# Run after tools/build; bench/run does both.
set -e
cd "$(dirname "$0")/../build/test64"
./wine-run "$PWD/bench/idle_bench.exe"
