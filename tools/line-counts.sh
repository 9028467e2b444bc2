#!/usr/bin/env bash
# Lines of product code, tests, benchmarks and scripts in a checkout (default:
# this one): C, C++, IDL and resource sources, CMake files and shell scripts.
#   bash tools/line-counts.sh [checkout]
set -euo pipefail
root=${1:-"$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"}
cd "$root"
count() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.idl' -o -name '*.def' -o -name '*.rc' \
       -o -name '*.cmake' -o -name 'CMakeLists.txt' -o -name '*.sh' -o -name '*.vbs' -o -name '*.js' \
       -o -name '*.cmd' \) -print0 2>/dev/null | xargs -0 cat | wc -l
}
product=$(ls -d about automation control demo message video win cmake package CMakeLists.txt 2>/dev/null || true)
echo "product: $(count $product)"
echo "tests: $(count tests fuzz)"
echo "benchmarks: $(count bench)"
echo "scripts and tools: $(count scripts tools)"
