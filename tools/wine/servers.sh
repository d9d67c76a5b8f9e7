# Sourced by wine-run: the display (Xvfb, when no DISPLAY is set) and the
# sound server (a private PulseAudio with a null sink, for Wine's mixer) that
# a build folder's programs share. Each is started once, by whichever
# wine-run comes first, and ended by --end; the process ids are kept in
# $state, the sound server's socket in $pulse.

# Whether the recorded process of NAME (xvfb, pulse) runs. Its process id
# may belong to another process by now: ids wrap at 32768 on many systems,
# and a test run makes thousands of threads. So the command is checked too,
# or a stale id would keep the display from starting and have --end kill a
# stranger.
runs() {
    case $1 in xvfb) expected=Xvfb ;; pulse) expected=pulseaudio ;; esac
    [ -s "$state/$1.pid" ] && [ "$(cat "/proc/$(cat "$state/$1.pid")/comm" 2>/dev/null)" = "$expected" ]
}

# The display and sound server this build folder runs, as process ids.
running_services() {
    for name in xvfb pulse; do
        runs "$name" && cat "$state/$name.pid"
    done
    return 0
}

# What runs for this build folder, said when a program failed without a word.
services_state() {
    for name in xvfb pulse; do
        runs "$name" && echo "wine-run: $name runs (process $(cat "$state/$name.pid"))" ||
            echo "wine-run: $name does not run"
    done
    # A wineserver works in a folder named after its prefix's device and inode.
    server="server-$(printf '%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))"
    for pid in $(pgrep -x 'wineserver(32|64)?'); do
        case "$(readlink "/proc/$pid/cwd")" in
        */"$server") echo "wine-run: the prefix's wineserver runs (process $pid)" && return 0 ;;
        esac
    done
    echo "wine-run: no wineserver runs for the prefix"
}

# start_once NAME READY START: unless NAME runs, calls START, which starts
# the server in the background with its output to $state/NAME.log, records
# it and waits up to 30 s until READY succeeds. Under NAME's lock, so that of
# two calls at once one starts it and the other waits for it. Says why, and
# fails, when the server ended or did not get ready in time.
start_once() {
    exec 8>"$state/$1.lock"
    flock 8
    start_status=0
    if ! runs "$1"; then
        $3 8>&- </dev/null >"$state/$1.log" 2>&1
        echo $! >"$state/$1.pid"
        # Just started, it is known by its id alone: for a moment its command
        # is still the shell's that started it.
        n=0
        until $2; do
            if ! kill -0 $! 2>/dev/null || [ $n -ge 300 ]; then
                kill -0 $! 2>/dev/null && echo "wine-run: $1 did not get ready within 30 s" >&2 ||
                    echo "wine-run: $1 ended as it started, saying:" >&2
                tail -n 5 "$state/$1.log" >&2
                start_status=1
                break
            fi
            sleep 0.1
            n=$((n + 1))
        done
    fi
    flock -u 8
    exec 8>&-
    return $start_status
}

display_ready() { [ -s "$state/xvfb.display" ]; }
start_display() {
    rm -f "$state/xvfb.display"
    Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$state/xvfb.display" &
}

# The socket appears once the sound server takes clients: it is the last
# module loaded, so the sink that Wine's mixer needs is there before it.
sound_ready() { [ -S "$pulse/native" ]; }
start_sound() {
    mkdir -p "$pulse"
    rm -f "$pulse/native"
    XDG_RUNTIME_DIR="$pulse" HOME="$pulse" pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
        -L module-null-sink -L "module-native-protocol-unix socket=$pulse/native auth-anonymous=1" &
}

# Ends the prefix's wineserver with every program in it, then the display
# and sound server, except those whose process ids the list $1 holds.
end_services() {
    spare=" $(echo $1) "
    "$WINESERVER" -k 2>/dev/null && "$WINESERVER" -w 2>/dev/null
    for pid in $(running_services); do
        case "$spare" in *" $pid "*) continue ;; esac
        kill "$pid" 2>/dev/null || true
        n=0
        while kill -0 "$pid" 2>/dev/null && [ $n -lt 50 ]; do sleep 0.1; n=$((n + 1)); done
    done
    for name in xvfb pulse; do runs "$name" || rm -f "$state/$name.pid"; done
    runs pulse || rm -rf "$pulse"
}
