#!/bin/sh
# Draws the station-tree pictures of the drive series (images/<series>.png, 300 x 150, shown at
# 150 x 75) from plain shapes. Run from the repository root after adding a series to InvType.mgr.
set -e
cd src/data/images
for entry in "VR3:#2f5f8f" "VM3:#3f7f3f" "VS5:#8f5f2f"; do
    name=${entry%%:*}
    colour=${entry#*:}
    convert -size 300x150 xc:none \
        -fill '#d8dde3' -stroke '#50565c' -strokewidth 3 -draw "roundrectangle 95,6 205,144 10,10" \
        -fill "$colour" -stroke none -draw "rectangle 99,10 201,34" \
        -fill '#1c2a1c' -draw "rectangle 112,44 188,66" \
        -fill '#7cfc7c' -draw "rectangle 116,48 150,62" \
        -fill '#9aa3ad' -draw "circle 150,92 150,80" \
        -fill '#50565c' -draw "rectangle 112,112 128,122" -draw "rectangle 142,112 158,122" \
        -draw "rectangle 172,112 188,122" \
        -fill '#7d858e' -draw "rectangle 104,128 196,140" \
        -fill white -pointsize 16 -gravity north -annotate +0+12 "$name" "PNG32:$name.png"
done
