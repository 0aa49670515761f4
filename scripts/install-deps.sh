#!/usr/bin/env bash
# Installs the Debian packages the suite needs to build, run and test.
# Runs apt-get as root (directly, or through sudo).
set -euo pipefail

PACKAGES=(
  # build
  cmake ninja-build g++ pkg-config zlib1g-dev
  qt6-base-dev libqt6printsupport6 libx11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # fuzzing: clang's libFuzzer and sanitizer run-times (scripts/fuzz.sh)
  clang libclang-rt-14-dev
  # printing: fonts, CUPS client, PDF and barcode tools the tests read back with
  fonts-liberation poppler-utils zbar-tools
  # desktop pieces for window tests
  xvfb xauth openbox x11-utils xdotool
  # benchmarks: the usual Linux text printing baseline, and time(1)
  enscript ghostscript time
  # a private CUPS server for the printing tests; strace counts their connections
  cups-daemon cups-client libcups2-dev strace
  # test peers written in Python
  python3
  # run time: the desktop opener that webhop hands web addresses to
  xdg-utils
  # workbooks and mail: libxlsxwriter, libcurl's SMTP
  libxlsxwriter-dev libcurl4-openssl-dev
  # independent readers of what the shared pieces write: RTF, workbooks, mail
  unrtf libreoffice-writer-nogui libreoffice-calc-nogui python3-openpyxl python3-aiosmtpd
  # benchmark baselines: one msmtp per message
  msmtp
  # installing and packaging: the Debian package's library dependencies,
  # man pages rendered and checked, the desktop entry checked
  dpkg-dev man-db groff-base desktop-file-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
