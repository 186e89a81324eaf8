# Shared by scripts/run and scripts/test: install what is missing, configure, build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev qt6-serialport-dev libgl-dev
                libgtest-dev libgmock-dev googletest libbenchmark-dev fonts-dejavu-core
                xdg-utils qt6-translations-l10n socat poppler-utils libqt6sql6-sqlite
                libqcustomplot-dev)
# scripts/test: clang-tidy for the checks of .clang-tidy (the function size).
TIDY_PACKAGES=(clang-tidy)
# scripts/fuzz: clang with libFuzzer's runtime, and llvm for readable stacks.
FUZZ_PACKAGES=(clang libclang-rt-14-dev llvm-14)
# scripts/package: the package tools, Debian's own checks of a package and of
# its desktop and AppStream files, and rsvg-convert for the PNG icons.
PACKAGE_PACKAGES=(dpkg-dev desktop-file-utils lintian appstream librsvg2-bin)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

ensure_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# configure_and_build BUILD_DIR BUILD_TYPE [extra cmake args...] -- [targets...]
configure_and_build() {
  local dir="$1" type="$2"; shift 2
  local cmake_args=() targets=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do cmake_args+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  targets=("$@")
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "${cmake_args[@]}" >/dev/null
  if [ ${#targets[@]} -gt 0 ]; then
    cmake --build "$dir" --target "${targets[@]}"
  else
    cmake --build "$dir"
  fi
}

# check_sources BUILD_DIR: clang-tidy with the root's .clang-tidy over every
# source of src/ that BUILD_DIR compiles, two at a time; any warning fails.
# A source is checked again only when its object file or .clang-tidy is newer
# than its last clean check: a rebuild of a few files costs a few checks.
check_sources() {
  local dir="$1"
  python3 - "$dir/compile_commands.json" "$ROOT" <<'PY' |
import json, os, shlex, sys
root = os.path.realpath(sys.argv[2])
seen = set()
for entry in json.load(open(sys.argv[1])):
    source = os.path.realpath(entry['file'])
    relative = os.path.relpath(source, root)
    if relative.startswith('src' + os.sep) and source not in seen:
        seen.add(source)
        args = shlex.split(entry['command'])
        print('\t'.join((source, os.path.join(entry['directory'], args[args.index('-o') + 1]), relative)))
if not seen:
    sys.exit('no source of src/ in ' + sys.argv[1])
PY
  while IFS=$'\t' read -r source object relative; do
    local stamp="$dir/clang-tidy-passed/$relative"
    [ "$stamp" -nt "$object" ] && [ "$stamp" -nt "$ROOT/.clang-tidy" ] && continue
    printf '%s\0%s\0' "$source" "$stamp"
  done | xargs -0 -r -n 2 -P 2 sh -c '
    if out=$(clang-tidy --quiet -p "$0" "$1" 2>&1); then mkdir -p "$(dirname "$2")" && touch "$2"
    else printf "%s\n" "$out" | grep -v " generated\.$"; exit 1; fi' "$dir"
}
