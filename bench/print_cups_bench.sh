#!/bin/bash
# Printing benchmark of repview to a CUPS printer: a generated host report
# printed to a private cupsd's raw queue (device file:///dev/null), against
# the floor and against enscript | lp, all in the same run:
#   floor   - the same repview writing the same report as PDF files
#             (REPVIEW_PRINTER=pdf:<folder>), plus a bare libcups loop
#             (bench/cups_submit_loop) submitting those very files as jobs
#             over one connection: what CUPS costs with nothing else to do;
#   enscript | lp - the usual Linux way to print a text file, on the same
#             text with the codes stripped, to the same queue.
# Wall time and peak memory (maximum resident set size) from /usr/bin/time
# -v; each contender's time ends when its last job is accepted, and the
# queue is left to drain before the next one starts. The number of
# connections repview opens to the server is counted in a separate run of
# the small report under strace.
#
# Layouts as in print_report_bench.sh: paged (a form feed every 60 lines, one
# job per page) and onejob (no form feed), each at the full size and a
# quarter of it (memory must not grow with the report).
#
# Usage: bench/print_cups_bench.sh [-B BUILD_DIR] [-s MB] [-l LAYOUTS] [-k]
#   -B BUILD_DIR  Release build holding bin/repview and bin/cups_submit_loop
#                 (default build-bench, built with cmake if missing)
#   -s MB         full report size in MB (default 20; the small one is MB/4)
#   -l LAYOUTS    comma-separated, from paged,onejob (default: both)
#   -k            keep the temporary folder
# Needs root (a private cupsd), cupsd, lpadmin, lp, enscript, strace.
# Not part of the test suite. Takes about 5 minutes on 2 cores at 20 MB.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$repo/build-bench
mb=20
layouts="paged,onejob"
keep=0
while getopts "B:s:l:kh" opt; do
    case $opt in
    B) build=$(cd "$OPTARG" && pwd) ;;
    s) mb=$OPTARG ;;
    l) layouts=$OPTARG ;;
    k) keep=1 ;;
    h) sed -n '2,29p' "$0"; exit 0 ;;
    *) sed -n '2,29p' "$0" >&2; exit 2 ;;
    esac
done

for tool in /usr/bin/time /usr/bin/python3 cupsd lpadmin lp lpstat enscript strace pdfinfo; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
[ "$(id -u)" = 0 ] || { echo "a private cupsd needs root" >&2; exit 1; }
repview=$build/bin/repview
loop=$build/bin/cups_submit_loop
if [ ! -x "$repview" ] || [ ! -x "$loop" ]; then
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
    cmake --build "$build" --target repview cups_submit_loop
fi

tmp=$(mktemp -d /tmp/repview-cups-bench.XXXXXX)
chmod 755 "$tmp"
cupsd_pid=""
finish() {
    [ -n "$cupsd_pid" ] && kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid" 2>/dev/null
    if [ "$keep" = 1 ]; then echo "kept: $tmp"; else rm -rf "$tmp"; fi
}
trap finish EXIT

# The private server: no job limit (a paged report is thousands of jobs), no
# spool files or history kept, logs in its own folder.
spool=$tmp/cups
mkdir -m 755 "$spool"
cat > "$spool/cupsd.conf" <<CONF
Listen $spool/cups.sock
MaxJobs 0
PreserveJobFiles No
PreserveJobHistory No
<Policy default>
<Limit All>
</Limit>
</Policy>
CONF
cat > "$spool/cups-files.conf" <<CONF
ServerRoot $spool
RequestRoot $spool
TempDir $spool
CacheDir $spool
StateDir $spool
ErrorLog $spool/error_log
AccessLog $spool/access_log
PageLog $spool/page_log
FileDevice Yes
Sandboxing relaxed
CONF
cupsd -f -c "$spool/cupsd.conf" -s "$spool/cups-files.conf" 2>/dev/null & cupsd_pid=$!
export CUPS_SERVER=$spool/cups.sock
for _ in $(seq 100); do [ -S "$CUPS_SERVER" ] && break; sleep 0.1; done
lpadmin -p bench -E -v file:///dev/null -m raw 2>/dev/null
export QT_QPA_PLATFORM=offscreen
unset DISPLAY WAYLAND_DISPLAY ZLT_CODEPAGE

. "$repo/bench/time_output.sh"
# Until the server has no unfinished job: the next contender starts on an
# idle server.
drain() {
    for _ in $(seq 6000); do
        [ -z "$(lpstat -o bench 2>/dev/null)" ] && return 0
        sleep 0.1
    done
    echo "the queue did not drain" >&2
    exit 1
}
# Jobs the server has taken since the last call.
jobs_taken() {
    local total
    total=$(grep -c '"POST /printers/bench HTTP/1.1" 200 [0-9]* Create-Job' "$spool/access_log" || true)
    echo $((total - ${last_total:-0}))
    last_total=$total
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2fx", a / b }'; }

rows=()
notes=()

run_layout() {
    local layout=$1 page_lines
    case $layout in
    paged) page_lines=60 ;;
    onejob) page_lines=0 ;;
    *) echo "unknown layout $layout" >&2; exit 2 ;;
    esac
    local dir=$tmp/$layout small
    small=$(/usr/bin/python3 -c "print($mb / 4)")
    mkdir -p "$dir"
    echo "== $layout: generating ${mb} MB and ${small} MB reports" >&2
    local info
    info=$(/usr/bin/python3 "$repo/bench/make_report.py" "$dir/full.txt" --mb "$mb" --seed 1 \
        --page-lines "$page_lines" --plain "$dir/plain.txt")
    /usr/bin/python3 "$repo/bench/make_report.py" "$dir/small.txt" --mb "$small" --seed 1 --page-lines "$page_lines" >/dev/null
    echo "   $info" >&2
    jobs_taken >/dev/null

    echo "== $layout: repview to the CUPS queue, ${mb} MB" >&2
    REPVIEW_PRINTER=bench /usr/bin/time -v -o "$dir/cups.time" "$repview" "$dir/full.txt"
    local cups_wall cups_rss cups_jobs
    read -r cups_wall cups_rss < <(measured "$dir/cups.time")
    drain
    cups_jobs=$(jobs_taken)

    echo "== $layout: repview to the CUPS queue, ${small} MB" >&2
    REPVIEW_PRINTER=bench /usr/bin/time -v -o "$dir/cups-small.time" "$repview" "$dir/small.txt"
    local small_wall small_rss
    read -r small_wall small_rss < <(measured "$dir/cups-small.time")
    drain
    jobs_taken >/dev/null

    echo "== $layout: floor, repview to PDF files, ${mb} MB" >&2
    mkdir "$dir/pdf"
    REPVIEW_PRINTER=pdf:$dir/pdf /usr/bin/time -v -o "$dir/pdf.time" "$repview" "$dir/full.txt"
    local pdf_wall pdf_rss pdf_files
    read -r pdf_wall pdf_rss < <(measured "$dir/pdf.time")
    pdf_files=$(find "$dir/pdf" -name '*.pdf' | wc -l)

    echo "== $layout: floor, libcups loop submitting the $pdf_files PDF files" >&2
    find "$dir/pdf" -name '*.pdf' | sort > "$dir/pdf.list"
    cat "$dir/pdf"/*.pdf > /dev/null  # read from the page cache, as repview's own output
    /usr/bin/time -v -o "$dir/loop.time" xargs -a "$dir/pdf.list" "$loop" bench > /dev/null
    local loop_wall loop_rss loop_jobs
    read -r loop_wall loop_rss < <(measured "$dir/loop.time")
    drain
    loop_jobs=$(jobs_taken)
    rm -rf "$dir/pdf"

    echo "== $layout: enscript | lp, ${mb} MB" >&2
    /usr/bin/time -v -o "$dir/enscript.time" sh -c 'enscript -B -q -p - "$1" | lp -d bench >/dev/null' sh "$dir/plain.txt"
    local base_wall base_rss
    read -r base_wall base_rss < <(measured "$dir/enscript.time")
    drain
    jobs_taken >/dev/null

    echo "== $layout: connections of one run (${small} MB, under strace)" >&2
    REPVIEW_PRINTER=bench strace -f -qq --seccomp-bpf -e trace=connect -o "$dir/connects" "$repview" "$dir/small.txt"
    local connections
    connections=$(grep -c "sun_path=\"$CUPS_SERVER\".* = 0" "$dir/connects" || true)
    drain
    jobs_taken >/dev/null

    local floor
    floor=$(awk -v a="$pdf_wall" -v b="$loop_wall" 'BEGIN { printf "%.2f", a + b }')
    rows+=("$layout|repview -> CUPS|$mb|$cups_wall|$cups_rss|$cups_jobs jobs|$(ratio "$cups_wall" "$floor")|$(ratio "$base_wall" "$cups_wall")")
    rows+=("$layout|repview -> CUPS|$small|$small_wall|$small_rss|||")
    rows+=("$layout|floor: repview -> pdf:|$mb|$pdf_wall|$pdf_rss|$pdf_files PDF files||")
    rows+=("$layout|floor: libcups loop|$mb|$loop_wall|$loop_rss|$loop_jobs jobs||")
    rows+=("$layout|floor: sum|$mb|$floor||||")
    rows+=("$layout|enscript + lp|$mb|$base_wall|$base_rss|1 job||")
    notes+=("$layout: repview -> CUPS peak memory ${small} MB -> ${mb} MB: ${small_rss} KB -> ${cups_rss} KB ($(awk -v a="$small_rss" -v b="$cups_rss" 'BEGIN { printf "%+.1f%%", (b - a) * 100 / a }'))")
    notes+=("$layout: connections to the server in one run of repview (${small} MB): $connections")
    [ "$cups_jobs" = "$loop_jobs" ] || notes+=("$layout: ODD: repview submitted $cups_jobs jobs, the loop $loop_jobs")
    rm -f "$dir"/*.txt
}

load_start=$(cut -d' ' -f1-3 /proc/loadavg)
IFS=',' read -r -a wanted <<<"$layouts"
for layout in "${wanted[@]}"; do
    run_layout "$layout"
done

echo
echo "repview CUPS printing benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(uname -m)"
echo "load average at the start: $load_start, at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "repview: $repview"
printf '%-7s %-24s %6s %8s %12s  %-16s %-12s %s\n' layout program MB "wall s" "peak RSS KB" output "CUPS/floor" "(enscript + lp) / CUPS"
for row in "${rows[@]}"; do
    IFS='|' read -r l p s w r o x y <<<"$row"
    printf '%-7s %-24s %6s %8s %12s  %-16s %-12s %s\n' "$l" "$p" "$s" "$w" "$r" "$o" "$x" "$y"
done
echo
for note in "${notes[@]}"; do
    echo "$note"
done
