#!/usr/bin/env bash
# The version is written once, in project() of CMakeLists.txt, and named by
# the Debian changelog's newest entry: the check scripts/package runs refuses
# a difference, and what the build generates shows that version.
#   version_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source="$1"; build="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
check() { cmake -DSOURCE_DIR="$1" -P "$source/cmake/CheckVersion.cmake" 2>&1; }

version="$(sed -n 's/^project(tormel_vue VERSION \([0-9.]*\) .*/\1/p' "$source/CMakeLists.txt")"
[ -n "$version" ] || fail "no version in project()"
check "$source" >/dev/null || fail "the changelog does not name $version: $(check "$source")"

# CMake's version bumped alone is refused; a changelog entry for it passes,
# its revision and date read.
mkdir -p "$tmp/data/package"
sed "s/^project(tormel_vue VERSION [0-9.]*/project(tormel_vue VERSION 99.0.1/" "$source/CMakeLists.txt" > "$tmp/CMakeLists.txt"
cp "$source/data/package/changelog" "$tmp/data/package/"
! check "$tmp" >/dev/null || fail "a changelog naming $version passed for 99.0.1"
{ printf 'tormel-vue (99.0.1-2) unstable; urgency=medium\n\n  * Next.\n\n'
  printf ' -- Tormel_Vue maintainers <maintainers@tormel-vue.example>  Tue, 8 Dec 2026 12:00:00 +0000\n\n'
  cat "$source/data/package/changelog"; } > "$tmp/data/package/changelog"
out="$(check "$tmp")" || fail "a changelog naming 99.0.1 was refused: $out"
grep -q "package 99.0.1-2 of 2026-12-08" <<<"$out" || fail "the newest entry read as: $out"

# What the build generated names the same version.
[ "$(QT_QPA_PLATFORM=offscreen "$build/bin/tormel_vue" --version)" = "tormel_vue $version" ] || fail "--version"
for page in tormel_vue tormel_vue_simulator; do
  head -1 "$build/data/$page.1" | grep -qF "\"Tormel_Vue $version\"" || fail "$page.1: $(head -1 "$build/data/$page.1")"
done
grep -q "<release version=\"$version\" date=\"[0-9-]*\"/>" "$build/data/example.tormel_vue.TormelVue.metainfo.xml" \
  || fail "the AppStream release"
# No other tracked file holds it.
if git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
  others="$(git -C "$source" grep -lF "$version" -- ':!CMakeLists.txt' ':!data/package/changelog' || true)"
  [ -z "$others" ] || fail "the version is written in $others"
fi
echo "version test passed"
