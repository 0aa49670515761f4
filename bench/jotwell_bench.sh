#!/bin/bash
# Appending a time stamp to a record's notes with jotwell: notes documents of
# 1, 10 (and 20) MB, years of notes, as RTF with a heading, a picture behind
# the text and many stamped paragraphs. Each size is stamped RUNS times
# (the document grows a little each time); wall time and peak memory
# (maximum resident set size) of each run from /usr/bin/time, best and
# median printed. xdg-open is a stand-in that returns at once, so the time
# is jotwell's own: read, check, append, write, sync, rename.
#
# Usage: bench/jotwell_bench.sh [-b JOTWELL] [-s SIZES] [-r RUNS] [-k]
#   -b JOTWELL  the jotwell binary (default: build-jotwell/bin/jotwell)
#   -s SIZES    comma-separated sizes in MB (default 1,10,20)
#   -r RUNS     runs per size (default 7)
#   -k          keep the temporary folder and name it
# Not part of the test suite. Takes under a minute.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
jotwell="$repo/build-jotwell/bin/jotwell"
sizes="1,10,20"
runs=7
keep=0
while getopts "b:s:r:kh" opt; do
    case $opt in
    b) jotwell=$OPTARG ;;
    s) sizes=$OPTARG ;;
    r) runs=$OPTARG ;;
    k) keep=1 ;;
    h) sed -n '2,16p' "$0"; exit 0 ;;
    *) sed -n '2,16p' "$0" >&2; exit 2 ;;
    esac
done
[ -x "$jotwell" ] || { echo "no jotwell at $jotwell (build it, or give -b)" >&2; exit 2; }

work=$(mktemp -d /tmp/jotwell-bench-XXXXXX)
if [ $keep = 1 ]; then echo "folder: $work"; else trap 'rm -rf "$work"' EXIT; fi
mkdir -p "$work/c/ZLT/NOTES" "$work/bin"
printf '#!/bin/sh\nexit 0\n' > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
run() {
    env -i PATH="$work/bin" HOME="$work" ZLT_DRIVES="C=$work/c" "$jotwell" "$1" >/dev/null
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-6s %-10s %-12s %-12s %-14s %-14s\n' "size" "file MB" "best s" "median s" "best peak MB" "median peak MB"
IFS=, read -r -a list <<< "$sizes"
for mb in "${list[@]}"; do
    name="CS$(printf '%06d' "$mb").DOC"
    # A new document from jotwell itself, then notes typed under stamps until it is big enough.
    run "C:\\ZLT\\NOTES\\,$name,Bench Customer"
    /usr/bin/python3 - "$work/c/ZLT/NOTES/$name" "$mb" <<'PY'
import sys
path, mb = sys.argv[1], int(sys.argv[2])
doc = open(path, "rb").read()
body = doc[:doc.rindex(b"}")]
note = (b"{\\pard\\plain\\uc1\\ql\\f0\\fs20\\b 01/02/03 10:11:12\\b0\\par\r\n"
        b"Called about the lay-by; paid {\\b 50.00} in cash, balance due on the 15th. Caf\\'e9 \\{ok\\}\\par\r\n}")
parts = [body]
size = len(body)
while size < mb * 1000 * 1000:
    parts.append(note)
    size += len(note)
open(path, "wb").write(b"".join(parts) + b"}")
PY
    file_mb=$(awk -v b="$(stat -c %s "$work/c/ZLT/NOTES/$name")" 'BEGIN { printf "%.2f", b / 1e6 }')
    before=$(stat -c %s "$work/c/ZLT/NOTES/$name")
    : > "$work/times"
    for _ in $(seq "$runs"); do
        /usr/bin/time -f "%e %M" -a -o "$work/times" env -i PATH="$work/bin" HOME="$work" ZLT_DRIVES="C=$work/c" \
            "$jotwell" "C:\\ZLT\\NOTES\\,$name,Bench Customer" >/dev/null
    done
    sort -n -k1 "$work/times" | awk -v mb="$mb" -v f="$file_mb" -v n="$runs" '
        { t[NR] = $1; m[NR] = $2 }
        END {
            # peaks sorted on their own for the median
            for (i = 1; i <= n; i++) p[i] = m[i]
            for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (p[j] < p[i]) { x = p[i]; p[i] = p[j]; p[j] = x }
            printf "%-6s %-10s %-12s %-12s %-14.1f %-14.1f\n", mb " MB", f, t[1], t[int((n + 1) / 2)], p[1] / 1024, p[int((n + 1) / 2)] / 1024
        }'
    # Each run adds a stamp paragraph of some 60 bytes.
    after=$(stat -c %s "$work/c/ZLT/NOTES/$name")
    [ $((after - before)) -ge $((runs * 40)) ] || { echo "stamps missing in $name" >&2; exit 1; }
done
