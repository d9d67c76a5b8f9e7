#!/bin/sh
# Prints the keyboard figures: idle processor time of MMKeyboard-sim.exe over
# 10 s without and with a simulated keyboard, and the time from a calculator
# key report written to the keyboard's pipe to the calculator stub starting.
set -e
cd "$(dirname "$0")/.."
tools/build >/dev/null
cd build/test64
./wine-run "$PWD/bench/keyboard_bench.exe"
