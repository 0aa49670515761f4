#!/bin/bash
# Sendwell's benchmark: a queue of 10 mail files x 100 messages of about
# 20 KB to a local SMTP server (aiosmtpd, keeping nothing), against one
# Python smtplib connection sending as many like messages (the server-bound
# limit) and msmtp started once per message (the usual Linux way), in one
# run; then one 5 MB message that goes in ten parts, for peak memory.
#
# Usage: bench/sendwell_bench.sh [-b SENDWELL] [-f FILES] [-m MESSAGES] [-n MSMTP_MESSAGES] [-d FOLDER]
#   -b SENDWELL  the binary (default: build-sendwell/bin/sendwell)
#   -f, -m       files and messages a file (default 10 and 100)
#   -n           messages msmtp sends (default 200; its rate does not depend on the count)
#   -d FOLDER    where the host tree goes (default: $TMPDIR or /tmp). Sendwell
#                syncs its record of sent messages once a message, so the
#                disk's sync time is part of its rate: try /dev/shm to see
#                the rate without it.
# Not part of the test suite. Other work on the machine skews the times: the
# load average is printed.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
sendwell=$repo/build-sendwell/bin/sendwell files=10 messages=100 msmtp=200 folder=${TMPDIR:-/tmp}
while getopts "b:f:m:n:d:" option; do
  case $option in
    b) sendwell=$(realpath "$OPTARG") ;; f) files=$OPTARG ;; m) messages=$OPTARG ;; n) msmtp=$OPTARG ;; d) folder=$OPTARG ;;
    *) sed -n '2,18p' "$0"; exit 2 ;;
  esac
done
[ -x "$sendwell" ] || { echo "no sendwell binary at $sendwell" >&2; exit 2; }
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
exec /usr/bin/python3 "$repo/bench/sendwell_bench.py" "$sendwell" "$files" "$messages" "$msmtp" "$folder"
