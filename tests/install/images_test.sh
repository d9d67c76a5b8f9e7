#!/bin/sh
# The release's floppy image, CD image and zip, read back with the tools that made them: each
# holds every file of the release folder, byte for byte, under its long name, and the 8.3 names
# beside the long ones are distinct and DOS's; the text files end their lines in CR LF. The output
# folder is given relative, as a user types it; packaged again into an absolute one, the images
# are the same byte for byte. Argument: the source folder.
. "$(dirname "$0")/check.sh"
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
if ! (cd "$work" && "$1/tools/package" release >/dev/null); then
    echo "FAILED: tools/package made the release in a folder given relative"
    exit 1
fi
out=$work/release
export LC_ALL=C MTOOLS_SKIP_CHECK=1
folder=$out/MMKeyboard img=$out/MMKeyboard.img iso=$out/MMKeyboard.iso zip=$out/MMKeyboard.zip
files=$(cd "$folder" && ls)
# holds LIST EXTRACT: LIST prints the folder's names, EXTRACT NAME each file.
holds() {
    [ "$($1 | sort)" = "$files" ] || return 1
    for file in $files; do $2 "$file" | cmp -s - "$folder/$file" || return 1; done
}
# short_names_fit NAMES: one 8.3 name a line per file, distinct (a name
# that is not 8.3 or comes twice leaves a type short), each keeping its type.
short_names_fit() {
    [ "$(echo "$1" | grep -E '^[A-Z0-9_~-]{1,8}\.[A-Z0-9_]{1,3}$' | sort -u | sed 's/.*\.//' | sort)" = \
        "$(echo "$files" | sed 's/.*\.//' | tr a-z A-Z | sort)" ]
}
has_line() { echo "$1" | grep -qx "$2"; }
# crlf EXTRACT: every line of each text file, as read back, ends in CR LF: Windows 98's Notepad
# shows a file of LF ends as one line.
crlf() {
    for file in README.txt MMKeyboard.inf $(echo "$files" | grep '\.reg$'); do
        $1 "$file" | awk '!/\r$/ { lf = 1 } END { exit lf }' || return 1
    done
}
floppy_list() { mdir -i "$img" -b :: | sed 's|^::/||'; }
floppy_file() { mcopy -n -i "$img" "::/$1" -; }
listing=$(mdir -i "$img" ::)
check "the floppy image holds the release folder" holds floppy_list floppy_file
check "the floppy's label is MMKEYBOARD" has_line "$listing" ' Volume in drive : is MMKEYBOARD *'
check "the floppy image is a 1.44 MB floppy with at least 1 MB free" test "$(wc -c <"$img")" -eq 1474560 -a \
    "$(echo "$listing" | sed -n 's/ bytes free//p' | tr -d ' ')" -ge 1048576
check "the floppy's 8.3 names fit" short_names_fit \
    "$(echo "$listing" | awk '$4 ~ /^[0-9]+-[0-9]+-[0-9]+$/ { print toupper($1 "." $2) }')"
check "the floppy's text files end their lines in CR LF" crlf floppy_file
cd_list() { isoinfo -i "$iso" -J -f | sed 's|^/||'; }
cd_file() { isoinfo -i "$iso" -J -x "/$1"; }
check "the CD image holds the release folder under its Joliet names" holds cd_list cd_file
check "the CD's label is MMKEYBOARD" has_line "$(isoinfo -d -i "$iso")" 'Volume id: MMKEYBOARD'
check "the CD's 8.3 names fit" short_names_fit "$(isoinfo -i "$iso" -f | sed 's|^/||; s|;1$||')"
check "the CD's text files end their lines in CR LF" crlf cd_file
zip_list() { unzip -Z1 "$zip"; }
zip_file() { unzip -p "$zip" "$1"; }
check "the zip holds the release folder" holds zip_list zip_file
check "the zip's text files end their lines in CR LF" crlf zip_file
same_images() {
    "$1/tools/package" "$work/again" >/dev/null &&
        for image in MMKeyboard.img MMKeyboard.iso MMKeyboard.zip; do cmp "$out/$image" "$work/again/$image" || return 1; done
}
check "packaged again, into an absolute folder, the images are the same" same_images "$1"
exit $((failures > 0))
