#!/bin/sh
# Builds and runs the window-targeting benchmark; prints its figures.
set -e
cd "$(dirname "$0")/.."
tools/build >/dev/null
build/test64/wine-run "$PWD/build/test64/bench/targeting_player_key_bench.exe"
