#!/bin/bash
# Printing benchmark of repview: a generated host report printed to PDF
# (REPVIEW_PRINTER=pdf:<folder>), against the usual Linux way of printing a
# text file to PDF (enscript | ps2pdf) on the same text with the codes
# stripped, in the same run. Wall time, CPU time (user + system) and peak
# memory (maximum resident set size) come from /usr/bin/time -v.
#
# Two report layouts, each at the full size and at a quarter of it:
#   paged  - a form feed every 60 lines: one print job (one PDF) per page,
#            as a DOS back-office report ejects each page;
#   onejob - no form feed: the whole report is one print job (one long PDF),
#            which shows whether memory stays flat within a job.
#
# Usage: bench/print_report_bench.sh [-b REPVIEW]... [-s MB] [-l LAYOUTS] [-k]
#   -b REPVIEW  the repview binary (default: build-bench/bin/repview, built
#               with cmake if missing); given more than once, each binary
#               is measured in the same run (say, before and after a change)
#   -s MB       full report size in MB (default 20; the small one is MB/4)
#   -l LAYOUTS  comma-separated, from paged,onejob (default: both)
#   -k          keep the temporary folder (reports and PDFs) and name it
# Peak memory of the baseline is that of its largest process (ps2pdf's
# Ghostscript): /usr/bin/time reports the children's maximum, not a sum.
# Not part of the test suite. Takes about 5 minutes on 2 cores at 20 MB.
# Other work on the machine skews the times: the load average is printed, and
# the CPU-time ratio is given beside the wall-time one.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
repviews=()
mb=20
layouts="paged,onejob"
keep=0
while getopts "b:s:l:kh" opt; do
    case $opt in
    b) repviews+=("$OPTARG") ;;
    s) mb=$OPTARG ;;
    l) layouts=$OPTARG ;;
    k) keep=1 ;;
    h) sed -n '2,26p' "$0"; exit 0 ;;
    *) sed -n '2,26p' "$0" >&2; exit 2 ;;
    esac
done

for tool in /usr/bin/time /usr/bin/python3 enscript ps2pdf pdfinfo pdftotext; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

if [ ${#repviews[@]} = 0 ]; then
    repviews=("$repo/build-bench/bin/repview")
    if [ ! -x "${repviews[0]}" ]; then
        launcher=()
        command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        cmake -S "$repo" -B "$repo/build-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
        cmake --build "$repo/build-bench" --target repview
    fi
fi
for repview in "${repviews[@]}"; do
    [ -x "$repview" ] || { echo "no repview binary at $repview" >&2; exit 1; }
done

tmp=$(mktemp -d /tmp/repview-bench.XXXXXX)
if [ "$keep" = 1 ]; then
    trap 'echo "kept: $tmp"' EXIT
else
    trap 'rm -rf "$tmp"' EXIT
fi

small=$(/usr/bin/python3 -c "print($mb / 4)")
export QT_QPA_PLATFORM=offscreen

. "$repo/bench/time_output.sh"

rows=()
notes=()

run_layout() {
    local layout=$1 page_lines
    case $layout in
    paged) page_lines=60 ;;
    onejob) page_lines=0 ;;
    *) echo "unknown layout $layout" >&2; exit 2 ;;
    esac
    local dir=$tmp/$layout
    mkdir -p "$dir"
    echo "== $layout: generating ${mb} MB and ${small} MB reports" >&2
    local info_full info_small
    info_full=$(/usr/bin/python3 "$repo/bench/make_report.py" "$dir/full.txt" --mb "$mb" --seed 1 \
        --page-lines "$page_lines" --plain "$dir/full-plain.txt")
    info_small=$(/usr/bin/python3 "$repo/bench/make_report.py" "$dir/small.txt" --mb "$small" --seed 1 \
        --page-lines "$page_lines")
    echo "   full:  $info_full" >&2
    echo "   small: $info_small" >&2

    # Baseline: enscript honours form feeds (a new page at each); -B no
    # headers; Latin-1 input encoding is enscript's default.
    echo "== $layout: baseline enscript | ps2pdf, ${mb} MB" >&2
    /usr/bin/time -v -o "$dir/base.time" \
        sh -c 'enscript -B -q -p - "$1" | ps2pdf - "$2"' sh "$dir/full-plain.txt" "$dir/base.pdf"
    local base_pages
    base_pages=$(pdfinfo "$dir/base.pdf" | awk '/^Pages:/ { print $2 }')
    read -r base_wall base_rss < <(measured "$dir/base.time")
    base_cpu=$(cpu_seconds "$dir/base.time")
    rows+=("$layout|baseline enscript+ps2pdf|$mb|$base_wall|$base_cpu|$base_rss|1 PDF, $base_pages pages|-|-")

    # Every run's PDF files stay until the layout is done: on ext4 without a
    # journal, files deleted moments ago make the next file creations slower,
    # which would charge one run's clean-up to the next.
    local size n=0 repview
    for repview in "${repviews[@]}"; do
        n=$((n + 1))
        local name=repview
        [ ${#repviews[@]} -gt 1 ] && name="repview #$n"
        for size in full small; do
            local label=$mb out=$dir/pdf-$n-$size
            [ $size = small ] && label=$small
            echo "== $layout: $name, $label MB" >&2
            mkdir -p "$out"
            REPVIEW_PRINTER=pdf:$out /usr/bin/time -v -o "$dir/$size.time" \
                "$repview" "$dir/$size.txt" > "$dir/$size.out" 2>&1 \
                || { echo "repview failed:" >&2; cat "$dir/$size.out" >&2; exit 1; }
            local wall rss cpu files pages
            read -r wall rss < <(measured "$dir/$size.time")
            cpu=$(cpu_seconds "$dir/$size.time")
            files=$(find "$out" -name '*.pdf' | wc -l)
            # Page objects, counted without opening thousands of files one by one.
            pages=$(find "$out" -name '*.pdf' -exec cat {} + | grep -a -c '/Type /Page\b' || true)
            local ratio="-" cpu_ratio="-"
            if [ $size = full ]; then
                ratio=$(awk -v b="$base_wall" -v r="$wall" 'BEGIN { printf "%.2fx", b / r }')
                cpu_ratio=$(awk -v b="$base_cpu" -v r="$cpu" 'BEGIN { printf "%.2fx", b / r }')
            fi
            rows+=("$layout|$name|$label|$wall|$cpu|$rss|$files PDF, $pages pages|$ratio|$cpu_ratio")
            if [ $size = full ]; then
                full_rss=$rss
                check_pdfs "$layout" "$out" "$info_full" "$files" "$pages"
                notes+=("$layout: $name speed against the baseline (${mb} MB): $ratio wall, $cpu_ratio CPU")
            else
                notes+=("$layout: $name peak memory ${small} MB -> ${mb} MB: ${rss} KB -> ${full_rss} KB ($(awk -v a="$rss" -v b="$full_rss" 'BEGIN { printf "%+.1f%%", (b - a) * 100 / a }'))")
            fi
        done
    done
    rm -rf "$dir"/pdf-*
    rm -f "$dir"/*.txt "$dir/base.pdf"
}

# Sanity of what repview wrote: file count against the generator's job
# count, one page's text free of codes.
check_pdfs() {
    local layout=$1 folder=$2 info=$3 files=$4 pages=$5
    local jobs first middle text
    jobs=$(sed -n 's/.*jobs=\([0-9]*\).*/\1/p' <<<"$info")
    [ "$files" = "$jobs" ] || notes+=("$layout: ODD: $files PDF files for $jobs print jobs")
    first=$(find "$folder" -name '*.pdf' | sort | sed -n 1p)
    middle=$(find "$folder" -name '*.pdf' | sort | sed -n "$(( (files + 1) / 2 ))p")
    # Page 1 of the first file and the middle page of the middle file.
    local f page count which
    for which in first middle; do
        f=$first
        [ $which = middle ] && f=$middle
        count=$(pdfinfo "$f" 2>/dev/null | awk '/^Pages:/ { print $2 }')
        if [ -z "$count" ]; then
            notes+=("$layout: ODD: pdfinfo cannot read $(basename "$f")")
            continue
        fi
        page=1
        [ $which = middle ] && page=$(( (count + 1) / 2 ))
        text=$(pdftotext -layout -f "$page" -l "$page" "$f" - 2>/dev/null || true)
        if [ -z "$(tr -d '[:space:]' <<<"$text")" ]; then
            notes+=("$layout: ODD: no text on page $page of $(basename "$f")")
        elif grep -q '>\[' <<<"$text"; then
            notes+=("$layout: ODD: '>[' code text on page $page of $(basename "$f")")
        else
            notes+=("$layout: page $page/$count of $(basename "$f"): $(grep -c '[[:alnum:]]' <<<"$text") text lines, no '>[' codes")
        fi
    done
}

load_start=$(cut -d' ' -f1-3 /proc/loadavg)
full_rss=0
IFS=',' read -r -a wanted <<<"$layouts"
for layout in "${wanted[@]}"; do
    run_layout "$layout"
done

echo
echo "repview printing benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(uname -m)"
echo "load average at the start: $load_start, at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
n=0
for repview in "${repviews[@]}"; do
    n=$((n + 1))
    if [ ${#repviews[@]} -gt 1 ]; then echo "repview #$n: $repview"; else echo "repview: $repview"; fi
done
printf '%-7s %-26s %6s %8s %7s %12s  %-26s %s\n' layout program MB "wall s" "CPU s" "peak RSS KB" output \
    "baseline/repview (wall, CPU)"
for row in "${rows[@]}"; do
    IFS='|' read -r l p s w c r o x y <<<"$row"
    printf '%-7s %-26s %6s %8s %7s %12s  %-26s %s %s\n' "$l" "$p" "$s" "$w" "$c" "$r" "$o" "$x" "$y"
done
echo
for note in "${notes[@]}"; do
    echo "$note"
done
