#!/usr/bin/env bash
# Installs what the suite needs, builds it and prints the bundled sample
# report (samples/ZLT/RPT, through the DOS path C:\ZLT\RPT.) as PDF files,
# one per print job, into out/sample-print/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
out="$PWD/out/sample-print"
mkdir -p "$out"
ZLT_DRIVES="C=$PWD/samples" REPVIEW_PRINTER="pdf:$out" build/bin/repview 'C:\ZLT\RPT.'
echo "Printed samples/ZLT/RPT; the print jobs are these PDF files:"
ls -1 "$out"/*.pdf | tail -n 3
