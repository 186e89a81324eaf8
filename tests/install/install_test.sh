#!/usr/bin/env bash
# An install into a temporary prefix holds every file it should. Run by
# whoever runs the tests (root in CI) with an empty home, the installed
# program writes nothing under the prefix, reads the installed languages,
# lets a changed installed file reach a user who never edited theirs and
# keeps an entry the user edited; run read-only by an ordinary user, it
# keeps what it writes in that user's folders. The logger simulator and the
# examples' track file come with it, and records are known whatever the case
# of their extension.   install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build="$1"; source="$2"
tmp="$(mktemp -d)"
chmod 755 "$tmp"  # the ordinary user below must reach its home in it
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
prefix="$tmp/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
app_id=example.tormel_vue.TormelVue
files=(bin/tormel_vue bin/tormel_vue_simulator share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml
       share/mime/packages/tormel_vue.xml share/icons/hicolor/scalable/apps/tormel_vue.svg
       share/man/man1/tormel_vue.1.gz share/man/man1/tormel_vue_simulator.1.gz
       share/doc/tormel-vue/copyright share/doc/tormel-vue/changelog.Debian.gz
       share/doc/tormel-vue/examples/demo_laps.Tml share/doc/tormel-vue/examples/demo_rpm.Tml
       share/doc/tormel-vue/examples/Pistes.aqw)
for n in 0 1 2 3 4 5; do
  for p in Textes Tips Menu Help; do files+=("share/tormel_vue/${p}_$n.txt"); done
done
for f in "${files[@]}"; do [ -f "$prefix/$f" ] || fail "$f is not installed"; done
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$prefix/share/applications/$app_id.desktop"; fi

# Each manual page describes every option its program knows.
for program in tormel_vue tormel_vue_simulator; do
  for option in $("$prefix/bin/$program" --help | grep -o -- '--[a-z-]*[a-z]' | sort -u); do
    pattern="$(sed 's/-/\\\\-/g' <<<"$option")"  # the page writes each dash as \-
    zcat "$prefix/share/man/man1/$program.1.gz" | grep -q -- "$pattern" || fail "the manual page of $program lacks $option"
  done
done
# The help names the installed simulator.
grep -q "tormel_vue_simulator" "$prefix/share/tormel_vue/Help_2.txt" || fail "the help does not name tormel_vue_simulator"
# X.TML is a record as X.Tml is: the file type's glob ignores case.
if command -v update-mime-database >/dev/null; then
  mkdir -p "$tmp/mime/packages"
  cp "$prefix/share/mime/packages/tormel_vue.xml" "$tmp/mime/packages/"
  update-mime-database "$tmp/mime" >/dev/null 2>&1
  [ "$(grep tormel "$tmp/mime/globs2")" = "50:application/x-tormel-record:*.tml" ] || fail "globs: $(grep tormel "$tmp/mime/globs2")"
fi

listing() { find "$prefix" -printf '%p %s %T@\n' | sort; }
# English in the settings of the user whose home is $1.
english() { mkdir -p "$1/.local/share/Tormel_Vue"; printf '\x01\x00\x00\x00\x02\x00\x01\x00\xff\xff' > "$1/.local/share/Tormel_Vue/Tormport.dat"; }
# The cells of the header line of an export.
header() { sed -n 2p "$1" | tr -d '\r' | tr '\t' '|'; }

# Whoever runs it, root included: the window, started from the home folder,
# works in the documents folder and finds every language file.
home="$tmp/home"; mkdir -p "$home"
before="$(listing)"
err="$(cd "$home" && env -i HOME="$home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen timeout 5 "$prefix/bin/tormel_vue" 2>&1 >/dev/null || true)"
grep -q "working in $home/Documents/Tormel_Vue" <<<"$err" || fail "the window did not start: $err"
! grep -q "missing or defective" <<<"$err" || fail "a language file was not found: $err"
[ "$(listing)" = "$before" ] || fail "something was written under the prefix"
user="$home/.local/share/Tormel_Vue"
# Only the library's index is made there, never a copy of a shipped file.
[ -z "$(ls -A "$user" | grep -v '^library\.sqlite')" ] || fail "files were copied into the per-user folder: $(ls "$user")"

# An upgrade: the translation tools wrote the user's whole Menu_2.txt and
# Textes_2.txt, each with one entry of the user's own; a copy of the shipped
# Tips_2.txt (an older version's first start left one); then a newer package
# changes texts the user never touched.
english "$home"
sed 's/^Help\r$/Guide\r/' "$prefix/share/tormel_vue/Menu_2.txt" > "$user/Menu_2.txt"
sed 's/^22,".*"\r$/22,"  Round"\r/' "$prefix/share/tormel_vue/Textes_2.txt" > "$user/Textes_2.txt"
cp "$prefix/share/tormel_vue/Tips_2.txt" "$user/"
cmp -s "$user/Menu_2.txt" "$prefix/share/tormel_vue/Menu_2.txt" && fail "no entry of the user's"
sed -i 's/^km\/h\r$/km\/h new\r/' "$prefix/share/tormel_vue/Menu_2.txt"
sed -i 's/^23,".*"\r$/23,"Stint"\r/' "$prefix/share/tormel_vue/Textes_2.txt"
cp "$source/data/demo/demo_laps.Tml" "$tmp/"
(cd "$tmp" && env -i HOME="$home" PATH=/usr/bin:/bin "$prefix/bin/tormel_vue" --export demo_laps.Tml out.xls)
case "$(header "$tmp/out.xls")" in "  Round|Stint|"*"km/h new"*) ;; *) fail "export header: $(header "$tmp/out.xls")";; esac
(cd "$home" && env -i HOME="$home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen timeout 5 "$prefix/bin/tormel_vue" >/dev/null 2>&1 || true)
[ ! -e "$user/Tips_2.txt" ] || fail "the window kept the copy of a shipped file"
[ -f "$user/Textes_2.txt" ] && [ -f "$user/Menu_2.txt" ] || fail "the window removed the user's own texts"

# A read-only install run by an ordinary user where the tests run as root.
if [ "$(id -u)" -eq 0 ]; then
  chmod -R a-w "$prefix"
  other="$tmp/other"; work="$tmp/work"
  mkdir -p "$other" "$work"
  english "$other"
  cp "$source/data/demo/demo_laps.Tml" "$work/"
  chown -R 65534:65534 "$other" "$work"
  (cd "$work" && setpriv --reuid=65534 --regid=65534 --clear-groups env -i HOME="$other" PATH=/usr/bin:/bin \
     "$prefix/bin/tormel_vue" --export demo_laps.Tml out.xls)
  case "$(header "$work/out.xls")" in "  Lap|"*) ;; *) fail "the export is not in English: $(header "$work/out.xls")";; esac
fi
echo "install test passed"
