#!/usr/bin/env bash
# The whole test run: set-up, a normal build and a sanitizer build, every CTest suite in both, a
# ThreadSanitizer build of the threaded suites (window, controls, OLE, transfer, watchers) run in it, and a
# short run of every fuzz target (OSTRANA_FUZZ_SECONDS each).
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh" || exit 1

status=0
for kind in normal sanitize tsan; do
  echo "=== $kind build"
  if ! "$top/scripts/build.sh" "$kind"; then
    echo "=== $kind build failed"
    status=1
    continue
  fi
  dir="$top/build"; [ "$kind" = sanitize ] && dir="$top/build-asan"; [ "$kind" = tsan ] && dir="$top/build-tsan"
  selection=()
  if [ "$kind" = tsan ]; then
    suites=$("$top/scripts/build.sh" suites)
    selection=(-L "^(${suites// /|})\$")
  fi
  echo "=== $kind tests"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$top/tests/tsan.supp"
  if ! ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" "${selection[@]}"; then
    status=1
  fi
done
# Skipped only when asked by name, so a missing browser never passes unnoticed.
if [ "${OSTRANA_SKIP_E2E:-0}" = 1 ]; then
  echo "=== e2e skipped (OSTRANA_SKIP_E2E=1)"
else
  echo "=== e2e"
  if ! (cd "$top/tests/e2e" && OSTRANA_BUILD_DIR="$top/build" node --test run.mjs); then
    status=1
  fi
fi
echo "=== fuzz"
if ! "$top/scripts/fuzz.sh" "${OSTRANA_FUZZ_SECONDS:-5}"; then
  status=1
fi
exit $status
