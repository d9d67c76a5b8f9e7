#!/bin/sh
# Soak and fuzz: 10,000 random reports and 100 unplug/plug-in cycles through
# the simulated keyboard, once with one of the maker's models and once with a
# standard keyboard. Prints reports handled per second, handles, threads and
# private bytes before and after, and how many reports acted; exits non-zero
# when a check fails (see bench/soak_bench.cpp).
# Run after tools/build; bench/run does both.
set -e
cd "$(dirname "$0")/../build/test64"
./wine-run "$PWD/bench/soak_bench.exe"
./wine-run "$PWD/bench/soak_bench.exe" standard
