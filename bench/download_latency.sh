#!/usr/bin/env bash
# The download's latency over a pseudo-terminal pair: the logger simulator
# sends the demo record at the line's real pace, in the 16-byte groups of a
# USB serial adapter, to `tormel_vue --receive`. Reports, per run and as
# medians, the time from the last byte on the line to the accepted image
# (the receiver's exit) and the whole download against the line's own time,
# 2048 bytes at 9600 baud 8N1 = 2.133 s.
#   bench/download_latency.sh [BIN_FOLDER] [RUNS]   (default build/release/bin, 10)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BIN="$(cd "${1:-$ROOT/build/release/bin}" && pwd)"
RUNS="${2:-10}"
WORK="$(mktemp -d)"
trap 'kill $SOCAT 2>/dev/null || true; rm -rf "$WORK"' EXIT
cd "$WORK"
socat -d -d pty,raw,echo=0 pty,raw,echo=0 2>socat.log &
SOCAT=$!
for _ in $(seq 50); do [ "$(grep -c 'PTY is' socat.log)" -ge 2 ] && break; sleep 0.1; done
PROGRAM_END="$(grep -o 'PTY is [^ ]*' socat.log | sed -n 1p | cut -d' ' -f3)"
LOGGER_END="$(grep -o 'PTY is [^ ]*' socat.log | sed -n 2p | cut -d' ' -f3)"
now() { date +%s.%N; }
: >runs.txt
for run in $(seq "$RUNS"); do
  rm -rf out.Tml downloads
  TORMEL_VUE_COM1="$PROGRAM_END" "$BIN/tormel_vue" --receive out.Tml --port 1 --timeout 30 2>receive.log &
  RECEIVER=$!
  for _ in $(seq 100); do grep -q listening receive.log && break; sleep 0.05; done
  start=$(now)
  "$BIN/tormel_vue_simulator" --chunk 16 "$ROOT/data/demo/demo_laps.Tml" "$LOGGER_END"
  last=$(now)
  wait $RECEIVER
  done=$(now)
  awk -v s="$start" -v l="$last" -v d="$done" -v r="$run" 'BEGIN {
    printf "run %d: last byte to accepted image %.0f ms; whole download %.3f s = %.3f x the line time\n",
           r, (d - l) * 1000, d - s, (d - s) / 2.13333 }' | tee -a runs.txt
  cmp -s <(head -c 2048 out.Tml) <(head -c 2048 "$ROOT/data/demo/demo_laps.Tml") || { echo "run $run: the image differs" >&2; exit 1; }
done
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
echo "median: last byte to accepted image $(grep -o 'image [0-9]* ms' runs.txt | awk '{print $2}' | median) ms;" \
     "whole download $(grep -o '= [0-9.]* x' runs.txt | awk '{print $2}' | median) x the line time"
