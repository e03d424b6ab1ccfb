#!/usr/bin/env bash
# The gallery writes each of its screens at both scales, each picture the size of the screen.
set -u
gallery=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$gallery" --out "$out" >/dev/null 2>&1 || { echo "FAIL the gallery ended with $?"; exit 1; }

# WIDTHxHEIGHT of a PNG, from its header.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }'
}

failures=0
screens=0
for first in "$out"/*-k1.png; do
    [ -e "$first" ] || break
    screens=$((screens + 1))
    second=${first%-k1.png}-k2.png
    for check in "$first 240x320" "$second 480x640"; do
        set -- $check
        if [ ! -e "$1" ] || [ "$(png_size "$1")" != "$2" ]; then
            echo "FAIL $(basename "$1"): wanted a picture of $2"
            failures=$((failures + 1))
        fi
    done
done
if [ "$screens" -lt 19 ] || [ "$(ls "$out"/*-k2.png 2>/dev/null | wc -l)" -ne "$screens" ]; then
    echo "FAIL $screens screens at scale 1, $(ls "$out"/*-k2.png 2>/dev/null | wc -l) at scale 2"
    failures=$((failures + 1))
fi
echo "$screens screens, $failures failed"
[ "$failures" -eq 0 ]
