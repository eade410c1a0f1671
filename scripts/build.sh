#!/usr/bin/env bash
# Configures and builds one tree: scripts/build.sh normal|sanitize
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:-normal}
case "$kind" in
  normal)   dir="$top/build";      flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  sanitize) dir="$top/build-asan"; flags=(-DCMAKE_BUILD_TYPE=Debug -DOSTRANA_SANITIZE=ON) ;;
  *) echo "usage: scripts/build.sh normal|sanitize" >&2; exit 2 ;;
esac
cmake -S "$top" -B "$dir" -G Ninja -DOSTRANA_WERROR=ON "${flags[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
