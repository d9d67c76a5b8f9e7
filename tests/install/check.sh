# check DESCRIPTION COMMAND... prints ok or FAILED and counts failures; a test ends: exit $((failures > 0))
failures=0
check() {
    what=$1; shift
    if "$@" >/dev/null 2>&1; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
