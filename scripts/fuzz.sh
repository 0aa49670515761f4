#!/usr/bin/env bash
# Runs every fuzz target of fuzz/ in turn under ASan + UBSan:
#   scripts/fuzz.sh [seconds per target | --runs=N] [target...]
# (default 60 seconds each, every target). Builds build-fuzz with clang,
# starts each target from a fresh copy of its seeds in a working folder
# outside the tree (ZLT_FUZZ_WORK, else a new one under /tmp), prints the
# executions each reached, and exits 1 when one crashed, hung or broke an
# invariant, naming the input that did it.
set -euo pipefail
cd "$(dirname "$0")/.."

limit=(-max_total_time=60)
case "${1:-}" in
  --runs=*) limit=(-runs="${1#--runs=}"); shift ;;
  [0-9]*) limit=(-max_total_time="$1"); shift ;;
esac

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -G Ninja -DZLT_FUZZ=ON -DZLT_BUILD_TESTS=OFF -DZLT_BUILD_BENCHMARKS=OFF \
  -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
cmake --build build-fuzz --target fuzzers

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi
work="${ZLT_FUZZ_WORK:-$(mktemp -d /tmp/zlt-fuzz.XXXXXX)}"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

failed=0
for target in "${targets[@]}"; do
  dir="$work/$target"
  rm -rf "$dir/corpus" && mkdir -p "$dir/corpus"
  cp fuzz/corpus/"$target"/* "$dir/corpus/"
  # One dictionary serves the targets whose names start alike (rtf.dict: rtf_scanner, rtf_appender).
  dict=()
  [ -f "fuzz/${target%%_*}.dict" ] && dict=(-dict="fuzz/${target%%_*}.dict")
  start=$SECONDS
  if build-fuzz/bin/"${target}_fuzz" "${limit[@]}" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$dir/" "${dict[@]}" "$dir/corpus" >"$dir/log" 2>&1; then
    executions=$(awk '/stat::number_of_executed_units/ {print $2}' "$dir/log")
    printf '%-18s %12s executions in %4ss\n' "$target" "$executions" $((SECONDS - start))
  else
    failed=1
    printf '%-18s FAILED; the log is %s\n' "$target" "$dir/log"
    grep -E 'ERROR|invariant broken|SUMMARY|Test unit written|artifact_prefix' "$dir/log" || tail -20 "$dir/log"
  fi
done
exit $failed
