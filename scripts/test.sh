#!/usr/bin/env bash
# Runs every test: the native unit tests of the portable core, then the
# Windows-side tests under Wine on the virtual two-monitor display, then the
# release package as a user handles it. Installs and builds what is missing
# first. Ends with one summary line
# "tests: N passed, N failed"; exits non-zero when anything failed.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash scripts/install-packages.sh || exit 1
arch=$(bash scripts/wine-arch.sh)
export ORVEX_WINEARCH=$arch
trees=(native win32)
[ "$arch" = win64 ] && trees+=(win64)
trees+=(package)
bash scripts/build.sh "${trees[@]}" || exit 1

passed=0
failed=0
# Adds the counts of one tree's GoogleTest reports; a test program that left
# no report (it crashed or hung) counts as one failure.
count_results() {
  local dir=$1 name report line total fails errors
  for name in $(cd "$dir" && ctest -N | sed -n 's/^ *Test *#[0-9]*: //p'); do
    report=$dir/test-results/$name.xml
    if [ ! -f "$report" ]; then
      echo "test: $name left no report" >&2
      failed=$((failed + 1))
      continue
    fi
    line=$(grep -m1 '<testsuites ' "$report")
    total=$(sed -n 's/.* tests="\([0-9]*\)".*/\1/p' <<< "$line")
    fails=$(sed -n 's/.* failures="\([0-9]*\)".*/\1/p' <<< "$line")
    errors=$(sed -n 's/.* errors="\([0-9]*\)".*/\1/p' <<< "$line")
    passed=$((passed + total - fails - errors))
    failed=$((failed + fails + errors))
    echo "test: $name: $((total - fails - errors)) of $total passed"
  done
}

run_ctest() {
  local dir=$1
  rm -f "$dir"/test-results/*.xml
  (cd "$dir" && ctest --output-on-failure --timeout 900)
}

run_ctest build/native
count_results build/native
# The stream loader under libFuzzer for a while; one more passed or failed test.
if bash scripts/fuzz.sh "${ORVEX_FUZZ_SECONDS:-60}"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi
native_passed=$passed

bash scripts/wine-prefix.sh || exit 1
started_display=0
if ! bash scripts/display.sh status > /dev/null 2>&1; then
  bash scripts/display.sh start || exit 1
  started_display=1
fi
eval "$(bash scripts/display.sh env)"
run_ctest "build/$arch"
count_results "build/$arch"
# The release zip unpacked, registered, scripted and removed as a user would.
package_log=build/package-test.log
bash tests/package/package_test.sh build/win32/package/Orvex-*.zip 2>&1 | tee "$package_log" | grep -v '^ALSA'
package_line=$(grep '^package: [0-9]* passed, [0-9]* failed' "$package_log" | tail -n 1)
if [ -n "$package_line" ]; then
  passed=$((passed + $(sed 's/^package: \([0-9]*\) passed.*/\1/' <<< "$package_line")))
  failed=$((failed + $(sed 's/.* \([0-9]*\) failed.*/\1/' <<< "$package_line")))
else
  echo "test: the package test left no summary" >&2
  failed=$((failed + 1))
fi
[ "$started_display" = 1 ] && bash scripts/display.sh stop

echo "test: $native_passed native tests (with the fuzzing run) passed; Windows-side tests ran as $arch under Wine"
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
