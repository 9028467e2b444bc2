#!/usr/bin/env bash
# Draws the control's icon and the About box's picture with ImageMagick and
# writes them into win/ and about/ (both files are committed; run this again
# only to change the drawing):
#   Lumivox.ico       the control's icon: 16, 32 and 48 pixels, each in 16
#                     colours, 256 colours and true colour with alpha (nine images)
#   AboutPicture.ico  the About box's 48 x 48 true-colour picture: the same
#                     drawing with the product caption along its lower edge
# The drawing: a microphone over a disc, with a music note.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Drawn at 192 x 192 (four times the largest size) and scaled down, so the
# small images are smoothed.
convert -size 192x192 xc:none \
  -fill '#9aa6bc' -stroke '#4a5468' -strokewidth 4 -draw 'circle 100,104 100,22' \
  -stroke none -fill '#c9d3e6' -draw 'circle 100,104 100,34' \
  -fill '#e9c8f0' -draw 'path "M 100,104 L 160,60 A 75,75 0 0,1 176,104 Z"' \
  -fill '#bfe8f4' -draw 'path "M 100,104 L 40,150 A 75,75 0 0,1 26,110 Z"' \
  -fill '#f4f6fa' -stroke '#4a5468' -strokewidth 3 -draw 'circle 100,104 100,80' \
  -fill '#4a5468' -stroke none -draw 'circle 100,104 100,96' \
  -stroke '#1a1e28' -strokewidth 10 -draw 'line 58,84 58,150' \
  -stroke none -fill '#1a1e28' -draw 'roundrectangle 34,146 82,158 6,6' \
  -fill '#2c3140' -stroke '#0e1016' -strokewidth 3 -draw 'roundrectangle 36,12 80,84 22,22' \
  -stroke '#8a93a8' -strokewidth 2 -draw 'line 38,34 78,34' -draw 'line 37,48 79,48' \
  -draw 'line 38,62 78,62' -draw 'line 58,14 58,82' \
  -stroke none -fill '#1040c8' -draw 'ellipse 132,136 20,15 0,360' \
  -stroke '#1040c8' -strokewidth 9 -draw 'line 148,134 148,44' \
  -stroke none -fill '#1040c8' \
  -draw 'path "M 144,40 C 170,50 184,66 172,96 C 176,72 164,64 148,62 Z"' \
  master.png
for size in 16 32 38 48; do convert master.png -resize ${size}x${size} mark$size.png; done

# A palette image (16 or 256 colours) is stored with 4 or 8 bits per pixel.
convert \( mark16.png -colors 16 \) \( mark32.png -colors 16 \) \( mark48.png -colors 16 \) \
        \( mark16.png -colors 256 \) \( mark32.png -colors 256 \) \( mark48.png -colors 256 \) \
        mark16.png mark32.png mark48.png "$root/win/Lumivox.ico"

convert -size 48x48 xc:none mark38.png -gravity north -composite \
  \( -size 48x10 xc:'#1c3c9c' \) -gravity south -composite \
  -fill white -font DejaVu-Sans-Bold -pointsize 8 -gravity south -annotate +0+1 'Lumivox' \
  "$root/about/AboutPicture.ico"
identify "$root/win/Lumivox.ico" "$root/about/AboutPicture.ico"
