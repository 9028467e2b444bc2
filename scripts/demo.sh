#!/usr/bin/env bash
# The main job: builds everything, prepares Wine and the virtual two-monitor
# display, shows the logo on the television, then plays the generated sample
# clip in the television window with a transparent scrolling message along its
# bottom, then an opaque strip along its top. Screenshots of the whole virtual display
# (operator's monitor and television) go to build/screenshots/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash scripts/install-packages.sh
# The 32-bit demo, natively or through QEMU; the 64-bit build where neither works.
bash scripts/i386-support.sh || echo "demo: running the 64-bit build instead" >&2
arch=$(bash scripts/wine-arch.sh)
export ORVEX_WINEARCH=$arch
trees=(win32)
[ "$arch" = win64 ] && trees+=(win64)
bash scripts/build.sh "${trees[@]}"
bash scripts/wine-prefix.sh
source scripts/wine-env.sh

if ! bash scripts/display.sh status > /dev/null 2>&1; then
  bash scripts/display.sh start
fi
eval "$(bash scripts/display.sh env)"

shots=$root/build/screenshots
samples=$root/build/samples
mkdir -p "$shots" "$samples"
rm -f "$shots"/*.png
clip="$samples/sample clip.mpg"
logo=$samples/logo.jpg
[ -f "$clip" ] || ffmpeg -loglevel error -y -f lavfi -i testsrc=size=320x240:rate=25 \
  -f lavfi -i sine=frequency=440 -t 4 -c:v mpeg1video -c:a mp2 -f mpeg "$clip"
[ -f "$logo" ] || ffmpeg -loglevel error -y -f lavfi -i smptehdbars=size=640x360 \
  -frames:v 1 "$logo"

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Waits up to $2 seconds for the demo to print a line starting with $1.
wait_for_line() {
  local end=$((SECONDS + $2))
  until grep -q "^$1" "$shots/demo.log" 2>/dev/null; do
    if [ "$SECONDS" -ge "$end" ] || ! kill -0 "$demo" 2>/dev/null; then return 1; fi
    sleep 0.2
  done
}

snap() {
  sleep "$2"  # let the X server show what the window just painted
  /usr/bin/import -display "$DISPLAY" -window root "$shots/$1.png"
  /usr/bin/convert "$shots/$1.png" -crop 800x600+1024+0 +repage "$shots/$1-television.png"
  /usr/bin/convert "$shots/$1.png" -crop 1024x768+0+0 +repage "$shots/$1-operator.png"
  echo "demo: saved $shots/$1.png"
}

# The demo creates the control through COM: register this build's OCX first.
"$ORVEX_WINE" regsvr32 /s "$(windows_path "$root/build/$arch/Orvex.OCX")"
"$ORVEX_WINE" "build/$arch/Orvex_Demo.exe" "$(windows_path "$clip")" "$(windows_path "$logo")" 4 \
  > "$shots/demo.log" 2>&1 &
demo=$!
wait_for_line "logo shown" 120 && snap 1-logo 2
wait_for_line "playing" 60 && snap 2-playing 1.5
wait_for_line "opaque strip" 30 && snap 3-opaque-strip 0.5
wait_for_line "finished" 60 || true
wait "$demo" || echo "demo: Orvex_Demo exited with $?" >&2
grep -v '^ALSA\|^status' "$shots/demo.log" || true
echo "demo: screenshots in $shots"
