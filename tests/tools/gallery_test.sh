#!/usr/bin/env bash
# The gallery writes each of its screens at both scales and at 3 when asked, each screen-sized.
set -u
gallery=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for k in "" "--scale 3"; do "$gallery" --out "$out" $k >/dev/null 2>&1 || { echo "FAIL the gallery $k ended with $?"; exit 1; }; done

# Per scale suffix and picture size (from the PNG header): how many pictures.
summary=$(for png in "$out"/*.png; do
    echo "${png##*-} $(od -An -tu1 -j16 -N8 "$png" |
        awk '{ printf "%dx%d", $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')"
done | sort | uniq -c | awk '{ print $2, $3, $1 }')
screens=$(echo "$summary" | awk 'NR == 1 { print $3 }')
if [ "$summary" != "k1.png 240x320 $screens
k2.png 480x640 $screens
k3.png 720x960 $screens" ] || [ "${screens:-0}" -lt 19 ]; then
    echo "FAIL pictures by scale, size and count:"
    echo "$summary"
    exit 1
fi
echo "$screens screens at each scale"
