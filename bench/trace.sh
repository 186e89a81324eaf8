#!/usr/bin/env bash
# --trace of one lap as a whole process, against --version, which starts the
# same executable and does nothing else. The two run in turn and the medians
# are compared, so that a busy machine weighs on both alike.
#   bench/trace.sh [BIN_FOLDER] [RUNS]   (default build/release/bin, 50)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BIN="$(cd "${1:-$ROOT/build/release/bin}" && pwd)"
RUNS="${2:-50}"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
# The demo record and its track, as a user's folder would hold them.
cp "$ROOT/data/demo/demo_rpm.Tml" "$ROOT/data/demo/Pistes.aqw" "$WORK/"
cd "$WORK"
trace=(--trace demo_rpm.Tml --gearing 11/84 --sprockets 11/82)
# Milliseconds of one run, without a process of its own to read the clock.
run_ms() {
  local start=$EPOCHREALTIME
  "$BIN/tormel_vue" "$@" > /dev/null
  awk -v s="$start" -v e="$EPOCHREALTIME" 'BEGIN { printf "%.3f\n", (e - s) * 1000 }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.2f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# One of each first, so that neither pays for a cold cache.
run_ms --version > /dev/null
run_ms "${trace[@]}" > /dev/null
: > version.ms
: > trace.ms
for _ in $(seq "$RUNS"); do
  run_ms --version >> version.ms
  run_ms "${trace[@]}" >> trace.ms
done
version=$(median < version.ms)
traced=$(median < trace.ms)
echo "--version: $version ms (median of $RUNS)"
echo "--trace of the demo's best lap: $traced ms (median of $RUNS)"
awk -v v="$version" -v t="$traced" 'BEGIN { printf "difference: %.2f ms\n", t - v }'
