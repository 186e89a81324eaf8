#!/usr/bin/env bash
# --trace of one lap as a whole process, against --version, which starts the
# same executable and does nothing else.
#   bench/trace.sh [BIN_FOLDER] [RUNS]   (default build/release/bin, 50)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BIN="$(cd "${1:-$ROOT/build/release/bin}" && pwd)"
RUNS="${2:-50}"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
# The demo track beside the demo record, as a user's folder would hold them.
cp "$ROOT/data/demo/demo_rpm.Tml" "$WORK/"
[ -f "$ROOT/data/demo/Pistes.aqw" ] && cp "$ROOT/data/demo/Pistes.aqw" "$WORK/"
cd "$WORK"
time_of() {
  local start end
  start=$(date +%s.%N)
  for _ in $(seq "$RUNS"); do
    "$BIN/tormel_vue" "$@" > /dev/null
  done
  end=$(date +%s.%N)
  awk -v s="$start" -v e="$end" -v n="$RUNS" 'BEGIN { printf "%.2f", (e - s) * 1000 / n }'
}
# One of each first, so that neither pays for a cold cache.
"$BIN/tormel_vue" --version > /dev/null
"$BIN/tormel_vue" --trace demo_rpm.Tml --gearing 11/84 --sprockets 11/82 > /dev/null
version=$(time_of --version)
trace=$(time_of --trace demo_rpm.Tml --gearing 11/84 --sprockets 11/82)
echo "--version: $version ms a run"
echo "--trace of the best lap: $trace ms a run"
awk -v v="$version" -v t="$trace" 'BEGIN { printf "difference: %.2f ms\n", t - v }'
