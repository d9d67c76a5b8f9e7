# Sourced by the scripts that run programs under Wine (tools/build, test,
# run, screenshot, bench/run). A wine-run call leaves a wineserver, and the
# first one a display and a sound server, running for the calls after it;
# the script ends them, however it ends (done, failed, Ctrl+C), except the
# display and sound server that were running before it started: those are
# someone else's.
#
#   ends_what_it_starts WINE-RUN [PREFIX...]
#
# Call it before the script's first wine-run, or a Ctrl+C during that first
# start leaves everything it started behind. PREFIX: other Wine prefixes the
# script runs programs in, whose servers end too.
ends_what_it_starts() {
    services_wine_run=$1
    shift
    services_prefixes="$*"
    services_before=$("$services_wine_run" --services)
    trap end_what_it_started EXIT
    trap 'exit 130' INT TERM
}

end_what_it_started() {
    for services_prefix in $services_prefixes; do
        MMK_WINEPREFIX="$services_prefix" "$services_wine_run" --end "$("$services_wine_run" --services)"
    done
    MMK_WINEPREFIX= "$services_wine_run" --end "$services_before"
}
