#!/usr/bin/env bash
# What the program answers, writes and shows, captured into a folder, so that
# two builds can be compared file by file (diff -r).
#   tools/capture.sh BIN_FOLDER OUT_FOLDER [SOURCE_TREE]
# BIN_FOLDER holds tormel_vue; the language files and demo records are those
# of SOURCE_TREE (default: this one), the tree it was built from. Each run has a home,
# a program folder and a working folder of its own, with the demo track.
set -uo pipefail
ROOT="$(cd "${3:-$(dirname "${BASH_SOURCE[0]}")/..}" && pwd)"
OUT="$(mkdir -p "$2" && cd "$2" && pwd)"
# One fixed working folder, so that paths written into reports are the same
# from one capture to the next.
WORK="${TMPDIR:-/tmp}/tormel_capture.$(id -u)"
rm -rf "$WORK" && mkdir -p "$WORK"
trap 'rm -rf "$WORK"' EXIT
# A portable copy: the executable beside the shipped language and help files,
# so that its program folder is its own.
BIN="$WORK/bin"
mkdir -p "$BIN"
cp "$1/tormel_vue" "$BIN/"
cp "$ROOT"/data/lang/*.txt "$ROOT"/data/help/*.txt "$BIN/" 2>/dev/null
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_DATA_HOME="$WORK/home/.local/share"
mkdir -p "$HOME" "$WORK/run" "$WORK/records"
cd "$WORK/run"
cp "$ROOT/data/demo/Pistes.aqw" .
cp "$ROOT/data/demo/demo_laps.Tml" "$ROOT/data/demo/demo_rpm.Tml" "$WORK/records/"
# Generated records beside the demo ones: another logger's laps, and a file cut short.
python3 - "$WORK/records" <<'EOF'
import sys, pathlib
folder = pathlib.Path(sys.argv[1])
laps = bytearray((folder / 'demo_laps.Tml').read_bytes())
laps[1] ^= 1
(folder / 'other_logger.Tml').write_bytes(bytes(laps))
(folder / 'cut_short.Tml').write_bytes((folder / 'demo_rpm.Tml').read_bytes()[:1000])
EOF
# A session's date is its file's time when its name gives none.
touch -d "2026-05-01 10:00:00" "$WORK"/records/*.Tml
vue() { "$BIN/tormel_vue" "$@"; }
answer() {  # name, then the command's arguments: its output, errors and exit code
  local name=$1; shift
  vue "$@" >"$OUT/$name.out" 2>"$OUT/$name.err"
  echo "exit $?" >>"$OUT/$name.out"
  sed -i "s|$WORK|WORK|g" "$OUT/$name.out" "$OUT/$name.err"
}
answer help --help
answer version --version
for r in "$WORK"/records/*.Tml; do
  n=$(basename "$r" .Tml)
  answer "export_$n" --export "$r" "$OUT/export_$n.xls"
  sed -i '1s/^[0-9-]*\t[0-9:]*/DATE\tTIME/' "$OUT/export_$n.xls"  # the time of the export
  answer "report_$n" --report "$r" "$WORK/$n.pdf"
  [ -f "$WORK/$n.pdf" ] && pdftotext -layout "$WORK/$n.pdf" "$OUT/report_$n.txt"
done
mkdir -p "$OUT/batch"
answer batch --export "$WORK"/records/*.Tml --to "$OUT/batch"
sed -i '1s/^[0-9-]*\t[0-9:]*/DATE\tTIME/' "$OUT"/batch/*
answer library --library "$WORK/records"
answer library_json --library "$WORK/records" --format json
# The window over each demo record, at two screen sizes.
for size in 1280x1024 1024x768; do
  for n in demo_laps demo_rpm; do
    xvfb-run -a -s "-screen 0 ${size}x24" bash -c \
      "'$BIN/tormel_vue' '$WORK/records/$n.Tml' & pid=\$!; sleep 8; import -window root '$OUT/shot_${n}_$size.png'; kill \$pid" \
      >/dev/null 2>&1
  done
done
echo "captured into $OUT"
