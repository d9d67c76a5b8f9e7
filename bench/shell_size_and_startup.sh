#!/bin/sh
# The shell's figures: size of the stripped Windows 98 program, and the time
# from starting the program to its icon in the notification area, under Wine
# reporting Windows 98 (median of 5 starts of the x86-64 build of the same
# sources).
set -e
cd "$(dirname "$0")/.."
stripped=$(mktemp)
i686-w64-mingw32-strip -o "$stripped" build/MMKeyboard.exe
size=$(stat -c %s "$stripped")
rm -f "$stripped"
echo "build/MMKeyboard.exe stripped: $size bytes ($(( (size + 1023) / 1024 )) KiB; goal: at most 80 KiB)"
cd build/test64
# Its Wine start-up (prefix, server, Xvfb) is not part of the figure.
./wine-run cmd /c exit >/dev/null 2>&1 || true
./wine-run "$PWD/bench/startup_bench.exe" "$PWD/MMKeyboard.exe" 5
