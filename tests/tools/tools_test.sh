#!/usr/bin/env bash
# Runs the command-line tools on the shipped maps and on broken input, checking output and exit codes.
set -u
tools=$1
maps=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../support/expect.sh"

expect "mapcheck summary" 0 'example.qvn: ok: "Пример", 1 lines, 3 points (3 stations), 0 transfers, 2 tab letters, zoom 2' \
    "$tools/quorvane-mapcheck" "$maps/example.qvn"
expect "mapcheck every shipped map" 0 "ok" "$tools/quorvane-mapcheck" "$maps"/*.qvn

printf '[NAME]\r\nX;1;0;\r\n[MAP]\r\n0;0;1;1;1;0h;\r\n[LINES]\r\n1;L;0h;0;2;\r\n[STATION]\r\n9;1;S;A;0;0;1;\r\n' >"$work/bad.qvn"
expect "mapcheck refusal with line" 1 "bad.qvn:8: error: point record: line position 9, the map has 1 lines" \
    "$tools/quorvane-mapcheck" "$maps/example.qvn" "$work/bad.qvn"
expect "mapcheck json" 0 '"adjacency":[[1,2],[0,2],[0,1]]' "$tools/quorvane-mapcheck" --json "$maps/example.qvn"
expect "mapcheck json error" 1 '"line":8' "$tools/quorvane-mapcheck" --json "$work/bad.qvn"
expect "mapcheck usage" 2 "usage" "$tools/quorvane-mapcheck"

expect "route by time" 0 $'route: 2 0\nstations 2 transfers 0 minutes 4' \
    "$tools/quorvane-route" --by time "$maps/example.qvn" 2 0
expect "route by name lists the stations" 0 $'Станций 3 пересадок 0\nВремя в пути 7 мин\nПервая\nВторая\nТретья' \
    "$tools/quorvane-route" "$maps/example.qvn" Первая Третья
expect "route to a forbidden station" 1 "route: none" \
    "$tools/quorvane-route" --forbid Вторая "$maps/example.qvn" 0 1
expect "route not found message" 1 "Маршрут не найден" \
    "$tools/quorvane-route" --forbid 1 "$maps/example.qvn" 0 1
expect "route bad option" 2 "usage" "$tools/quorvane-route" --by speed "$maps/example.qvn" 0 1
expect "route unknown station" 2 "no such point: Четвёртая" "$tools/quorvane-route" "$maps/example.qvn" 0 Четвёртая
expect "route broken map" 2 "bad.qvn:8: error" "$tools/quorvane-route" "$work/bad.qvn" 0 1

finish
