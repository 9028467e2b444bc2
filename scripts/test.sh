#!/usr/bin/env bash
# Runs every test: the native unit tests of the portable core (with the checks
# of the shipped 32-bit files), then the Windows-side suite under Wine on the
# virtual two-monitor display, against the win32 tree (the files that ship;
# natively or through QEMU where the kernel refuses 32-bit code) and the win64
# tree, then the release package as a user handles it. Installs and builds what
# is missing first. Ends with one summary line
# "tests: N passed, N failed"; exits non-zero when anything failed.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash scripts/install-packages.sh || exit 1
if i386=$(bash scripts/i386-support.sh); then
  win_trees=(win32 win64)
else
  i386=
  win_trees=(win64)
  echo "test: 32-bit programs cannot run here (see the line above): the win32 suite is NOT run" >&2
fi
bash scripts/build.sh native win32 win64 package || exit 1

passed=0
failed=0
# Adds the counts of one tree's GoogleTest reports; a test program that left
# no report (it crashed or hung) counts as one failure. Clean-up steps (label
# "cleanup", such as putting the display layout back) are not counted.
count_results() {
  local dir=$1 name report line total fails errors
  for name in $(cd "$dir" && ctest -N -LE cleanup -FA '.*' | sed -n 's/^ *Test *#[0-9]*: //p'); do
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

# "<tree> <how>: N passed, N failed" for the summary's preamble.
ran=()
note_tree() { ran+=("$1 ($2): $((passed - $3)) passed, $((failed - $4)) failed"); }

run_ctest build/native
count_results build/native
# The stream loader under libFuzzer for a while; one more passed or failed test.
if bash scripts/fuzz.sh "${ORVEX_FUZZ_SECONDS:-60}"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi
note_tree native "Linux, with the fuzzing run" 0 0

started_display=0
for tree in "${win_trees[@]}"; do
  export ORVEX_WINEARCH=$tree
  p0=$passed f0=$failed
  how="64-bit Wine"
  [ "$tree" = win32 ] && how="32-bit Wine, $i386"
  if ! bash scripts/wine-prefix.sh; then
    echo "test: the $tree Wine prefix could not be made" >&2
    failed=$((failed + 1))
    note_tree "$tree" "$how" "$p0" "$f0"
    continue
  fi
  if [ "$started_display" = 0 ] && ! bash scripts/display.sh status > /dev/null 2>&1; then
    bash scripts/display.sh start || exit 1
    started_display=1
  fi
  eval "$(bash scripts/display.sh env)"
  run_ctest "build/$tree"
  count_results "build/$tree"
  note_tree "$tree" "$how" "$p0" "$f0"
done

# The release zip unpacked, registered, scripted and removed as a user would:
# its x86 part where 32-bit programs run, its x64 part in 64-bit Wine.
p0=$passed f0=$failed
export ORVEX_WINEARCH=win64
[ -n "$i386" ] && export ORVEX_WINEARCH=win32
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
notrun=$(sed -n 's/.* \([0-9]*\) not run.*/\1/p' <<< "$package_line")
note_tree package "the release zip under Wine; ${notrun:-?} checks not run" "$p0" "$f0"
[ "$started_display" = 1 ] && bash scripts/display.sh stop

for line in "${ran[@]}"; do echo "test: ran $line"; done
[ -n "$i386" ] || echo "test: NOT run: the win32 suite (32-bit programs cannot run on this machine)"
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
