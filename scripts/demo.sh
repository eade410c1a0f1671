#!/usr/bin/env bash
# The main job on the embedded default. Until the protocol lands it only builds.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh" normal
echo "Ostrana is built; the client cannot run yet (protocol, service and command-line client pending)."
