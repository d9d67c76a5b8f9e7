#!/bin/sh
# Prints how long the calculator key takes to start its stand-in, from the key
# message and from the keyboard report (medians of 20).
# Run after tools/build; bench/run does both.
set -e
cd "$(dirname "$0")/../build/test64"
./wine-run "$PWD/bench/launch_bench.exe"
