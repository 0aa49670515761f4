#!/bin/bash
# DOS path resolution: repview given the longest argument Linux passes
# (128 KB), against the same report through its short path in the same run.
#   missing - C:\ZLT\NO\NO\...\RPT: every name below ZLT is missing
#   climbing - C:\ZLT\NO\..\NO\..\...\RPT: each missing name is climbed out
#              of again, so the report is found and printed
# Usage: [KB=128] bench/host_path_bench.sh [-b REPVIEW] [-r RUNS]  (default build/bin/repview, 5 runs;
# KB: a shorter argument, to see the time grow with the length)
# Prints the median wall time of each and its ratio to the short path.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
repview=$repo/build/bin/repview
runs=5
while getopts b:r: option; do
  case $option in b) repview=$OPTARG ;; r) runs=$OPTARG ;; *) exit 2 ;; esac
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/c/ZLT" "$work/pdf"
printf 'Stock report\r\n' > "$work/c/ZLT/RPT"
limit=$((${KB:-128} * 1024 - 16))
repeat() { local part=$1 out=""; while [ $((${#out} + ${#part})) -lt "$limit" ]; do out+=$part; done; printf '%s' "$out"; }
declare -A paths=([short]='C:\ZLT\RPT' [missing]="C:\\ZLT\\$(repeat 'NO\')RPT" [climbing]="C:\\ZLT\\$(repeat 'NO\..\')RPT")
median() { sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'; }
declare -A seconds
for name in short missing climbing; do
  seconds[$name]=$(for run in $(seq "$runs"); do
    start=$(date +%s.%N)
    ZLT_DRIVES="C=$work/c" REPVIEW_PRINTER="pdf:$work/pdf" "$repview" "${paths[$name]}" 2>/dev/null || true
    echo "$(date +%s.%N) - $start" | bc
  done | median)
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for name in short missing climbing; do
  printf '%-9s %7d bytes  %.3f s  %6.1f x short\n' "$name" "${#paths[$name]}" "${seconds[$name]}" \
    "$(echo "${seconds[$name]} / ${seconds[short]}" | bc -l)"
done
