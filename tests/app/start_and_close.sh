#!/usr/bin/env bash
# Starts the real program on a virtual X server, finds its window by the
# caption, closes it as a user would and expects a clean end.
#   start_and_close.sh AMBRELL CLOSE_WINDOW
set -euo pipefail
program=$1 close_window=$2

exec xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -uo pipefail
    program=$1 close_window=$2
    "$program" & pid=$!
    window=$(timeout 30 xdotool search --sync --name "^Kelvor - Ambrell\$" | head -n 1)
    if [[ -z "$window" ]]; then
        echo "no window captioned \"Kelvor - Ambrell\" appeared"
        kill "$pid" 2>/dev/null
        exit 1
    fi
    echo "found window $window"
    "$close_window" "$window"
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "the program did not end after its window was closed"
        kill -9 "$pid"
        exit 1
    fi
    wait "$pid"; status=$?
    echo "the program ended with status $status"
    exit "$status"
' start_and_close "$program" "$close_window"
