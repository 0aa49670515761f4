#!/usr/bin/env bash
# Opening a report as a user does: the real repview viewer on Xvfb managed by
# openbox, Ctrl+O, the path typed into the real file dialog, Enter; OPENS
# times in the one session (a user opens one report after another). Watched
# from outside with strace, through seccomp and only for the calls named
# below, so the file's reads and the event loop run untraced. Each open's
# time runs from the Enter key (sent by xdotool) until the viewer's last
# drawing request after it closed the report, the last one before the
# window goes quiet for 0.3 s. Also printed: Enter until the report is
# opened (the dialog's way out) and the load itself (open to close). Peak
# memory is the viewer's VmHWM after each open.
#   bench/viewer_dialog_user.sh BUILD_DIR REPORT [SESSIONS [OPENS]]
set -euo pipefail

if [ "${1:-}" = --inner ]; then
    repview=$2 report=$3 work=$4 opens=$5
    export QT_QPA_PLATFORM=xcb REPVIEW_PRINTER="${VIEWER_PRINTER-pdf:$work/pdf}"
    mkdir -p "$work/pdf"
    strace -f -ttt --seccomp-bpf -e trace=openat,close,writev,sendmsg -o "$work/trace" \
        "$repview" > "$work/repview.out" 2>&1 & tracer=$!
    window_shows() { xdotool search --name '^DOS to Windows printing$' > /dev/null 2>&1; }
    dialog_shows() { xdotool search --name '^Open ZELTO Report\.\.\.$' > /dev/null 2>&1; }
    wait_until() { local i; for i in $(seq 400); do "$@" && return 0; sleep 0.05; done; return 1; }
    # The first open of the report after the Enter key, and its close.
    load_of() { awk -v f="$report" -v p="$pid" -v enter="$1" '
        $1 != p || $2 < enter { next }
        !fd && index($0, "openat(") && index($0, "\"" f "\"") { split($0, a, "= "); fd = a[2] + 0; opened = $2 }
        fd && $3 == "close(" fd ")" { print opened, $2; exit }' "$work/trace"; }
    loaded() { [ -n "$(load_of "$1")" ]; }
    wait_until window_shows
    sleep 1  # mapped, exposed and painted, as a user's window is
    pid=$(pgrep -P "$tracer" -x repview)
    results=()
    for open in $(seq "$opens"); do
        xdotool key ctrl+o
        wait_until dialog_shows
        sleep 1  # the dialog has listed its folder
        xdotool key ctrl+a
        xdotool type --delay 5 "$report"
        sleep 1  # the completer has settled
        enter=$(date +%s.%N)
        xdotool key Return
        wait_until loaded "$enter" || { echo "the report was not loaded" >&2; kill "$pid"; exit 1; }
        sleep 1.5  # gone quiet
        hwm=$(sed -nE 's/^VmHWM:\s+([0-9]+) kB/\1/p' "/proc/$pid/status")
        results+=("$open $enter $(load_of "$enter") $hwm")
    done
    kill "$pid"
    wait "$tracer" || true
    for result in "${results[@]}"; do
        read -r open enter opened closed hwm <<< "$result"
        awk -v p="$pid" -v open="$open" -v enter="$enter" -v opened="$opened" -v closed="$closed" -v hwm="$hwm" '
            BEGIN { last = closed }
            $1 != p || $2 <= closed { next }
            index($0, "writev(") || index($0, "sendmsg(") { if ($2 - last > 0.3) exit; last = $2 }
            END { printf "open=%d enter_to_open_s=%.3f load_s=%.3f enter_to_shown_s=%.3f peak_MB=%.1f\n",
                         open, opened - enter, closed - opened, last - enter, hwm / 1024 }' "$work/trace"
    done
    exit 0
fi

usage="usage: viewer_dialog_user.sh BUILD_DIR REPORT [SESSIONS [OPENS]]"
build=$(realpath "${1:?$usage}")
report=$(realpath "${2:?$usage}")
sessions=${3:-3}
opens=${4:-1}
here=$(cd "$(dirname "$0")" && pwd)
for session in $(seq "$sessions"); do
    work=$(mktemp -d)
    echo "session $session"
    "$here/../tests/support/with_xvfb.sh" --wm "$here/viewer_dialog_user.sh" --inner \
        "$build/bin/repview" "$report" "$work" "$opens"
    [ -n "${KEEP:-}" ] && echo "kept $work" || rm -rf "$work"
done
