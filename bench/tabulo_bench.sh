#!/usr/bin/env bash
# Tabulo against its two baselines on one generated export of N records x 20
# fields (numbers, decimals, quoted text with commas, dates, 13-digit
# barcodes; a dictionary with FIXED2, FIXED4 and barcode fields), all in one
# run: LibreOffice's headless CSV-to-xlsx conversion, what a Linux user
# would otherwise reach for, and the floor, libxlsxwriter alone writing the
# same cells in constant-memory mode from memory. Wall time and peak
# resident memory from /usr/bin/time; prints a Markdown table.
#   bench/tabulo_bench.sh [build-dir] [records ...]    (default: build-tabulo 100000 200000)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-tabulo}
shift || true
sizes=("${@:-100000 200000}")
read -r -a sizes <<< "${sizes[*]}"
ninja -C "$build" tabulo tabulo_bench_data > /dev/null
work=$(mktemp -d /tmp/tabulo-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

# Runs a command under /usr/bin/time; prints "<seconds> <peak MB>".
measure() {
  /usr/bin/time -f '%e %M' -o "$work/time" "$@" > "$work/out.txt" 2>&1 || { cat "$work/out.txt" >&2; exit 1; }
  awk '{ printf "%.2f %.0f\n", $1, $2 / 1024 }' "$work/time"
}

# LibreOffice's first start builds its profile: not part of a conversion.
mkdir -p "$work/warm" && echo "1,2" > "$work/warm/warm.csv"
soffice --headless --norestore "-env:UserInstallation=file://$work/profile" --infilter=CSV:44,34,76,1 \
  --convert-to xlsx --outdir "$work/warm" "$work/warm/warm.csv" > /dev/null 2>&1

echo "| records | program | wall s | peak MB | time / floor | memory / LibreOffice |"
echo "|---:|---|---:|---:|---:|---:|"
for records in "${sizes[@]}"; do
  rm -rf "$work/c" "$work/out" "$work/lo" && mkdir -p "$work/c/ZLT"
  "$build/bin/tabulo_bench_data" export "$work/c/ZLT" "$records"
  cp "$work/c/ZLT/STOCK.PHD" "$work/stock.csv"
  read -r t_tabulo m_tabulo < <(measure env -i "HOME=$work" PATH=/nonexistent "ZLT_DRIVES=C=$work/c" \
    "TABULO_WORKBOOKS=$work/out" "$build/bin/tabulo" 'C:\ZLT\,STOCK.DIC,STOCK.PHD')
  read -r t_floor m_floor < <(measure "$build/bin/tabulo_bench_data" floor "$work/floor.xlsx" "$records")
  read -r t_lo m_lo < <(measure soffice --headless --norestore "-env:UserInstallation=file://$work/profile" \
    --infilter=CSV:44,34,76,1 --convert-to xlsx --outdir "$work/lo" "$work/stock.csv")
  ls "$work/out"/*.xlsx "$work/lo/stock.xlsx" > /dev/null  # each wrote its workbook
  for row in "tabulo $t_tabulo $m_tabulo" "floor $t_floor $m_floor" "LibreOffice $t_lo $m_lo"; do
    read -r name t m <<< "$row"
    awk -v r="$records" -v n="$name" -v t="$t" -v m="$m" -v tf="$t_floor" -v ml="$m_lo" \
      'BEGIN { printf "| %d | %s | %.2f | %d | %.2f | %.3f |\n", r, n, t, m, t / tf, m / ml }'
  done
done
