#!/bin/sh
# Prints how long a launch key takes under Wine (median of 20 runs).
# Run from the source tree after tools/build.
set -e
cd "$(dirname "$0")/../build/test64"
cmake --build . --target launch_bench >/dev/null
./wine-run "$PWD/bench/launch_bench.exe"
