#!/usr/bin/env bash
# Random use of the whole program on one map in a scratch home: a crash, a sanitizer's report or
# a hang fails it with the seed and the last events. The same seed must give the same events.
set -u
headless=$1
map=$2
seed=$3
events=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Programs it must never start leave a mark when started.
mkdir -p "$work/bin"
for program in xdg-open xdg-user-dir; do
    printf '#!/bin/sh\ntouch "%s/started-%s"\n' "$work" "$program" >"$work/bin/$program"
    chmod +x "$work/bin/$program"
done

# run NAME EVENTS: the monkey in a home of its own under $work/NAME.
run() {
    mkdir -p "$work/$1/home" "$work/$1/config"
    env HOME="$work/$1/home" XDG_CONFIG_HOME="$work/$1/config" PATH="$work/bin:$PATH" \
        QUORVANE_MAPS_DIR="$(dirname "$map")" \
        "$headless" --monkey "$2" --seed "$seed" --out "$work/$1" "$map" >"$work/$1.output" 2>&1
}

failures=0
fail() {
    echo "FAIL $1"
    failures=$((failures + 1))
}

run whole "$events"
status=$?
if [ "$status" -ne 0 ] || ! grep -q "^quorvane-headless: monkey seed $seed: ok, " "$work/whole.output"; then
    cat "$work/whole.output"
    kept="$PWD/monkey-$(basename "$map" .qvn)-$seed"
    rm -rf "$kept" && mkdir -p "$kept" && cp "$work"/whole/*.script "$kept"/ &&
        echo "the run's scripts are kept in $kept"
    fail "$events random events on $(basename "$map") with seed $seed: exit $status"
fi
# The settings went to the scratch configuration folder, and nowhere in the home.
[ -s "$work/whole/config/quorvane/quorvane.ini" ] || fail "no settings in \$XDG_CONFIG_HOME"
[ ! -e "$work/whole/home/.config" ] || fail "something was written to \$HOME/.config"
for started in "$work"/started-*; do
    [ -e "$started" ] && fail "the program started ${started##*/started-}"
done

# A short run again: its events are those of the long run's beginning.
run again 100
head -n 81 "$work/whole/monkey-$seed.script" >"$work/whole.first"
cmp -s "$work/whole.first" <(head -n 81 "$work/again/monkey-$seed.script") ||
    fail "the same seed gave other events"

# Its script, replayed, leaves the same settings, when the run was one start of the program.
if [ ! -e "$work/again/monkey-$seed.2.script" ]; then
    mkdir -p "$work/replay/config" "$work/replay/run" && chmod 700 "$work/replay/run"
    env PATH= HOME="$work/again/home" XDG_CONFIG_HOME="$work/replay/config" \
        XDG_RUNTIME_DIR="$work/replay/run" \
        QUORVANE_MAPS_DIR="$(dirname "$map")" \
        "$headless" --script "$work/again/monkey-$seed.script" "$map" >/dev/null 2>&1 ||
        fail "the replay of the monkey's script failed"
    cmp -s "$work/again/config/quorvane/quorvane.ini" "$work/replay/config/quorvane/quorvane.ini" ||
        fail "the replay of the monkey's script left other settings"
else
    echo "note: the short run restarted the program; its replay is not compared"
fi

[ "$failures" -eq 0 ] && echo "monkey $(basename "$map") seed $seed: ok"
exit $((failures > 0))
