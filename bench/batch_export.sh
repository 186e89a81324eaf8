#!/usr/bin/env bash
# The batch export of a season: 10,000 records, half lap-timing with 99 laps
# and half engine-speed with 1,984 samples, into the system's temporary
# folder, in one `tormel_vue --export ... --to FOLDER` run.
#   bench/batch_export.sh [BIN_FOLDER] [RECORDS]   (default build/release/bin, 10000)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BIN="$(cd "${1:-$ROOT/build/release/bin}" && pwd)"
COUNT="${2:-10000}"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
mkdir "$WORK/records" "$WORK/out"
python3 "$ROOT/bench/season_records.py" "$WORK/records" "$COUNT"
cd "$WORK/records"
start=$(date +%s.%N)
"$BIN/tormel_vue" --export r*.Tml --to "$WORK/out" >"$WORK/summary" 2>"$WORK/errors" || true
end=$(date +%s.%N)
awk -v s="$start" -v e="$end" -v n="$COUNT" 'BEGIN { printf "%d records in %.2f s: %.2f ms a record\n", n, e - s, (e - s) * 1000 / n }'
cat "$WORK/summary"
echo "$(ls "$WORK/out" | wc -l) files written; $(wc -l < "$WORK/errors") lines on stderr"
