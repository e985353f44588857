#!/usr/bin/env bash
# Sets everything up and runs the whole test suite, then a short fuzz run of
# every file reader. Starts Xvfb when there is no display and uses OpenAL Soft's
# null back end when there is no sound card.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
build="${NIGHTRUN_BUILD_DIR:-$root/build}"

xvfb_pid=""
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 91 120); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      # -noreset: the server must not reset each time its last client (a test) disconnects.
      Xvfb ":$n" -screen 0 1600x1200x24 -nolisten tcp -noreset >/dev/null 2>&1 &
      xvfb_pid=$!
      export DISPLAY=":$n"
      for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
      break
    fi
  done
fi
export LIBGL_ALWAYS_SOFTWARE=1
# OpenAL Soft falls back to its null back end when no sound card answers.
if [ ! -d /dev/snd ] || [ -z "$(ls -A /dev/snd 2>/dev/null)" ]; then
  export ALSOFT_DRIVERS=null
fi
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600 "$@"
# A whole-suite run ends with a short run of every fuzz target, so the harnesses
# never rot (NIGHTRUN_FUZZ_SMOKE=0 leaves it out, or sets its seconds per target).
smoke="${NIGHTRUN_FUZZ_SMOKE:-15}"
if [ $# -eq 0 ] && [ "$smoke" != 0 ]; then
  "$root/scripts/fuzz.sh" "$smoke"
fi
