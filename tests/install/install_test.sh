#!/usr/bin/env bash
# An install into a temporary prefix holds every file it should. Run by
# whoever runs the tests (root in CI) with an empty home, the installed
# program writes nothing under the prefix, reads the installed languages,
# lets a changed installed file reach a user who never edited theirs and
# keeps an entry the user edited; run read-only by an ordinary user, it
# keeps what it writes in that user's folders.   install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build="$1"; source="$2"
tmp="$(mktemp -d)"
chmod 755 "$tmp"  # the ordinary user below must reach its home in it
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
prefix="$tmp/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
app_id=example.tormel_vue.TormelVue
files=(bin/tormel_vue share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml
       share/mime/packages/tormel_vue.xml share/icons/hicolor/scalable/apps/tormel_vue.svg
       share/man/man1/tormel_vue.1.gz share/doc/tormel-vue/copyright share/doc/tormel-vue/changelog.Debian.gz
       share/doc/tormel-vue/examples/demo_laps.Tml share/doc/tormel-vue/examples/demo_rpm.Tml)
for n in 0 1 2 3 4 5; do
  for p in Textes Tips Menu Help; do files+=("share/tormel_vue/${p}_$n.txt"); done
done
for f in "${files[@]}"; do [ -f "$prefix/$f" ] || fail "$f is not installed"; done
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$prefix/share/applications/$app_id.desktop"; fi

# The manual page describes every option the program knows.
for option in $("$prefix/bin/tormel_vue" --help | grep -o -- '--[a-z]*' | sort -u); do
  zcat "$prefix/share/man/man1/tormel_vue.1.gz" | grep -q -- "\\\\-\\\\-${option#--}" || fail "the manual page lacks $option"
done

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

# An upgrade: a copy of the shipped Menu_2.txt (an older version's first
# start left one), a text table with one edited entry, then a newer shipped
# menu file.
english "$home"
cp "$prefix/share/tormel_vue/Menu_2.txt" "$user/"
printf '22,"  Round"\r\n' > "$user/Textes_2.txt"
sed -i 's/^km\/h\r$/km\/h new\r/' "$prefix/share/tormel_vue/Menu_2.txt"
cp "$source/data/demo/demo_laps.Tml" "$tmp/"
(cd "$tmp" && env -i HOME="$home" PATH=/usr/bin:/bin "$prefix/bin/tormel_vue" --export demo_laps.Tml out.xls)
case "$(header "$tmp/out.xls")" in "  Round|"*"km/h new"*) ;; *) fail "export header: $(header "$tmp/out.xls")";; esac
(cd "$home" && env -i HOME="$home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen timeout 5 "$prefix/bin/tormel_vue" >/dev/null 2>&1 || true)
[ ! -e "$user/Menu_2.txt" ] || fail "the window kept the copy of a shipped file"
[ -f "$user/Textes_2.txt" ] || fail "the window removed the user's own texts"

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
