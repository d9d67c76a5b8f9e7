# Sourced by wine-run: the build folder's Wine prefix, made on first use and
# reporting Windows 98, and the wineserver its programs share.

# Runs a Wine program of the prefix's set-up, quietly; says so and fails when
# it fails.
setup_step() {
    if ! "$WINELOADER" "$@" 7>&- </dev/null >"$state/prefix.log" 2>&1; then
        echo "wine-run: making the Wine prefix ready failed at: $*" >&2
        tail -n 5 "$state/prefix.log" >&2
        return 1
    fi
}

# The settings a new prefix gets; the marker says that it has them.
make_prefix() {
    [ -f "$WINEPREFIX/.mmk-ready-3" ] && return 0
    # Creating the prefix ends with errors of components it cannot set up
    # here (Mono, Gecko), which do not matter: what matters is that a
    # program then runs.
    "$WINELOADER" wineboot -i 7>&- </dev/null >"$state/prefix.log" 2>&1 || true
    setup_step reg add 'HKCU\Software\Wine' /v Version /d win98 /f || return 1
    # Xvfb has no window manager, and Wine waits up to 2 s for one to confirm
    # every hide of a managed window (the dialog, the notification area's own
    # window when its last icon goes, hence every program exit that removes
    # an icon). Windows that Wine manages itself are hidden at once.
    setup_step reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f || return 1
    # The dialogs ask for "新細明體" (PMingLiU), and a Traditional Chinese
    # system draws its menus and captions in it too; the Simplified Chinese
    # dialogs ask for "宋体" (SimSun). Wine has none of these: a font with
    # Latin and both kinds of Chinese glyphs stands in, rather than whichever
    # Chinese font Wine's fallback would find first.
    for font in '新細明體' PMingLiU MingLiU '細明體' '宋体' SimSun; do
        setup_step reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /d 'WenQuanYi Micro Hei' /f ||
            return 1
    done
    # Debian's Wine does not find its own Marlett, so caption buttons show
    # letters ("r" for the close box); the prefix's font folder is searched.
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    touch "$WINEPREFIX/.mmk-ready-3"
}

# A persistent server that lingers a minute after its last client, so a
# whole ctest run shares it and it goes away by itself afterwards. Started
# before anything else runs in the prefix, the making of a new one included:
# a server that a program starts by itself lingers 3 s only, and a program
# that connects as it exits fails to start.
start_server() {
    mkdir -p "$WINEPREFIX"
    if "$WINESERVER" -p60 7>&- </dev/null >/dev/null 2>&1; then
        "$WINELOADER" wineboot 7>&- </dev/null >/dev/null 2>&1 || true
    fi
}

# The prefix made and its server started, under the prefix's lock.
ready_prefix() {
    exec 7>"$state/prefix.lock"
    flock 7
    prefix_status=0
    start_server
    make_prefix || prefix_status=1
    flock -u 7
    exec 7>&-
    return $prefix_status
}
