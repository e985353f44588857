#!/usr/bin/env bash
# Sets everything up and starts the game from its run directory.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
cd "${NIGHTRUN_BUILD_DIR:-$root/build}/run"
exec ./nightrun
