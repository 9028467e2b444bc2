#!/usr/bin/env bash
# Configures and builds one or more of the project's build trees under build/:
#   native  the portable core and its unit tests (Linux, ASan + UBSan)
#   win32   Orvex.OCX, Orvex_Demo.exe and the Windows-side tests, 32-bit
#   win64   the same sources for 64-bit Windows, to run the Windows-side tests
#           where the kernel cannot execute 32-bit code
#   build.sh [native|win32|win64]...   (default: native win32)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs=$(nproc 2>/dev/null || echo 2)

build_tree() {
  local name=$1 dir=$root/build/$1
  local args=(-S "$root" -B "$dir" -G "Unix Makefiles")
  case $name in
    native) ;;
    win32) args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake") ;;
    win64) args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake") ;;
    *) echo "build: unknown tree '$name'" >&2; exit 2 ;;
  esac
  echo "build: $name"
  [ -f "$dir/CMakeCache.txt" ] || cmake "${args[@]}" > "$root/build/$name-configure.log"
  cmake --build "$dir" -j"$jobs" > "$root/build/$name-build.log" 2>&1 || {
    tail -n 40 "$root/build/$name-build.log" >&2
    echo "build: $name failed (log: build/$name-build.log)" >&2
    exit 1
  }
}

mkdir -p "$root/build"
[ $# -gt 0 ] || set -- native win32
for tree in "$@"; do build_tree "$tree"; done
