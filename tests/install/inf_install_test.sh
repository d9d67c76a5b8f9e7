#!/bin/sh
# The release's INF, copied off the floppy image, under Wine reporting Windows 98: installed as the
# shell's Install does it, then uninstalled by the command it registered in Add/Remove Programs;
# the files and the registry are checked after each.
# Arguments: the source folder, the test build folder (with wine-run).
root=$1
build=$2
. "$(dirname "$0")/check.sh"
c="${MMK_WINEPREFIX:-$build/wineprefix}/drive_c"
windows=$(cd "$c" && ls -d [Ww][Ii][Nn][Dd][Oo][Ww][Ss])
run="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
entry="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MMKeyboard"
settings="HKCU\\Software\\Zerith\\Multimedia Keyboard"
# The REG_SZ data of a value, or nothing.
value() { "$build/wine-run" reg query "$1" /v "$2" 2>/dev/null | sed -n "s/^ *$2 *REG_SZ *//p" | tr -d '\r'; }
equals() { [ "$1" = "$2" ]; }
missing() { ! "$build/wine-run" reg query "$1"; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$root/tools/package" "$out" >/dev/null || exit 1
floppy=$out/floppy
mkdir "$floppy"
MTOOLS_SKIP_CHECK=1 mcopy -n -m -i "$out/MMKeyboard.img" '::/*' "$floppy/" || exit 1
"$build/wine-run" reg delete "$entry" /f >/dev/null 2>&1
"$build/wine-run" reg add "$settings" /v WWWSearch /d "http://kept.example/" /f >/dev/null
# The example key sets, merged as a double click on them does.
for reg in paint-zoom mail-new-message player-keys-to-winamp zoom-and-eject; do
    "$build/wine-run" regedit /s "Z:$(echo "$floppy/$reg.reg" | tr / '\\')"
done
check "the examples' key sets merge" equals "$(value "$settings\\Programs\\MSPAINT.EXE" VolumeUp)$(value \
    "$settings\\Keys" Mail)$(value "$settings\\Keys" 0x00B8)" \
    'keys Ctrl+PageDown''start "C:\Program Files\Outlook Express\msimn.exe" /mailurl:mailto:''start cdplayer.exe'
check "the player keys' example merges" equals "$(value "$settings\\Keys" PlayPause)" 'command Winamp v1.x, 40046'

inf="Z:$(echo "$floppy" | tr / '\\')\\MMKeyboard.inf"
"$build/wine-run" rundll32 setupapi.dll,InstallHinfSection DefaultInstall 132 "$inf"
program="$c/Program Files/MMKeyboard/MMKeyboard.exe"
check "the program is copied to Program Files" cmp "$floppy/MMKeyboard.exe" "$program"
check "the INF is kept for uninstalling" cmp "$floppy/MMKeyboard.inf" "$c/$windows/inf/MMKeyboard.inf"
check "the Run value starts the program at logon" \
    equals "$(value "$run" MMKeyboard)" '"C:\Program Files\MMKeyboard\MMKeyboard.exe"'
check "Add/Remove Programs lists it" equals "$(value "$entry" DisplayName)" "Multimedia Keyboard"
uninstall=$(value "$entry" UninstallString)

"$build/wine-run" cmd /c "$uninstall"
check "uninstalling removes the program" test ! -e "$program"
check "uninstalling removes the INF" test ! -e "$c/$windows/inf/MMKeyboard.inf"
check "uninstalling removes the Run value" equals "$(value "$run" MMKeyboard)" ""
check "uninstalling removes the Add/Remove Programs entry" missing "$entry"
check "the user's settings and key sets stay" equals "$(value "$settings" WWWSearch)$(value "$settings\\Keys" Mail)" \
    'http://kept.example/start "C:\Program Files\Outlook Express\msimn.exe" /mailurl:mailto:'
"$build/wine-run" reg delete "HKCU\\Software\\Zerith" /f >/dev/null 2>&1
exit $((failures > 0))
