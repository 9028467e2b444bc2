#!/usr/bin/env bash
# The resource soak under Wine: bench/soak.sh [cycles] [creates] [messages]
# (defaults 200 10000 10000). Runs orvex_soak_bench from the tree of
# ORVEX_WINEARCH (default: what scripts/wine-arch.sh says) on the generated
# sample clip and answers each of its "sample" lines with the Wine process's
# open descriptors and resident memory, read from outside through /proc.
# Run it on the display the prefix's other programs use (one X server per
# prefix: Wine's desktop lives on the first one). Wine 8's MCI keeps two
# descriptors per open, the control's and the floor's alike; near 1,000 open
# descriptors the process stalls inside Wine, so one run takes at most about
# 220 cycles of each kind.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ORVEX_WINEARCH=${ORVEX_WINEARCH:-$(bash "$root/scripts/wine-arch.sh")}
source "$root/scripts/wine-env.sh"
tree=$root/build/$ORVEX_WINEARCH
clip="$tree/tests/win/sample clip.mpg"
[ -f "$tree/orvex_soak_bench.exe" ] && [ -f "$clip" ] || {
  echo "soak: build the $ORVEX_WINEARCH tree first (scripts/build.sh)" >&2
  exit 1
}
if [ "${1:-200}" -gt 220 ]; then
  echo "soak: more than 220 cycles of each kind exceed what Wine's MCI can open in one process" >&2
fi
orvex_use_display || { bash "$root/scripts/display.sh" start > /dev/null; orvex_use_display; }
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
bash "$root/scripts/wine-run.sh" regsvr32 /s "$(windows_path "$tree/Orvex.OCX")"

coproc SOAK { bash "$root/scripts/wine-run.sh" "$tree/orvex_soak_bench.exe" \
  "$(windows_path "$clip")" "${1:-200}" "${2:-10000}" "${3:-10000}"; }
soak=$SOAK_PID
# Wine opens files in its server, so the program cannot name its own process:
# it is the newest one under its name (15 characters at most in /proc).
pid=
while IFS= read -r line <&"${SOAK[0]}"; do
  line=${line%$'\r'}
  case $line in
    sample)
      [ -n "$pid" ] || pid=$(pgrep -n -x orvex_soak_benc)
      fds=$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 | wc -l)
      rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
      echo "$fds $rss" >&"${SOAK[1]}" ;;
    *) echo "$line" ;;
  esac
done
wait "$soak"
