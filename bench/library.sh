#!/usr/bin/env bash
# The library index of a season: 10,000 distinct records, half lap-timing
# with 99 laps and half engine-speed with 1,984 samples, in a folder given
# to `tormel_vue --library`: the first run builds the index, the second
# finds every file unchanged, the third writes the season report of its
# 20 tracks. The index lives in a temporary home.
#   bench/library.sh [BIN_FOLDER] [RECORDS]   (default build/release/bin, 10000; needs GNU time)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BIN="$(cd "${1:-$ROOT/build/release/bin}" && pwd)"
COUNT="${2:-10000}"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/records" "$WORK/home" "$WORK/work"
python3 "$ROOT/bench/season_records.py" "$WORK/records" "$COUNT" 11 20
cd "$WORK/work"
# Wall time, the processor time it took (user and system: what a busy machine
# does not change) and the largest resident memory.
run() {
  local start end
  start=$(date +%s.%N)
  HOME="$WORK/home" XDG_DATA_HOME= /usr/bin/time -f "%U %S %M" -o "$WORK/time" \
    "$BIN/tormel_vue" --library "$WORK/records" "${@:2}" >"$WORK/out" 2>"$WORK/errors"
  end=$(date +%s.%N)
  read -r user system rss < "$WORK/time"
  awk -v s="$start" -v e="$end" -v u="$user" -v y="$system" -v m="$rss" -v what="$1" \
    'BEGIN { printf "%s: %.2f s (processor %.2f s), %.0f MB resident at most\n", what, e - s, u + y, m / 1024 }'
}
run "first index of $COUNT records"
run "the same records unchanged"
echo "$(($(wc -l < "$WORK/out") - 1)) rows; $(wc -l < "$WORK/errors") lines on stderr"
cat "$WORK/errors"
run "the season report of the same records" --report "$WORK/season.pdf"
echo "$(pdfinfo "$WORK/season.pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }') pages; $(wc -l < "$WORK/errors") lines on stderr"
cat "$WORK/errors"
