#!/usr/bin/env bash
# Runs quorvane-import on good and broken input, checking its messages and exit codes.
set -u
tool=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../support/expect.sh"

expect "list" 0 "Москва: 19 lines, 336 stations" "$tool" list --cities "$data/cities-metro.json"
expect "one city" 0 '"Новосибирск": 2 lines, 13 stations, 13 points, 1 transfers' \
    "$tool" city Новосибирск --cities "$data/cities-metro.json" --output "$work/n.qvn"
expect "check" 0 "unreachable pairs: 0" "$tool" check "$work/n.qvn"
expect "a city of one line" 0 "0 of 18 pairs without a route (0 need more transfers, 0 missed), 0 slower" \
    "$tool" city Днепр --cities "$data/cities-metro.json" --output "$work/d.qvn"
expect "a mend" 0 "Бажовская: mended" \
    "$tool" city Екатеринбург --cities "$data/cities-metro.json" --output "$work/e.qvn"
expect "trip" 0 "trip Речной вокзал to Сибирская:" \
    "$tool" check --trip "Речной вокзал" Сибирская "$work/n.qvn"
expect "unknown trip station" 1 "no such station" "$tool" check --trip Нигде Сибирская "$work/n.qvn"
printf '[{"name": "Город", "lines": [' >"$work/broken.json"
expect "broken json" 1 "broken.json: not valid JSON" \
    "$tool" city Город --cities "$work/broken.json" --output "$work/x.qvn"
expect "missing file" 1 "cannot read $work/none.json" \
    "$tool" list --cities "$work/none.json"
expect "schematic by default" 0 "schematic, grid nodes" \
    "$tool" city Казань --cities "$data/cities-metro.json" --output "$work/k.qvn"
expect "geographic on request" 0 '"Казань": 1 lines, 11 stations' \
    "$tool" city Казань --layout geographic --cities "$data/cities-metro.json" --output "$work/kg.qvn"
expect "a layout of no kind" 2 "--layout is schematic or geographic" \
    "$tool" city Казань --layout round --cities "$data/cities-metro.json" --output "$work/x.qvn"
expect "score" 0 "drawn length at multiples of 45 degrees: 100.0%" "$tool" score "$work/k.qvn"
expect "score against" 0 "crossings 0 added, 0 lost" "$tool" score --against "$work/kg.qvn" "$work/k.qvn"
expect "score against a map that does not load" 1 "does not load" \
    "$tool" score --against "$work/broken.json" "$work/k.qvn"
expect "faults only when scoring" 2 "--faults does not apply to check" "$tool" check --faults "$work/n.qvn"
expect "map that does not load" 1 "does not load" "$tool" check "$work/broken.json"
expect "no output" 2 "Usage: quorvane-import" "$tool" city Москва
expect "bad option" 2 "Usage: quorvane-import" "$tool" check --max-transfers lots "$work/n.qvn"

finish
