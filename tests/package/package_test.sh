#!/usr/bin/env bash
# The release package as an integrator uses it, under Wine:
#   package_test.sh build/win32/package/Orvex-<version>.zip
# Checks the zip and its SHA256SUMS (and that damage to either is caught),
# renders its reference page in headless Chromium (screenshot kept as
# build/reference-page.png), then, for each bitness, follows the README's
# quick start command by command in a folder whose path has blanks, Chinese
# and characters the code page cannot write (Korean, a sharp s): unpack,
# verify, register, the VBScript sample. Then it runs the JScript sample, the
# early-bound C++ sample built against the package's include folder only, the
# samples' failure cases, and unregister.cmd, looking into the registry after
# each script. The x86 part runs in the 32-bit prefix where ORVEX_WINEARCH is
# win32 (32-bit code runs here); the x64 part runs in the 64-bit prefix. A
# part that cannot run is reported as not run, never passed. Needs the
# display from display.sh. Ends with "package: N passed, N failed, N not run"
# and exits non-zero when anything failed.
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
           samples/play.vbs samples/play.js samples/early_bound.cpp include/Orvex.idl include/Orvex.h \
           include/OrvexDispids.h README.txt reference.html SHA256SUMS; do
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

# The reference page as a browser shows it: Chromium renders it from the
# unpacked package; the text it read must hold both languages undamaged (a
# page read in the wrong encoding shows neither), and the screenshot is kept.
page_ok() {
  local dom
  dom=$(chromium --headless --no-sandbox --disable-gpu --dump-dom "file://$top/reference.html" 2> /dev/null) || return 1
  grep -q '对象的一生' <<< "$dom" && grep -q 'The life of an object' <<< "$dom" &&
    [ "$(grep -o '<h3 id="' <<< "$dom" | wc -l)" -ge 29 ] || return 1
  chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1280,2600 \
    --screenshot="$root/build/reference-page.png" "file://$top/reference.html" > /dev/null 2>&1
  [ -s "$root/build/reference-page.png" ]
}
if command -v chromium > /dev/null; then
  expect "the reference page renders in Chromium in both languages (build/reference-page.png)" page_ok
else
  skip "reference page" "chromium is not installed (scripts/install-packages.sh installs it)"
fi

clip=$work/clip.mpg
[ -s "$clip" ] || ffmpeg -loglevel error -y -f lavfi -i testsrc=size=320x240:rate=25 \
  -f lavfi -i sine=frequency=440 -t 4 -c:v mpeg1video -c:a mp2 -f mpeg "$clip"

# The quick start's commands: the lines "  > command" of the README's English
# half; the Chinese half must give the same ones.
readme_commands() {
  local half=$1
  tr -d '\r' < "$top/README.txt" | awk -v half="$half" '
    /^English$/ { english = 1 }
    /^  > / && ((half == "en") == (english == 1)) { sub(/^  > /, ""); print }'
}
quick_start=$(readme_commands en)
expect "the README's quick start gives the same commands in both languages" \
  test -n "$quick_start" -a "$quick_start" = "$(readme_commands zh)"

# What the registry and the samples show; $arch and $view come from run_part.
registered() { key_present "HKCR\\CLSID\\$clsid\\InprocServer32" && key_present 'HKCR\Orvex.Lumivox\CLSID'; }
unregistered() {
  key_absent "HKCR\\CLSID\\$clsid" && key_absent 'HKCR\Orvex.Lumivox' && key_absent "HKCR\\TypeLib\\$libid" &&
    key_absent "HKCR\\Interface\\$iid" && key_absent "HKCR\\Interface\\$diid"
}
# Played: the control polled the device playing, past position 0, and closed.
sample_played() {
  [ "$1" = 0 ] && grep -Eq '^(playing, position|status 2, position) [1-9]' "$2" && grep -q '^closed' "$2"
}
# A script sample: where the script host cannot sleep (Wine's) nothing
# dispatches the control's messages while it waits, so it cannot see the
# poller; it opened the clip, waited, closed cleanly and exited 0.
script_sample_ran() {
  if grep -q '^playing, position' "$2"; then sample_played "$@"; return; fi
  [ "$1" = 0 ] && grep -q '^opened, length [1-9]' "$2" && grep -q '^closed' "$2"
}

# A Windows command line (words without quotes) run by Wine's cmd in the
# folder $here, which Wine takes as the current folder from ours; its output
# (console text as GBK) into the file $1, its exit status returned. The time
# the output first says "opened" is kept in opened_ms.
in_folder() {
  local out=$1 pid words
  read -ra words <<< "$2"
  : > "$out"
  (cd "$here" && exec env ORVEX_WINEARCH=$arch bash "$root/scripts/wine-run.sh" cmd /c "${words[@]}") \
    < /dev/null > "$out" 2>&1 &
  pid=$!
  opened_ms=
  while kill -0 "$pid" 2> /dev/null; do
    [ -n "$opened_ms" ] || ! grep -q '^opened' "$out" || opened_ms=$(now_ms)
    sleep 0.1
  done
  wait "$pid"
  local rc=$?
  [ -n "$opened_ms" ] || ! grep -q '^opened' "$out" || opened_ms=$(now_ms)
  return $rc
}

# The registered file of each registry view of this prefix, to put back after.
registered_file() {
  wine_in reg query "HKCR\\CLSID\\$clsid\\InprocServer32" /ve $1 |
    sed -n 's/.*REG_SZ[[:space:]]*//p' | tr -d '\r'
}

# The quick start as the README writes it, in $here (which holds the zip): tar
# (Windows' tar is bsdtar, run here as such), cd, the checksum command, then
# the Windows commands through Wine's cmd. The sample's clip path names drive
# D:, which the prefix maps to a folder holding the test clip for the run.
quick_start_steps() {
  local command rc=0 n=0 log
  while IFS= read -r command; do
    n=$((n + 1)) log=$work/$part-quick-start-$n.out
    case $command in
      "tar -xf "*)
        [ "${command#tar -xf }" = "$(basename "$zip")" ] || { echo "the README unpacks ${command#tar -xf }"; return 1; }
        (cd "$here" && bsdtar -xf "${command#tar -xf }") || return 1 ;;
      "cd "*) here=$here/${command#cd }; [ -d "$here" ] || return 1 ;;
      "certutil -hashfile "*)
        # Wine's certutil prints nothing: the file it names must be one of SHA256SUMS.
        set -- ${command#certutil -hashfile }
        grep -q "  ${1//\\//}\$" "$here/SHA256SUMS" || return 1
        in_folder "$log" "$command" || return 1 ;;
      register.cmd*)
        in_folder "$log" "$command" || { cat "$log"; return 1; }
        registered_ms=$(now_ms)
        grep -q '^OK: .* registered' "$log" || return 1 ;;
      cscript*)
        sample_ms=$(now_ms)
        in_folder "$vbs_out" "$command"; sample_rc=$?
        sample_opened_ms=$opened_ms ;;
      *) echo "the test does not know the quick-start command: $command"; return 1 ;;
    esac
  done <<< "$quick_start"
  (cd "$here" && sha256sum --quiet -c SHA256SUMS) || return 1
}

# The early-bound sample: compiled by the mingw C++ compiler of $arch with the
# unpacked include folder as its only include path, run against the control
# the quick start registered; and a C file that uses the header's COBJMACROS
# and DISPID constants compiles.
early_bound() {
  local exe=$work/early_bound-$arch.exe out=$work/$part-early-bound.out
  "${cxx}" -O2 -static -municode -I "$here/include" -o "$exe" "$here/samples/early_bound.cpp" \
    -lole32 -loleaut32 -luuid > "$out" 2>&1 || return 1
  wine_in "$exe" 'D:\clips\news.mpg' 3 >> "$out"
  sample_played "$?" "$out"
}
c_header() {
  printf '%s\n' '#define COBJMACROS' '#include <initguid.h>' '#include "Orvex.h"' '#include "OrvexDispids.h"' \
    'int f(ILumivox* p) { return ILumivox_put_Volume(p, 80) == S_OK && DISPID_LUMIVOX_MEDIAPOSITION == 1; }' |
    "$cc" -Wall -Werror -fsyntax-only -I "$here/include" -x c -
}

# One bitness: $1 x86 or x64, $2 the Wine architecture of its prefix. The
# prefix's own registrations (the build's control, which the benchmarks and
# other programs use) are registered again at the end.
run_part() {
  local part=$1 arch=$2 view= views rc start_ms registered_ms sample_ms sample_rc sample_opened_ms cc cxx
  local here="$work/安装 목록 ß $part" vbs_out=$work/$part-vbs.out v before=() drive
  [ "$part" = x64 ] && view=/reg:64 views="/reg:32 /reg:64" || views=/reg:32
  [ "$arch" = win32 ] && views=""
  for v in ${views:--}; do before+=("$v=$(registered_file "${v#-}")"); done  # "-": the only view
  cc=$(ORVEX_WINEARCH=$arch bash -c 'source "$0/scripts/wine-env.sh"; echo $ORVEX_MINGW_CC' "$root")
  cxx=${cc%gcc}g++
  drive=$(ORVEX_WINEARCH=$arch bash -c 'source "$0/scripts/wine-env.sh"; echo $WINEPREFIX' "$root")/dosdevices/d:
  mkdir -p "$work/drive-d/clips" && cp "$clip" "$work/drive-d/clips/news.mpg"
  [ -e "$drive" ] || ln -s "$work/drive-d" "$drive"
  rm -rf "$here" && mkdir -p "$here" && cp "$zip" "$here/"

  start_ms=$(now_ms)
  expect "$part: the README's quick start runs as written in a path with blanks, Chinese, Korean and ß" \
    quick_start_steps
  if [ -n "${sample_opened_ms:-}" ] && [ -n "${registered_ms:-}" ]; then
    echo "package: $part unpack to playing: $((registered_ms - start_ms + sample_opened_ms - sample_ms)) ms" \
      "(unpack, verify and register $((registered_ms - start_ms)) ms, sample start to playing" \
      "$((sample_opened_ms - sample_ms)) ms)"
  fi
  expect "$part: class and ProgID registered" registered
  expect "$part: the quick start's VBScript sample opened the clip, closed and exited 0" \
    script_sample_ran "${sample_rc:-1}" "$vbs_out"
  in_folder "$work/$part-js.out" 'cscript //nologo samples\play.js D:\clips\news.mpg 3'
  expect "$part: the JScript sample opened the clip, closed and exited 0" script_sample_ran "$?" "$work/$part-js.out"
  expect "$part: the early-bound C++ sample, built against include/ only, played and exited 0" early_bound
  expect "$part: C compiles against include/ with COBJMACROS and the DISPID constants" c_header
  cp "$top/README.txt" "$here/text.mpg"
  in_folder "$work/$part-missing.out" 'cscript //nologo samples\play.vbs D:\clips\gone.mpg 3'; rc=$?
  expect "$part: a missing file: the sample says so and exits 4" \
    test "$rc:$(grep -c '^The file does not exist' "$work/$part-missing.out")" = 4:1
  in_folder "$work/$part-refused.out" 'cscript //nologo samples\play.js text.mpg 3'; rc=$?
  expect "$part: a file no driver plays: the sample says the device refused it and exits 5" \
    test "$rc:$(grep -c 'the media device refused it' "$work/$part-refused.out")" = 5:1

  in_folder "$work/$part-unregister.out" unregister.cmd; rc=$?
  expect "$part: unregister.cmd exits 0 and says so" \
    test "$rc" = 0 -a "$(grep -c '^OK: .* unregistered' "$work/$part-unregister.out")" -ge 1
  expect "$part: class, ProgID and type library gone" unregistered
  [ -L "$drive" ] && rm -f "$drive"
  local tool
  for v in "${before[@]}"; do
    [ -n "${v#*=}" ] || continue
    tool=regsvr32
    [ "$arch:${v%%=*}" = win64:/reg:32 ] && tool='C:\windows\syswow64\regsvr32.exe'
    wine_in "$tool" /s "${v#*=}" > /dev/null
    expect "$part: the prefix's earlier registration (${v%%=*}) is back" \
      test "$(registered_file "$(sed 's/^-$//' <<< "${v%%=*}")")" = "${v#*=}"
  done
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
