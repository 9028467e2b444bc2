#!/usr/bin/env bash
# Configures and builds one or more of the project's build trees under build/:
#   native  the portable core and its unit tests (Linux, ASan + UBSan)
#   win32   Orvex.OCX, Orvex_Demo.exe and the Windows-side tests, 32-bit
#   win64   the same sources for 64-bit Windows, to run the Windows-side tests
#           where the kernel cannot execute 32-bit code
#   package the release zip, build/win32/package/Orvex-<version>.zip, from the
#           win32 tree and the win64 tree's Orvex.OCX (both built as needed)
#   build.sh [native|win32|win64|package]...   (default: native win32)
# Where 32-bit programs cannot run (scripts/wine-arch.sh says win64), win32
# embeds the type library that win64 writes (the same bytes as the 32-bit
# writer's), so win64 is built first.
# One commit gives the same bytes: SOURCE_DATE_EPOCH, unless set, is the
# commit's time (a fixed date outside git), for every tool that stamps a time.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs=$(nproc 2>/dev/null || echo 2)
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null) || SOURCE_DATE_EPOCH=946684800
fi
export SOURCE_DATE_EPOCH

# build_tree <tree> [target...]: configures the tree and builds
# the targets (all by default).
build_tree() {
  local name=$1 dir=$root/build/$1 targets=()
  shift
  for target in "$@"; do targets+=(--target "$target"); done
  local args=(-S "$root" -B "$dir" -G "Unix Makefiles") typelib=
  case $name in
    native) ;;
    win32)
      args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake")
      # Where 32-bit programs cannot run, the type library generator cannot
      # run in this tree: it embeds the 32-bit library the win64 tree writes.
      # Given on every run (empty: generate), so the cache never keeps an old one.
      [ "$arch" = win64 ] && typelib=$root/build/win64/Orvex-win32.tlb
      args+=(-DORVEX_TYPELIB:FILEPATH="$typelib") ;;
    win64) args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake") ;;
    *) echo "build: unknown tree '$name'" >&2; exit 2 ;;
  esac
  echo "build: $name"
  cmake "${args[@]}" > "$root/build/$name-configure.log"
  cmake --build "$dir" -j"$jobs" "${targets[@]}" > "$root/build/$name-build.log" 2>&1 || {
    tail -n 40 "$root/build/$name-build.log" >&2
    echo "build: $name failed (log: build/$name-build.log)" >&2
    exit 1
  }
}

mkdir -p "$root/build"
[ $# -gt 0 ] || set -- native win32
arch=$(bash "$root/scripts/wine-arch.sh")
trees=("$@")
if [ "$arch" = win64 ] && [[ " $* " == *" win32 "* ]]; then
  # win64 goes first (and is added if missing): win32 takes its type library.
  trees=(win64)
  for tree in "$@"; do [ "$tree" = win64 ] || trees+=("$tree"); done
fi
want_package=0
if [[ " ${trees[*]} " == *" package "* ]]; then
  want_package=1
  # The package takes the 64-bit control from the win64 tree: build at least
  # that first (win32 embeds its type library where 32-bit code cannot run).
  if [[ " ${trees[*]} " != *" win64 "* ]]; then build_tree win64 Orvex; fi
  rest=()
  for tree in "${trees[@]}"; do [ "$tree" = package ] || rest+=("$tree"); done
  trees=("${rest[@]}")
fi
for tree in "${trees[@]}"; do build_tree "$tree"; done
if [ "$want_package" = 1 ] && [[ " ${trees[*]} " != *" win32 "* ]]; then
  # What the package takes from the win32 tree, without its tests.
  build_tree win32 Orvex Orvex_Demo orvex_host_include orvex_reference
fi
if [ "$want_package" = 1 ]; then
  echo "build: package"
  (cd "$root/build/win32" && cpack > "$root/build/package.log" 2>&1) || {
    tail -n 20 "$root/build/package.log" >&2
    echo "build: package failed (log: build/package.log)" >&2
    exit 1
  }
  sed -n 's/^CPack: - package: \(.*\) generated\./build: \1/p' "$root/build/package.log"
fi
