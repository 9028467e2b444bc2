#!/usr/bin/env bash
# Builds one commit twice, each time in a fresh clone of this repository, and
# compares what a release is made of: Orvex.OCX of both bitnesses,
# Orvex_Demo.exe, the type libraries, include/ and the release zip. The two
# clones' paths differ in length, so a path that leaks into a file shows.
# Prints each file's SHA-256 and whether the builds agree; exits 1 on any
# difference or a missing file.
#   reproduce.sh [commit [folder]]   (default: HEAD, build/reproduce)
# Two full package builds: run by hand, not by scripts/test.sh.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
commit=$(git -C "$root" rev-parse --verify "${1:-HEAD}^{commit}")
work=${2:-$root/build/reproduce}
builds=("$work/1" "$work/second")
# The package's include/ comes from the win32 tree; Orvex.tlb there is
# missing where 32-bit programs cannot run (the win32 tree embeds
# Orvex-win32.tlb), which counts as no difference.
files=(build/win32/Orvex.OCX build/win64/Orvex.OCX build/win32/Orvex_Demo.exe
       build/win32/Orvex.tlb build/win64/Orvex-win32.tlb build/win64/Orvex.tlb
       build/win32/include/Orvex.idl build/win32/include/Orvex.h)

case "$(bash "$root/scripts/wine-arch.sh")" in
  win64) how="cannot run here: the win32 tree embeds the library the win64 tree writes" ;;
  *) if grep -qx enabled /proc/sys/fs/binfmt_misc/orvex-i386 2>/dev/null; then how="run under QEMU"; else how="run natively"; fi ;;
esac
echo "reproduce: commit $(git -C "$root" log -1 --format='%h (%ci)' "$commit"); 32-bit programs $how"

for dir in "${builds[@]}"; do
  rm -rf "$dir"
  mkdir -p "$(dirname "$dir")"
  git clone -q --no-checkout "$root" "$dir"
  git -C "$dir" checkout -q --detach "$commit"
  start=$(date +%s)
  (cd "$dir" && bash scripts/build.sh package) > "$dir.log" 2>&1 || {
    tail -n 20 "$dir.log" >&2
    echo "reproduce: the build in $dir failed (log: $dir.log)" >&2
    exit 1
  }
  echo "reproduce: built in ${dir#"$root"/} in $(($(date +%s) - start)) s"
done

zip=$(cd "${builds[0]}" && echo build/win32/package/Orvex-*.zip)
files+=("$zip")
differ=0
for file in "${files[@]}"; do
  sums=()
  for dir in "${builds[@]}"; do
    if [ -f "$dir/$file" ]; then sums+=("$(sha256sum < "$dir/$file" | cut -d' ' -f1)"); else sums+=(missing); fi
  done
  if [ "${sums[0]}" = "${sums[1]}" ] && [ "${sums[0]}" != missing ]; then
    echo "${sums[0]}  $file  same"
  elif [ "${sums[0]}${sums[1]}" = missingmissing ]; then
    echo "(not made)  $file"
  else
    echo "${sums[0]} ${sums[1]}  $file  DIFFERENT"
    differ=$((differ + 1))
  fi
done
if [ "$differ" -gt 0 ]; then
  echo "reproduce: $differ files differ between the two builds"
  exit 1
fi
echo "reproduce: the two builds gave the same bytes"
