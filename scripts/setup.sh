#!/usr/bin/env bash
# Installs what a fresh machine lacks to build and test Ostrana. A second run only checks and exits.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config ccache googletest libgtest-dev libgmock-dev libbenchmark-dev
          libssl-dev libcivetweb-dev nlohmann-json3-dev clang libclang-rt-14-dev
          chromium fonts-nanum nodejs)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# The browser journeys' client library, pinned by the lock file; installed once per lock change.
e2e_packages() {
  local e2e
  e2e="$(cd "$(dirname "$0")/.." && pwd)/tests/e2e"
  if [ ! -d "$e2e/node_modules" ] || [ "$e2e/package-lock.json" -nt "$e2e/node_modules" ]; then
    (cd "$e2e" && npm ci --no-audit --no-fund >/dev/null && touch node_modules)
  fi
}

if [ ${#missing[@]} -eq 0 ]; then
  e2e_packages
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
e2e_packages
