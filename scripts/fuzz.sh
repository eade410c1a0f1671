#!/usr/bin/env bash
# Builds the fuzz targets with clang (build-fuzz/) and runs each for SECONDS (default 60) on a
# working copy of its seed corpus. Exits non-zero when any target crashes, naming the input.
# scripts/fuzz.sh [SECONDS] [TARGET...]. Clang warns where GCC does not, so its warnings are shown
# here but not made errors: they must not fail the test run over code GCC builds cleanly.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
dir="$top/build-fuzz"
jobs=${OSTRANA_BUILD_JOBS:-$(nproc)}

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ is missing (scripts/setup.sh installs it)" >&2
  exit 1
fi
cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DOSTRANA_FUZZ=ON -DOSTRANA_WERROR=OFF -DBUILD_TESTING=OFF -DOSTRANA_BENCH=OFF >/dev/null || exit 1
cmake --build "$dir" -j "$jobs" --target ostrana_fuzzers || exit 1

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for seeds in "$top"/tests/fuzz/corpus/*/; do
    targets+=("$(basename "$seeds")")
  done
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# Inputs long enough to cross the readers' block sizes and bounds, no longer.
max_len_of() {
  case "$1" in
    listing) echo 1024 ;;
    reply_scanner) echo 8192 ;;
    session_exchange) echo 16384 ;;
    service_request) echo 20000 ;;
    *) echo 4096 ;;
  esac
}

status=0
for target in "${targets[@]}"; do
  binary="$dir/tests/fuzz/fuzz_$target"
  work="$dir/corpus/$target"
  artifacts="$dir/artifacts/$target"
  log="$dir/logs/$target.log"
  mkdir -p "$work" "$artifacts" "$(dirname "$log")"
  if [ ! -x "$binary" ]; then
    echo "fuzz: no target $target" >&2
    status=1
    continue
  fi
  dict=()
  [ -f "$top/tests/fuzz/dict/$target.dict" ] && dict=(-dict="$top/tests/fuzz/dict/$target.dict")
  "$binary" "${dict[@]}" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len="$(max_len_of "$target")" -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$work" "$top/tests/fuzz/corpus/$target" >"$log" 2>&1
  result=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $result -ne 0 ]; then
    input=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -1)
    echo "fuzz: $target FAILED (exit $result) on input ${input:-unknown}; log $log"
    grep -m1 -E 'terminate called|ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error|property failed' "$log"
    status=1
  else
    echo "fuzz: $target ok, ${runs:-?} executions in ${seconds} s"
  fi
done
exit $status
