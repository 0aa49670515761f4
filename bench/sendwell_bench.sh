#!/bin/bash
# Sendwell's benchmark: a queue of 10 mail files x 100 messages of about
# 20 KB to a local SMTP server (aiosmtpd, keeping nothing), against libcurl
# alone sending the message sendwell sent last as many times over one
# connection (bench/smtp_send_loop: the limit), best of two runs each, their
# ratio printed; beside them one Python smtplib connection sending as many
# like messages and msmtp started once per message (the usual Linux way);
# then one 5 MB message that goes in ten parts, for peak memory.
#
# Usage: bench/sendwell_bench.sh [-b SENDWELL] [-l LOOP] [-f FILES] [-m MESSAGES] [-n MSMTP_MESSAGES] [-d FOLDER] [-s]
#   -b SENDWELL  the binary (default: build-sendwell/bin/sendwell)
#   -l LOOP      the libcurl loop (default: smtp_send_loop beside SENDWELL)
#   -f, -m       files and messages a file (default 10 and 100)
#   -n           messages msmtp sends (default 200; its rate does not depend on the count)
#   -d FOLDER    where the host tree goes (default: $TMPDIR or /tmp). Sendwell
#                syncs its record of sent messages once a message, so the
#                disk's sync time is part of its rate: try /dev/shm to see
#                the rate without it.
#   -s           one more run of each under strace -c -f: system calls a message
# Not part of the test suite. Other work on the machine skews the times: the
# load average is printed.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
sendwell=$repo/build-sendwell/bin/sendwell loop= files=10 messages=100 msmtp=200 folder=${TMPDIR:-/tmp} strace=0
while getopts "b:l:f:m:n:d:s" option; do
  case $option in
    b) sendwell=$(realpath "$OPTARG") ;; l) loop=$(realpath "$OPTARG") ;; f) files=$OPTARG ;; m) messages=$OPTARG ;;
    n) msmtp=$OPTARG ;; d) folder=$OPTARG ;; s) strace=1 ;;
    *) sed -n '2,23p' "$0"; exit 2 ;;
  esac
done
loop=${loop:-$(dirname "$sendwell")/smtp_send_loop}
[ -x "$sendwell" ] || { echo "no sendwell binary at $sendwell" >&2; exit 2; }
[ -x "$loop" ] || { echo "no libcurl loop at $loop (bench/smtp_send_loop.cpp)" >&2; exit 2; }
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
exec /usr/bin/python3 "$repo/bench/sendwell_bench.py" "$sendwell" "$loop" "$files" "$messages" "$msmtp" "$folder" "$strace"
