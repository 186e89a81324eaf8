#!/usr/bin/env bash
# An install into a temporary prefix holds every file it should, and the
# installed program, read-only and run by an ordinary user with an empty
# home, keeps what it writes in that user's folders and reads its languages
# from the installed data.   install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build="$1"; source="$2"
tmp="$(mktemp -d)"
chmod 755 "$tmp"  # the ordinary user below must reach its home in it
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
prefix="$tmp/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
files=(bin/tormel_vue share/applications/tormel_vue.desktop share/mime/packages/tormel_vue.xml
       share/icons/hicolor/scalable/apps/tormel_vue.svg)
for n in 0 1 2 3 4 5; do
  for p in Textes Tips Menu Help; do
    [ -f "$source/data/lang/${p}_$n.txt" ] || [ -f "$source/data/help/${p}_$n.txt" ] && files+=("share/tormel_vue/${p}_$n.txt")
  done
done
for f in "${files[@]}"; do [ -f "$prefix/$f" ] || fail "$f is not installed"; done
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$prefix/share/applications/tormel_vue.desktop"; fi

# A read-only install, an empty home, and an ordinary user where the tests run as root.
chmod -R a-w "$prefix"
home="$tmp/home"; work="$tmp/work"
mkdir -p "$home" "$work"
cp "$source/data/demo/demo_laps.Tml" "$work/"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R 65534:65534 "$home" "$work"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
run() { (cd "$work" && "${as_user[@]}" env -i HOME="$home" PATH=/usr/bin:/bin "$@"); }

# The window's first start fills the per-user folder from the installed data.
run env QT_QPA_PLATFORM=offscreen timeout 5 "$prefix/bin/tormel_vue" >/dev/null 2>&1 || true
user="$home/.local/share/Tormel_Vue"
[ -f "$user/Menu_2.txt" ] || fail "the per-user folder got no language files"

# English in the per-user settings: the export speaks English.
printf '\x01\x00\x00\x00\x02\x00\x01\x00\xff\xff' > "$tmp/Tormport.dat"
"${as_user[@]}" cp "$tmp/Tormport.dat" "$user/Tormport.dat"
rm "$user"/Textes_2.txt  # read from the installed data instead
run "$prefix/bin/tormel_vue" --export demo_laps.Tml out.xls
head -c 200 "$work/out.xls" | tr '\t' '\n' | grep -qx '  Lap' || fail "the export is not in English: $(head -c 120 "$work/out.xls" | tr '\t\r\n' '|||')"
echo "install test passed"
