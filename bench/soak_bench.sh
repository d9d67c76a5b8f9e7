#!/bin/sh
# Soak and fuzz: 10,000 random reports and 100 unplug/plug-in cycles through
# the simulated keyboard. Prints reports handled per second, handles, threads
# and private bytes before and after, and how many reports acted; exits
# non-zero when a check fails (see bench/soak_bench.cpp).
# Run after tools/build; bench/run does both.
set -e
cd "$(dirname "$0")/../build/test64"
./wine-run "$PWD/bench/soak_bench.exe"
