#!/usr/bin/env bash
# One session report, process start included, for each demo record.
#   bench/report.sh [BIN_FOLDER] [RUNS]   (default build/release/bin, 10)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BIN="$(cd "${1:-$ROOT/build/release/bin}" && pwd)"
RUNS="${2:-10}"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
for record in demo_laps demo_rpm; do
  start=$(date +%s.%N)
  for _ in $(seq "$RUNS"); do
    "$BIN/tormel_vue" --report "$ROOT/data/demo/$record.Tml" "$WORK/$record.pdf" 2>/dev/null
  done
  end=$(date +%s.%N)
  awk -v s="$start" -v e="$end" -v n="$RUNS" -v r="$record" 'BEGIN { printf "%s: %.0f ms a report\n", r, (e - s) * 1000 / n }'
done
