#!/usr/bin/env bash
# The release package as an integrator uses it, under Wine:
#   package_test.sh build/win32/package/Orvex-<version>.zip
# Checks the zip and its SHA256SUMS (and that damage to either is caught),
# then, for each bitness, unpacks it into a folder whose path has blanks,
# Chinese and characters the code page cannot write (Korean, a sharp s),
# runs register.cmd through Wine's cmd, both samples
# through cscript on the two-monitor display, an early-bound C++ client built
# against the package's include folder only, and unregister.cmd, looking into
# the registry after each script. The x86 part runs in the 32-bit prefix where
# ORVEX_WINEARCH is win32 (32-bit code runs here); the x64 part runs in the
# 64-bit prefix. A part that cannot run is reported as not run, never passed.
# Needs the display from display.sh. Ends with "package: N passed, N failed,
# N not run" and exits non-zero when anything failed.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
zip=$(realpath "$1")
work=$root/build/package-test
passed=0 failed=0 notrun=0

pass() { echo "ok $1"; passed=$((passed + 1)); }
fail() { echo "FAIL $1: $2"; failed=$((failed + 1)); }
skip() { echo "not run $1: $2"; notrun=$((notrun + 1)); }
expect() { local name=$1; shift; if "$@"; then pass "$name"; else fail "$name" "$*"; fi; }
not() { ! "$@"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# A GUID in registry form, from the row of the interface's definition that names it.
guid() { sed -n "s/^ORVEX_[A-Z]*($1, \([0-9A-F-]*\),.*/{\1}/p" "$root/control/LumivoxInterface.def"; }
clsid=$(guid Lumivox) libid=$(guid Orvex) iid=$(guid ILumivox) diid=$(guid ILumivoxEvents)
windows_path() { local p=${1//\//\\}; echo "Z:$p"; }

# Runs a Windows program in the prefix of $arch; console text comes as GBK.
wine_in() { ORVEX_WINEARCH=$arch bash "$root/scripts/wine-run.sh" "$@" 2>&1 | iconv -c -f GBK -t UTF-8; return "${PIPESTATUS[0]}"; }
key_present() { wine_in reg query "$1" $view > /dev/null; }
key_absent() { ! key_present "$1"; }

# Unpacks the zip into $2 and checks it: CRCs, checksums, every file there.
unpack_and_verify() {
  local zipfile=$1 into=$2 top
  rm -rf "$into" && mkdir -p "$into" || return 1
  unzip -tq "$zipfile" > /dev/null 2>&1 && unzip -q "$zipfile" -d "$into" || return 1
  top=$(echo "$into"/Orvex-*) && verify_files "$top"
}
verify_files() {
  local f
  for f in x86/Orvex.OCX x86/Orvex_Demo.exe x86/logo.jpg x64/Orvex.OCX logo.jpg register.cmd unregister.cmd \
           samples/play.vbs samples/play.js include/Orvex.idl include/Orvex.h README.txt SHA256SUMS; do
    [ -s "$1/$f" ] || return 1
  done
  (cd "$1" && sha256sum --quiet -c SHA256SUMS > /dev/null 2>&1)
}
# The PE machine field: 14c for x86, 8664 for x64.
pe_machine() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' '
}

mkdir -p "$work"
bytes=$(stat -c %s "$zip")
echo "package: $(basename "$zip"), $bytes bytes"
version=$(sed -n 's/^project(Orvex VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
expect "zip named by the project version" test "$(basename "$zip")" = "Orvex-$version.zip"
good=$work/good
expect "every file is there, CRCs and SHA256SUMS match" unpack_and_verify "$zip" "$good"
top=$(echo "$good"/Orvex-*)
expect "x86 files are 32-bit" test "$(pe_machine "$top/x86/Orvex.OCX")$(pe_machine "$top/x86/Orvex_Demo.exe")" = 014c014c
expect "x64 control is 64-bit" test "$(pe_machine "$top/x64/Orvex.OCX")" = 8664

# Damage is caught: a member's bytes changed inside the zip, and a file that
# no longer matches its checksum.
cp "$zip" "$work/damaged.zip"
printf 'DAMAGE' | dd of="$work/damaged.zip" bs=1 seek=$((bytes / 2)) conv=notrunc status=none
expect "a damaged zip member is caught" not unpack_and_verify "$work/damaged.zip" "$work/damaged"
printf 'x' >> "$top/logo.jpg"
expect "a file that does not match SHA256SUMS is caught" not verify_files "$top"

clip=$work/clip.mpg
[ -s "$clip" ] || ffmpeg -loglevel error -y -f lavfi -i testsrc=size=320x240:rate=25 \
  -f lavfi -i sine=frequency=440 -t 4 -c:v mpeg1video -c:a mp2 -f mpeg "$clip"

# What the registry and the samples show; $arch and $view come from run_part.
registered() { key_present "HKCR\\CLSID\\$clsid\\InprocServer32" && key_present 'HKCR\Orvex.Lumivox\CLSID'; }
unregistered() {
  key_absent "HKCR\\CLSID\\$clsid" && key_absent 'HKCR\Orvex.Lumivox' && key_absent "HKCR\\TypeLib\\$libid" &&
    key_absent "HKCR\\Interface\\$iid" && key_absent "HKCR\\Interface\\$diid"
}
# Played: the control polled the device playing, past position 0.
sample_played() { [ "$1" = 0 ] && grep -Eq '^(playing, position|status 2, position) [1-9]' "$2"; }
sample_opened() { [ "$1" = 0 ] && grep -q '^opened, length [1-9]' "$2" && grep -q '^closed' "$2"; }

# One sample through cscript; $1 script, $2 the file with its output. Where the
# script host cannot sleep, the VBScript sample waits in a message box: press
# its OK button once it has played a while.
run_sample() {
  local script=$1 out=$2 started pid closer=$work/close_window-$arch.exe
  : > "$out"
  # Straight to the file (the samples print ASCII), so its lines show at once.
  ORVEX_WINEARCH=$arch bash "$root/scripts/wine-run.sh" cscript //nologo \
    "$(windows_path "$dir/samples/$script")" "$(windows_path "$dir/样片 clip.mpg")" 3 > "$out" 2>&1 &
  pid=$!
  started=$SECONDS
  until grep -q '^opened' "$out" || ! kill -0 "$pid" 2> /dev/null || [ $((SECONDS - started)) -gt 120 ]; do sleep 0.1; done
  [ -n "${opened_ms:-}" ] || opened_ms=$(now_ms)
  if [ "$script" = play.vbs ] && grep -q '^opened' "$out"; then
    sleep 2.5
    wine_in "$closer" "Orvex sample" 15 > /dev/null
  fi
  wait "$pid"
}

# The file the prefix has registered for the class, as the registry names it;
# nothing when none is.
registered_file() {
  wine_in reg query "HKCR\\CLSID\\$clsid\\InprocServer32" /ve $view |
    sed -n 's/.*REG_SZ[[:space:]]*//p' | tr -d '\r'
}

# The early-bound client: compiled by the mingw C++ compiler of $arch with the
# unpacked include folder as its only include path, run against the control
# register.cmd registered. Its checks print "ok ..." or "FAIL ..."; its output
# is kept in $work.
early_bound() {
  local exe=$work/early_bound-$arch.exe out=$work/$part-early-bound.out
  "${cxx}" -O2 -static -municode -I "$dir/include" -o "$exe" "$root/tests/package/early_bound.cpp" \
    -lole32 -loleaut32 -luuid > "$out" 2>&1 || return 1
  wine_in "$exe" "$(windows_path "$dir/样片 clip.mpg")" >> "$out" || return 1
  grep -q '^ok Release' "$out" && ! grep -q '^FAIL' "$out"
}

# One bitness: $1 x86 or x64, $2 the Wine architecture of its prefix. The
# prefix's own registration (the build's control, which the benchmarks and
# other programs use) is registered again at the end.
run_part() {
  local part=$1 arch=$2 view= rc start_ms registered_ms sample_ms before cc cxx
  [ "$part" = x64 ] && view=/reg:64
  before=$(registered_file)
  dir="$work/安装 목록 ß $part/$(basename "$zip" .zip)"
  cc=$(ORVEX_WINEARCH=$arch bash -c 'source "$0/scripts/wine-env.sh"; echo $ORVEX_MINGW_CC' "$root")
  cxx=${cc%gcc}g++
  "$cc" -O2 -static -o "$work/close_window-$arch.exe" "$root/tools/close_window.c" -luser32
  start_ms=$(now_ms) opened_ms=
  expect "$part: unpacked into a path with a blank and Chinese characters" unpack_and_verify "$zip" "${dir%/*}"
  cp "$clip" "$dir/样片 clip.mpg"

  out=$(wine_in cmd /c "$(windows_path "$dir/register.cmd")" "$part"); rc=$?
  registered_ms=$(now_ms)
  expect "$part: register.cmd exits 0 and says so" test "$rc:$(grep -c '^OK: .* registered' <<< "$out")" = 0:1
  expect "$part: class and ProgID registered" registered

  # The user's steps only: unpacking, register.cmd, the sample up to playing.
  sample_ms=$(now_ms)
  run_sample play.vbs "$work/$part-vbs.out"; rc=$?
  echo "package: $part unpack to playing: $((registered_ms - start_ms + opened_ms - sample_ms)) ms" \
    "(unpack and register $((registered_ms - start_ms)) ms, sample start to playing $((opened_ms - sample_ms)) ms)"
  expect "$part: VBScript sample played and exited 0" sample_played "$rc" "$work/$part-vbs.out"
  run_sample play.js "$work/$part-js.out"; rc=$?
  expect "$part: JScript sample opened the clip, closed and exited 0" sample_opened "$rc" "$work/$part-js.out"
  expect "$part: an early-bound C++ client built against include/ only passes its checks" early_bound

  out=$(wine_in cmd /c "$(windows_path "$dir/unregister.cmd")" "$part"); rc=$?
  expect "$part: unregister.cmd exits 0 and says so" test "$rc:$(grep -c '^OK: .* unregistered' <<< "$out")" = 0:1
  expect "$part: class, ProgID and type library gone" unregistered
  if [ -n "$before" ]; then
    wine_in regsvr32 /s "$before" > /dev/null
    expect "$part: the prefix's earlier registration is back" test "$(registered_file)" = "$before"
  fi
}

if [ "${ORVEX_WINEARCH:-win32}" = win32 ]; then
  run_part x86 win32
else
  skip "x86 part" "this machine does not run 32-bit code (ORVEX_WINEARCH=$ORVEX_WINEARCH)"
fi
if /usr/lib/wine/wine64 --version > /dev/null 2>&1; then
  run_part x64 win64
else
  skip "x64 part" "64-bit Wine does not run here"
fi

# register.cmd away from the control files fails with its message.
arch=${ORVEX_WINEARCH:-win32}
lonely="$work/空 文件夹"
rm -rf "$lonely" && mkdir -p "$lonely" && cp "$top/register.cmd" "$lonely/"
out=$(wine_in cmd /c "$(windows_path "$lonely/register.cmd")"); rc=$?
expect "register.cmd without the OCX beside it fails with its message" \
  test "$((rc != 0)):$(grep -c 'a file is missing' <<< "$out")" = 1:1

echo "package: $passed passed, $failed failed, $notrun not run"
[ "$failed" -eq 0 ]
