#!/usr/bin/env bash
# Runs the whole test suite: installs what it needs, builds, runs every test,
# then builds and runs the suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and gives each fuzz target a short run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
scripts/build.sh build
(cd build && ctest --output-on-failure -j"$jobs")

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
scripts/build.sh build-sanitize -DZLT_SANITIZE=ON -DZLT_BUILD_BENCHMARKS=OFF
(cd build-sanitize && ctest --output-on-failure -j"$jobs")

# A short smoke of every fuzz target: the readers still take what they took.
scripts/fuzz.sh 10
