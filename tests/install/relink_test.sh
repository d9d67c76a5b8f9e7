#!/bin/sh
# MMKeyboard.exe carries no time of its link: linked again from the same objects, in a later
# second, it is the same byte for byte. So two builds of one commit give the same program, and
# the same release images. Argument: the Windows 98 build folder.
. "$(dirname "$0")/check.sh"
build=$1
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
link=$(cd "$build" && ninja -t commands MMKeyboard.exe | tail -n 1)
# The stamp counts seconds: wait until the clock has left the second of the build's link.
while [ "$(date +%s)" -le "$(stat -c %Y "$build/MMKeyboard.exe")" ]; do sleep 0.1; done
relinked_same() {
    (cd "$build" && eval "$(echo "$link" |
        sed "s|-o MMKeyboard.exe |-o $work/MMKeyboard.exe |; s|--out-implib,[^ ]*|--out-implib,$work/implib.a|")") &&
        cmp "$build/MMKeyboard.exe" "$work/MMKeyboard.exe"
}
check "MMKeyboard.exe linked again later is the same byte for byte" relinked_same
exit $((failures > 0))
