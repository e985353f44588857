#!/usr/bin/env bash
# Fuzzes every reader of a file the game reads: builds the libFuzzer targets of
# tests/fuzz with clang (AddressSanitizer and UndefinedBehaviorSanitizer on) into
# build-fuzz/, replays the kept regression inputs, then runs each target for
# SECONDS (default 60), one after the other, or all at once with
# NIGHTRUN_FUZZ_PARALLEL=1 (each at the lowest priority). Seeds come from the
# generated base/ and tests/fuzz/seeds/; what a target learns stays in
# build-fuzz/corpus/<name>/. Prints one line per target (executions, coverage)
# and exits non-zero when any target finds a fault; its input is then in
# build-fuzz/artifacts/.
#   bash scripts/fuzz.sh [SECONDS]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
"$root/scripts/setup.sh"
build="${NIGHTRUN_BUILD_DIR:-$root/build}"
fuzzbuild="${NIGHTRUN_FUZZ_BUILD_DIR:-$root/build-fuzz}"
base="$build/run/base"

if [ ! -f "$fuzzbuild/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$fuzzbuild" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DNIGHTRUN_FUZZ=ON -DNIGHTRUN_TESTS=OFF ${NIGHTRUN_FUZZ_CMAKE_ARGS:-} >/dev/null
fi
cmake --build "$fuzzbuild" --target fuzz_targets -j "$(nproc)"

shopt -s nullglob
mkdir -p "$fuzzbuild/logs" "$fuzzbuild/artifacts"
# Fuzzes one target; its summary line goes to logs/<name>.result.
fuzz_one() {
  local name="$1" seeds="$2" dict="$3" exe corpus seeddir log glob f n regressions options
  exe="$fuzzbuild/fuzz/fuzz_$name"
  corpus="$fuzzbuild/corpus/$name"
  seeddir="$fuzzbuild/seeds/$name"
  log="$fuzzbuild/logs/$name.log"
  mkdir -p "$corpus"
  if [ ! -d "$seeddir" ]; then
    mkdir -p "$seeddir"
    for f in "$root/tests/fuzz/seeds/$name"/*; do cp "$f" "$seeddir/"; done
    # The smaller generated files of each kind: quick to mutate, and every layout is there.
    for glob in $seeds; do
      n=0
      for f in $base/$glob; do
        [ "$(stat -c %s "$f")" -le 65536 ] || continue
        cp "$f" "$seeddir/$(echo "${f#$base/}" | tr / _)"
        n=$((n + 1))
        [ $n -lt 40 ] || break
      done
    done
  fi
  regressions=("$root/tests/fuzz/regressions/$name"/*)
  if [ ${#regressions[@]} -gt 0 ] && ! "$exe" "${regressions[@]}" >"$log" 2>&1; then
    echo "fuzz $name: FAULT a kept regression input fails again (see $log)" >"$fuzzbuild/logs/$name.result"
    return
  fi
  options=(-max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb=2048 -malloc_limit_mb=1024
           -print_final_stats=1 -artifact_prefix="$fuzzbuild/artifacts/$name-")
  [ -z "$dict" ] || options+=(-dict="$root/tests/fuzz/$dict")
  local result runs cov corp
  if $nice "$exe" "${options[@]}" "$corpus" "$seeddir" >"$log" 2>&1; then result=ok; else result=FAULT; fi
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || true)
  cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1 || true)
  corp=$(ls "$corpus" | wc -l)
  {
    echo "fuzz $name: $result executions=${runs:-?} ${cov:-cov: ?} corpus=$corp seconds=$seconds"
    [ "$result" = ok ] || grep -E 'ERROR|SUMMARY|artifact' "$log" | head -5
  } >"$fuzzbuild/logs/$name.result"
}

nice=""
# One input may take this long; at the lowest priority on a busy machine a
# target can wait many seconds for a core.
timeout=10
[ "${NIGHTRUN_FUZZ_PARALLEL:-0}" = 1 ] && timeout=120
names=()
while IFS=$'\t' read -r name seeds dict; do
  names+=("$name")
  rm -f "$fuzzbuild/logs/$name.result"
  if [ "${NIGHTRUN_FUZZ_PARALLEL:-0}" = 1 ]; then
    nice="nice -n 19"
    fuzz_one "$name" "$seeds" "$dict" &
  else
    fuzz_one "$name" "$seeds" "$dict"
    cat "$fuzzbuild/logs/$name.result"
  fi
done <"$fuzzbuild/fuzz/targets.txt"
wait
failed=0
for name in "${names[@]}"; do
  [ "${NIGHTRUN_FUZZ_PARALLEL:-0}" = 1 ] && cat "$fuzzbuild/logs/$name.result"
  grep -q '^fuzz [a-z_]*: ok ' "$fuzzbuild/logs/$name.result" || failed=1
done
exit $failed
