#!/usr/bin/env bash
# Configures and builds one tree: scripts/build.sh normal|sanitize|tsan
# The tsan tree builds only the suites that run under ThreadSanitizer (see tsan_suites).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:-normal}
tsan_suites=(platform_window_tests platform_controls_tests platform_ole_tests transfer_model_tests transfer_job_tests
             transfer_window_tests shell_watcher_tests shell_panes_tests control_window_tests host_tests)
targets=()
case "$kind" in
  normal)   dir="$top/build";      flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  sanitize) dir="$top/build-asan"; flags=(-DCMAKE_BUILD_TYPE=Debug -DOSTRANA_SANITIZE=ON) ;;
  tsan)     dir="$top/build-tsan"; flags=(-DCMAKE_BUILD_TYPE=Debug -DOSTRANA_TSAN=ON); targets=(--target "${tsan_suites[@]}") ;;
  suites)   echo "${tsan_suites[*]}"; exit 0 ;;
  *) echo "usage: scripts/build.sh normal|sanitize|tsan" >&2; exit 2 ;;
esac
cmake -S "$top" -B "$dir" -G Ninja -DOSTRANA_WERROR=ON "${flags[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
