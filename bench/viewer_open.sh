#!/usr/bin/env bash
# Opening a report in the viewer: 10 MB and 100 MB reports, generated here,
# opened in the real window offscreen and on a real X server (Xvfb managed
# by openbox, through tests/support/with_xvfb.sh --wm). Baselines from the
# same run: reading the file (cat) and counting its lines (wc -l); the 10 MB
# open is the baseline for linearity. "open" runs from the menu command to
# the loaded report being on the screen (painted, and on X drawn by the
# server). Peak memory is the viewer's own (the X server is not counted).
# Each open is made twice: with the scripted dialog answering at once, and
# through Qt's own file dialog, shown and then accepted with the path typed
# in ("qt": the time then runs from the accept, a user's Enter; first_s is
# when the first line was read, the way out of the dialog). The ratios at the
# end compare the two dialogs and the two displays within the one run.
#   bench/viewer_open.sh BUILD_DIR [WORK_DIR]
set -euo pipefail

build=${1:?usage: viewer_open.sh BUILD_DIR [WORK_DIR]}
work=${2:-$(mktemp -d)}
bench="$build/bin/viewer_open_bench"
mkdir -p "$work"

# A host report: 78-character lines with codes, CR LF, a form feed per page.
make_report() {
    local megabytes=$1 file=$2
    perl -e '
        my $target = $ARGV[0] * 1024 * 1024;
        my $written = 0; my $n = 0;
        open(my $out, ">:raw", $ARGV[1]) or die;
        while ($written < $target) {
            my $line;
            if ($n % 60 == 0) { $line = sprintf(">[BO]<STOCK VALUATION REPORT        PAGE %6d>[NO]<%27s", $n / 60 + 1, ""); }
            elsif ($n % 60 == 59) { $line = sprintf(">[BC%012d]<%-60s\x0c", $n, ""); }
            else { $line = sprintf("%08d  ITEM DESCRIPTION %-20s  %9.2f  %6d  %9.2f", $n, "WIDGET-" . ($n % 977), ($n % 1000) / 7, $n % 313, ($n % 5000) / 3); }
            print $out $line, "\r\n";
            $written += length($line) + 2; $n++;
        }' "$megabytes" "$file"
}

seconds_of() { # command... -> wall seconds
    local start end
    start=$(date +%s.%N)
    "$@" > /dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}

xvfb="$(cd "$(dirname "$0")/.." && pwd)/tests/support/with_xvfb.sh"
printf '%-9s %-8s %-7s %10s %9s %9s %9s %8s %10s %12s %9s %8s %10s\n' display dialog size bytes cat_s wc_s open_s first_s open/cat peak_MB peak/size paints/s max_gap_ms
declare -A open_seconds peak_mb
for display in offscreen x11; do
for dialog in scripted qt; do
    mode=""
    [ "$dialog" = qt ] && mode=--qt-dialog
for mb in 10 100; do
    report="$work/report-$mb.rpt"
    [ -f "$report" ] || make_report "$mb" "$report"
    bytes=$(stat -c %s "$report")
    cat "$report" > /dev/null  # the file in the page cache for every contender
    cat_s=$(seconds_of cat "$report")
    wc_s=$(seconds_of wc -l "$report")
    if [ "$display" = offscreen ]; then
        QT_QPA_PLATFORM=offscreen /usr/bin/time -v -o "$work/time-$mb.txt" "$bench" $mode "$report" > "$work/open-$mb.out"
    else
        "$xvfb" --wm /usr/bin/time -v -o "$work/time-$mb.txt" env QT_QPA_PLATFORM=xcb "$bench" $mode "$report" \
            > "$work/open-$mb.out" 2> "$work/xvfb-$mb.err"
    fi
    line=$(cat "$work/open-$mb.out")
    open_s=$(sed -E 's/.*shown_s=([0-9.]+).*/\1/' <<< "$line")
    rate=$(sed -E 's/.*paints_per_second=([0-9.]+).*/\1/' <<< "$line")
    gap=$(sed -E 's/.*longest_unpainted_ms=([0-9.]+).*/\1/' <<< "$line")
    first_s=$(sed -E 's/.*first_line_s=([0-9.]+).*/\1/' <<< "$line")
    peak_kb=$(sed -nE 's/.*Maximum resident set size \(kbytes\): ([0-9]+).*/\1/p' "$work/time-$mb.txt")
    open_seconds[$display$dialog$mb]=$open_s
    peak_mb[$display$dialog$mb]=$(echo "$peak_kb / 1024" | bc -l)
    printf '%-9s %-8s %-7s %10d %9.3f %9.3f %9.3f %8.3f %10.1f %12.1f %9.2f %8.1f %10.1f\n' "$display" "$dialog" "${mb}MB" "$bytes" "$cat_s" "$wc_s" "$open_s" "$first_s" \
        "$(echo "$open_s / $cat_s" | bc -l)" "$(echo "$peak_kb / 1024" | bc -l)" "$(echo "$peak_kb * 1024 / $bytes" | bc -l)" \
        "$rate" "$gap"
done
printf '%s %s linearity: open 100MB / open 10MB = %.2f (10 would be exactly linear)\n' "$display" "$dialog" \
    "$(echo "${open_seconds[${display}${dialog}100]} / ${open_seconds[${display}${dialog}10]}" | bc -l)"
done
done
ratio() { echo "${open_seconds[$1]} / ${open_seconds[$2]}" | bc -l; }
for mb in 10 100; do
    printf '%sMB: qt / scripted dialog: offscreen %.2f, x11 %.2f (peak %+.1f MB, %+.1f MB); x11 / offscreen: scripted %.2f, qt %.2f\n' "$mb" \
        "$(ratio offscreenqt$mb offscreenscripted$mb)" "$(ratio x11qt$mb x11scripted$mb)" \
        "$(echo "${peak_mb[offscreenqt$mb]} - ${peak_mb[offscreenscripted$mb]}" | bc -l)" \
        "$(echo "${peak_mb[x11qt$mb]} - ${peak_mb[x11scripted$mb]}" | bc -l)" \
        "$(ratio x11scripted$mb offscreenscripted$mb)" "$(ratio x11qt$mb offscreenqt$mb)"
done
