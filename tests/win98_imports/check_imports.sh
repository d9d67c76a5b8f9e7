#!/bin/sh
# Fails when a Windows 98 program imports a function that Windows 98 does not
# have: every import of every given executable must be on the allowed list.
# Usage: check_imports.sh OBJDUMP ALLOWED_LIST PROGRAM.exe...
set -e
objdump="$1"; allowed="$2"; shift 2
[ $# -gt 0 ] || { echo "no program given" >&2; exit 2; }

# "DLL function" per allowed import, DLL upper-case without ".dll".
allowed_set=$(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$allowed" | awk '{ print toupper($1) " " $2 }')

status=0
for program in "$@"; do
    [ -f "$program" ] || { echo "$program: missing" >&2; status=1; continue; }
    imports=$("$objdump" -p "$program" | awk '
        /DLL Name:/ { dll = toupper($3); sub(/\.DLL$/, "", dll); next }
        dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print dll " " $3 }')
    [ -n "$imports" ] || { echo "$program: no imports found" >&2; status=1; continue; }
    echo "$imports" | {
        bad=0
        while read -r dll function; do
            if ! printf '%s\n' "$allowed_set" | grep -qxF "$dll $function"; then
                echo "$program: imports $dll $function, which is not on the Windows 98 list" >&2
                bad=1
            fi
        done
        exit $bad
    } || status=1
    echo "$program: $(echo "$imports" | wc -l) imports checked"
done
exit $status
