#!/usr/bin/env bash
# Runs a command on a private virtual X server, optionally managed by the
# openbox window manager, and always takes both down afterwards.
#   with_xvfb.sh [--wm] command [argument...]
# The command sees DISPLAY set to the private server; its exit status is the
# script's. The server picks a free display number itself (-displayfd).
set -u
use_wm=0
[ "${1:-}" = "--wm" ] && use_wm=1 && shift
[ $# -eq 0 ] && echo "usage: $0 [--wm] command [argument...]" >&2 && exit 2

work=$(mktemp -d) || exit 2
xvfb_pid="" wm_pid=""
cleanup() {
  for pid in $wm_pid $xvfb_pid; do kill "$pid" 2>/dev/null; done
  for pid in $wm_pid $xvfb_pid; do wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
for signal in HUP:129 INT:130 TERM:143; do trap "exit ${signal#*:}" "${signal%:*}"; done
fail() { echo "$0: $1" >&2; shift; [ $# -eq 0 ] || cat "$@" >&2; exit 2; }
# Polls a condition every 50 ms, up to `limit` times.
wait_for_tries() {
  local tries=$1
  shift
  until "$@"; do
    tries=$((tries - 1)) && [ "$tries" -le 0 ] && return 1
    sleep 0.05
  done
}
wait_for() { wait_for_tries 200 "$@"; }  # ten seconds

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 & xvfb_pid=$!
display_ready() { grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null; }
wait_for display_ready || fail "Xvfb did not start" "$work/xvfb.log"
export DISPLAY=":$(head -n 1 "$work/display")"

if [ "$use_wm" -eq 1 ]; then
  # openbox keeps its session files under the user's folders; give it its own.
  HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
    openbox --sm-disable >"$work/openbox.log" 2>&1 & wm_pid=$!
  wm_started() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' &&
    xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q '(WINDOW)'; }
  wait_for wm_started || fail "openbox did not start" "$work/openbox.log"

  # openbox sets both properties before it handles new windows, and a window
  # mapped that early may never be managed. It is ready once a probe window
  # shows up in its client list; a probe it missed is replaced after a second.
  probe_title="with_xvfb.sh probe $$"
  probe_found() {
    probe_id=$(xdotool search --name "^${probe_title}\$" 2>/dev/null | head -n 1)
    [ -n "$probe_id" ] && probe_id=$(printf '0x%x' "$probe_id")
  }
  probe_listed() { xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -qw -- "$probe_id"; }
  probe_gone() { ! probe_listed; }
  probe_managed() {
    xmessage -title "$probe_title" probe >"$work/probe.log" 2>&1 & local probe_pid=$! status=1
    wait_for probe_found && wait_for_tries 20 probe_listed && status=0
    kill "$probe_pid" 2>/dev/null
    wait "$probe_pid" 2>/dev/null
    return "$status"
  }
  for attempt in 1 2 3 4 5 6 7 8 9 10 fail; do
    [ "$attempt" = fail ] && fail "openbox does not manage new windows" "$work/openbox.log" "$work/probe.log"
    probe_managed && break
  done
  # The command starts with no window of ours left on the desktop.
  wait_for probe_gone || fail "openbox kept the probe window"
fi

"$@"
exit $?
