#!/bin/sh
# The runner of every Windows test program, build/test64/wine-run: a run that fails says where and
# what was running, and its bookkeeping never takes another process for its display or sound
# server. Argument: the test build folder.
. "$(dirname "$0")/../install/check.sh"
build=$1
# A copy that keeps its bookkeeping in a folder of its own: its --end touches nothing of the run's.
own=$(mktemp -d)
sleep 300 >/dev/null 2>&1 &
stranger=$!
trap 'kill $stranger 2>/dev/null; rm -rf "$own"' EXIT
sed "s|^build_dir=.*|build_dir=\"$own\"|" "$build/wine-run" >"$own/wine-run"
mkdir "$own/.wine-run"
# Process ids are reused (they wrap at 32768 here): the ids recorded by an earlier run may now be
# those of any program.
for name in xvfb pulse; do echo $stranger >"$own/.wine-run/$name.pid"; done
check "an id recorded earlier, now another program's, is not taken for the display or sound server" \
    test -z "$(sh "$own/wine-run" --services)"
MMK_WINEPREFIX="$own/prefix" sh "$own/wine-run" --end
check "--end leaves that program running" kill -0 $stranger

# First a run that succeeds: the servers and the prefix are then ready, and a first start that
# brings Wine's own messages is behind.
check "a program runs" "$build/wine-run" cmd /c exit 0
said=$("$build/wine-run" cmd /c exit 3 2>&1)
check "a program that fails without a word is told, with the servers that ran" \
    eval 'echo "$said" | grep -q "cmd ended with status 3" && echo "$said" | grep -q "wineserver runs"'
said=$(MMK_WINEPREFIX=/proc/no-prefix "$build/wine-run" cmd /c exit 0 2>&1)
check "a run that cannot make its prefix ready says so" \
    eval 'echo "$said" | grep -q "stopped while making the prefix and its wineserver ready"'
exit $((failures > 0))
