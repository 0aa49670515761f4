#!/usr/bin/env bash
# Runs a command on a private virtual X server, optionally managed by the
# openbox window manager, and always takes both down afterwards.
#
#   with_xvfb.sh [--wm] command [argument...]
#
# The command sees DISPLAY set to the private server; its exit status is the
# script's. The server picks a free display number itself (-displayfd).
set -u

use_wm=0
if [ "${1:-}" = "--wm" ]; then
  use_wm=1
  shift
fi
if [ $# -eq 0 ]; then
  echo "usage: $0 [--wm] command [argument...]" >&2
  exit 2
fi

work=$(mktemp -d) || exit 2
xvfb_pid=""
wm_pid=""

cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$wm_pid" ] && wait "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# Polls a condition for up to `limit` times 50 ms.
wait_for_tries() {
  local limit=$1 tries=0
  shift
  until "$@"; do
    tries=$((tries + 1))
    [ "$tries" -ge "$limit" ] && return 1
    sleep 0.05
  done
}

# Polls a condition for up to ten seconds.
wait_for() { wait_for_tries 200 "$@"; }

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" \
  >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!

display_ready() { grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null; }
if ! wait_for display_ready; then
  echo "$0: Xvfb did not start" >&2
  cat "$work/xvfb.log" >&2
  exit 2
fi
export DISPLAY=":$(head -n 1 "$work/display")"

if [ "$use_wm" -eq 1 ]; then
  # openbox keeps its session files under the user's folders; give it its own.
  HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  # The check window comes first; the client list once openbox has taken on
  # the windows already there.
  wm_started() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' &&
      xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q '(WINDOW)'
  }
  if ! wait_for wm_started; then
    echo "$0: openbox did not start" >&2
    cat "$work/openbox.log" >&2
    exit 2
  fi

  # openbox sets both properties before it handles new windows, and a
  # window mapped that early may never be managed. It is ready once a probe
  # window shows up in its client list; a probe it missed is replaced by a
  # new one after a second.
  probe_title="with_xvfb.sh probe $$"
  probe_id=""
  probe_found() {
    local id
    id=$(xdotool search --name "^${probe_title}\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && probe_id=$(printf '0x%x' "$id")
  }
  probe_listed() {
    xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -qw -- "$probe_id"
  }
  probe_gone() { ! probe_listed; }
  probe_managed() {
    local status=1
    xmessage -title "$probe_title" probe >"$work/probe.log" 2>&1 &
    local probe_pid=$!
    probe_id=""
    wait_for probe_found && wait_for_tries 20 probe_listed && status=0
    kill "$probe_pid" 2>/dev/null
    wait "$probe_pid" 2>/dev/null
    return "$status"
  }
  attempts=0
  until probe_managed; do
    attempts=$((attempts + 1))
    if [ "$attempts" -ge 10 ]; then
      echo "$0: openbox does not manage new windows" >&2
      cat "$work/openbox.log" "$work/probe.log" >&2
      exit 2
    fi
  done
  # The command starts with no window of ours left on the desktop.
  if ! wait_for probe_gone; then
    echo "$0: openbox kept the probe window" >&2
    exit 2
  fi
fi

"$@"
status=$?
exit "$status"
