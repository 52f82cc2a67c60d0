#!/usr/bin/env bash
# Renders the drawings into the pictures the program embeds. Run after changing a drawing.
set -euo pipefail
cd "$(dirname "$0")"
out=../images
for name in connect unconnect parameter monitor trend help exit close; do
    convert -background none -density 96 "$name.svg" -resize 64x64 "PNG32:$out/$name.png"
done
for name in option clear-all run stop ok locked zoom-in zoom-out; do
    convert -background none -density 96 "$name.svg" -resize 64x64 "PNG32:$out/$name.png"
done
# The trend window's icons, several sizes in each.
for name in save coordinate move; do
    convert -background none -density 96 "$name.svg" -define icon:auto-resize=48,32,16 "$out/$name.ico"
done
# The monitor pages' lamps and the option dialogs' Cancel.
for name in on off on_red cancel; do
    convert -background none -density 96 "$name.svg" -resize 20x20 "PNG32:$out/$name.png"
done
convert -background none -density 96 parent_small.svg -resize 32x32 "PNG32:$out/parent_small.png"
# The set-up wizard's buttons, window icon and page background.
for name in back next ok; do
    convert -background none -density 96 "$name.svg" -resize 32x32 "PNG32:$out/$name.png"
done
for size in 16 32 48; do
    convert -background none -density 192 quicksetup.svg -resize ${size}x${size} "PNG32:/tmp/taviron-qs-$size.png"
done
convert /tmp/taviron-qs-{16,32,48}.png "$out/quicksetup.ico"
rm -f /tmp/taviron-qs-*.png
convert -density 96 background.svg -type TrueColor "PNG24:$out/background.png"
# The selection dialog's tick boxes.
for name in ckChecked ckUncheck ckChecked_unable; do
    convert -background none -density 96 "$name.svg" -resize 16x16 "PNG32:$out/$name.png"
done
# Read from the data folder beside the executable, not from the resources.
data=../../data/images
convert -background none -density 96 arrow.svg -resize 25x12 "PNG32:$data/arrow.png"
convert -background none -density 96 arrow_expend.svg -resize 25x12 "PNG32:$data/arrow_expend.png"
convert -background none -density 96 cancel.svg -resize 20x20 "PNG32:$data/cancel.png"
# The dock's buttons tile this picture behind their text; a bitmap has no transparency.
convert -size 120x18 'gradient:#fbfbfb-#dcdcdc' -size 120x22 'gradient:#c8c8c8-#e6e6e6' -append \
    -type TrueColor "BMP3:$out/button_silver.bmp"
for size in 16 32 48 64; do
    convert -background none -density 192 app.svg -resize ${size}x${size} "PNG32:/tmp/taviron-app-$size.png"
done
convert /tmp/taviron-app-{16,32,48,64}.png "$out/Taviron.ico"
rm -f /tmp/taviron-app-*.png
