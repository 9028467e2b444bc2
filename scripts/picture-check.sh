#!/usr/bin/env bash
# Checks two root screenshots of the virtual display, taken a second apart
# while the sample clip plays, for the decoded picture on the television: its
# area (320x240 at the television's top left, where the video window puts it)
# must differ between them, and the test pattern's colour bars must be there.
#   picture-check.sh first.png second.png
set -euo pipefail
area=320x240+1024+0
changed=$(compare -metric AE -fuzz 4% -crop "$area" "$1" "$2" null: 2>&1 || true)
echo "picture-check: $changed pixels of the picture changed in a second"
[ "${changed%%.*}" -gt 1000 ] 2>/dev/null || { echo "picture-check: the picture stands still" >&2; exit 1; }
missing=
for colour in red lime blue yellow magenta cyan; do
  count=$(convert "$1" -crop "$area" +repage -fuzz 12% -fill white -opaque "$colour" \
    -fill black +opaque white -format '%[fx:round(mean*w*h)]' info:)
  [ "$count" -gt 500 ] || missing+=" $colour"
done
[ -z "$missing" ] || { echo "picture-check: the test pattern lacks$missing" >&2; exit 1; }
echo "picture-check: the test pattern's bars are on the television"
