#!/usr/bin/env bash
# The main job: builds everything, prepares the Wine prefix, registers the
# control, makes a sample clip and a logo.jpg beside Orvex_Demo.exe, and starts
# the demo with the clip in its playlist.
# - At a desktop with two monitors (DISPLAY set, xrandr lists two or more) the
#   plain interactive demo runs until its window is closed.
# - Otherwise it starts the virtual two-monitor display and lets the demo run
#   its unattended tour (open, play, a scrolling message, fast forward, the
#   television test marks, About, the end of the clip). Screenshots of the
#   operator's screen and of the television go to build/screenshots/, with the
#   tour's log and figures. ORVEX_DEMO_TOUR=1 forces the tour.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

# The rest runs in a new shell. glibc looks for the locale archive once per
# process: where install-packages.sh has just made the first locale, this shell
# cannot switch to it and would warn when wine-env.sh selects it.
if [ -z "${ORVEX_DEMO_INSTALLED:-}" ]; then
  bash scripts/install-packages.sh
  ORVEX_DEMO_INSTALLED=1 exec bash "$root/scripts/demo.sh" "$@"
fi
# The 32-bit demo, natively or through QEMU; the 64-bit build where neither works.
bash scripts/i386-support.sh || echo "demo: running the 64-bit build instead" >&2
arch=$(bash scripts/wine-arch.sh)
export ORVEX_WINEARCH=$arch
trees=(win32)
[ "$arch" = win64 ] && trees+=(win64)
bash scripts/build.sh "${trees[@]}"
bash scripts/wine-prefix.sh
source scripts/wine-env.sh

# A desktop of someone's own with two monitors, or our virtual display?
tour=1
if [ "${ORVEX_DEMO_TOUR:-0}" != 1 ] && [ -n "${DISPLAY:-}" ] &&
   [[ "$(xrandr --listmonitors 2>/dev/null | head -n1)" =~ ^Monitors:\ ([2-9]|[1-9][0-9]) ]]; then
  st=$(orvex_display_state) || st=
  [ -n "$st" ] && [ "$DISPLAY" = ":${st%% *}" ] || tour=0
fi
if [ "$tour" = 1 ]; then
  bash scripts/display.sh status > /dev/null 2>&1 || bash scripts/display.sh start
  eval "$(bash scripts/display.sh env)"
fi

program=$root/build/$arch/Orvex_Demo.exe
shots=$root/build/screenshots
samples=$root/build/samples
mkdir -p "$shots" "$samples"
rm -f "$shots"/*.png "$shots"/*.done
clip="$samples/sample clip.mpg"
[ -f "$clip" ] || ffmpeg -loglevel error -y -f lavfi -i testsrc=size=320x240:rate=25 \
  -f lavfi -i sine=frequency=440 -t 15 -c:v mpeg1video -c:a mp2 -f mpeg "$clip"
# The demo shows logo.jpg from its own folder on the television.
logo=$(dirname "$program")/logo.jpg
# A blue gradient with the name: none of the test pattern's colours.
[ -f "$logo" ] || ffmpeg -loglevel error -y -f lavfi -i "gradients=s=640x360:c0=0x102a60:\
c1=0x3070c0:x0=0:y0=0:x1=640:y1=360,drawtext=text=Orvex:fontsize=110:fontcolor=white:\
x=(w-tw)/2:y=(h-th)/2" -frames:v 1 "$logo"

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# The demo creates the control through COM: register this build's OCX first.
"$ORVEX_WINE" regsvr32 /s "$(windows_path "$root/build/$arch/Orvex.OCX")"

if [ "$tour" = 0 ]; then
  echo "demo: Orvex_Demo on $DISPLAY; close its window to end"
  exec "$ORVEX_WINE" "$program" "$(windows_path "$clip")"
fi

# The whole virtual display, and the operator's and the television's parts.
snap() {
  /usr/bin/import -display "$DISPLAY" -window root "$shots/$1.png"
  /usr/bin/convert "$shots/$1.png" -crop 1024x768+0+0 +repage "$shots/$1-operator.png"
  /usr/bin/convert "$shots/$1.png" -crop 800x600+1024+0 +repage "$shots/$1-television.png"
  echo "demo: saved $shots/$1.png"
}

log=$shots/demo.log
# Emptied here, before the loop below reads it: the background job's own
# redirection may come later.
: > "$log"
launched=$(date +%s%N)
"$ORVEX_WINE" "$program" /tour "$(windows_path "$shots")" "$(windows_path "$clip")" > "$log" 2>&1 &
demo=$!
# Takes each screenshot the tour asks for, then tells it so.
taken=" "
end=$((SECONDS + 300))
first_frame=
while kill -0 "$demo" 2>/dev/null; do
  # Wine's own start-up included, on this clock (polled every 0.1 s).
  if [ -z "$first_frame" ] && grep -q '^tour: first frame' "$log"; then
    first_frame=$(( ($(date +%s%N) - launched) / 1000000 ))
  fi
  for name in $(sed -n 's/^tour: shot \([-0-9a-z]*\).*/\1/p' "$log"); do
    [[ "$taken" == *" $name "* ]] && continue
    snap "$name"
    touch "$shots/$name.done"
    taken+="$name "
  done
  if [ "$SECONDS" -ge "$end" ]; then
    echo "demo: the tour did not end within 300 s; stopping it" >&2
    kill "$demo" 2>/dev/null || true
    break
  fi
  sleep 0.1
done
wait "$demo" || echo "demo: Orvex_Demo exited with $?" >&2
rm -f "$shots"/*.done
grep '^tour:' "$log" | grep -v '^tour: figure:' | tr -d '\r' || true
bash scripts/picture-check.sh "$shots/1-playing.png" "$shots/2-playing-1s-later.png" ||
  echo "demo: the television screenshots do not show the moving picture" >&2
{
  [ -z "$first_frame" ] ||
    echo "wine started to first frame on the television: $first_frame ms (within 0.1 s)"
  grep '^tour: figure:' "$log" | tr -d '\r' | sed 's/^tour: figure: //'
} > "$shots/figures.txt" || true
cat "$shots/figures.txt"
echo "demo: screenshots, log and figures in $shots"
