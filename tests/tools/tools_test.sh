#!/usr/bin/env bash
# Runs the command-line tools on the shipped maps and on hostile input: command lines, file
# names, names inside maps and outputs that cannot be written, checking output and exit codes.
set -u
tools=$1
maps=$2
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../support/expect.sh"

# expect_output NAME STATUS TEXT COMMAND...: the whole standard output, each control byte other
# than a line end shown as "?", must be the text.
expect_output() {
    local name=$1 status=$2 text=$3
    shift 3
    local output actual
    output=$("$@" 2>/dev/null | LC_ALL=C tr '\000-\011\013-\037\177' '[?*]'; exit "${PIPESTATUS[0]}")
    actual=$?
    total=$((total + 1))
    if [ "$actual" -ne "$status" ] || [ "$output" != "$text" ]; then
        echo "FAIL $name: exit $actual (wanted $status), output:"
        echo "$output" | head -20
        failures=$((failures + 1))
    fi
}

mapcheck=$tools/quorvane-mapcheck
route=$tools/quorvane-route
import=$tools/quorvane-import
example=$maps/example.qvn
# A UTF-8 map of three points on one line: NAME ZOOM POINTS...
small_map() {
    printf '[NAME]\r\n%s;1;0;%s;1;\r\n[MAP]\r\n0;0;3;3;1;FF00FFh;-8;\r\n[LINES]\r\n' "$1" "$2"
    shift 2
    printf '1;L;0000FFh;0;%d;2;\r\n[STATION]\r\n' $#
    local i=0
    for name in "$@"; do
        i=$((i + 1))
        printf '1;%d;S;%s;%d;20;1;\r\n' $i "$name" $((i * 20))
    done
    printf '[CROSS]\r\n[TABLETTERS]\r\n0;\r\n'
}

# Maps and their refusals.
expect "mapcheck summary" 0 'example.qvn: ok: "Пример", 1 lines, 3 points (3 stations), 0 transfers, 2 tab letters, zoom 2' \
    "$mapcheck" "$example"
expect "mapcheck every shipped map" 0 "ok" "$mapcheck" "$maps"/*.qvn
printf '[NAME]\r\nX;1;0;\r\n[MAP]\r\n0;0;1;1;1;0h;\r\n[LINES]\r\n1;L;0h;0;2;\r\n[STATION]\r\n9;1;S;A;0;0;1;\r\n' >"$work/bad.qvn"
expect "mapcheck refusal with line" 1 "bad.qvn:8: error: point record: line position 9, the map has 1 lines" \
    "$mapcheck" "$example" "$work/bad.qvn"
expect "mapcheck json" 0 '"adjacency":[[1,2],[0,2],[0,1]]' "$mapcheck" --json "$example"
expect "mapcheck json error" 1 '"line":8' "$mapcheck" --json "$work/bad.qvn"
# Its point 1 is a corner, not a station, of a kind that is no letter.
small_map Origin 2 A B C | sed 's/^0;0;3;3;/5;7;3;3;/;s/;S;B;/;\x01;B;/' >"$work/origin.qvn"
expect "mapcheck json origin" 0 '"originX":5,"originY":7' "$mapcheck" --json "$work/origin.qvn"
expect "mapcheck json kind by number" 0 '"kind":"1"' "$mapcheck" --json "$work/origin.qvn"
expect "route forbids no corner" 2 "not a station, cannot be forbidden: 1" "$route" --forbid 1 "$work/origin.qvn" 0 2
# The JSON is written as it is built: a document far larger than its buffer comes out whole.
small_map Big 1 $(seq -f P%g 3000) >"$work/big.qvn"
expect "mapcheck json of a large map ends whole" 0 '"name":"P3000","x":60000' "$mapcheck" --json "$work/big.qvn"
expect_output "mapcheck json of a large map is one line a file" 0 "2 [2998]]}" \
    bash -o pipefail -c '"$0" --json "$1" "$1" | awk "END { print NR, substr(\$0, length(\$0) - 7) }"' \
    "$mapcheck" "$work/big.qvn"

# Route search.
expect "route by time" 0 $'route: 2 0\nstations 2 transfers 0 minutes 4' \
    "$route" --by time "$example" 2 0
expect "route leaves the waits out when told" 0 "stations 2 transfers 0 minutes 2" \
    "$route" --by time --wait off "$example" 2 0
expect "route by name lists the stations" 0 $'Станций 3 пересадок 0\nВремя в пути 7 мин\nПервая\nВторая\nТретья' \
    "$route" "$example" Первая Третья
expect "route not found message" 1 "Маршрут не найден" "$route" "$example" 0 1 --forbid 1
expect "route forbidding twice still forbids" 1 "route: none" \
    "$route" --forbid 1 --forbid Вторая --forbid 1 "$example" 0 1
expect "route unknown station" 2 "quorvane-route: no such point: Четвёртая" "$route" "$example" 0 Четвёртая
# A name typed loosely finds the station the picker would find, and says which on standard error.
expect "route takes a name typed in the other layout" 0 \
    'quorvane-route: "gthdfz" taken as Первая (Кольцевая, point 0)' "$route" "$example" gthdfz 2
expect "route takes the beginning of a name" 0 'quorvane-route: "вто" taken as Вторая (Кольцевая, point 1)' \
    "$route" "$example" 0 вто
expect "route forbidding a loosely named station forbids it" 1 "route: none" \
    "$route" --forbid vtoraya "$example" 0 1
expect "route says nothing on standard error for whole names" 0 "quiet" \
    bash -c '[ -z "$("$0" "$1" Первая Третья 2>&1 >/dev/null)" ] && echo quiet' "$route" "$example"
expect "route nothing near" 2 "quorvane-route: no such point: Жжжжжж" "$route" "$example" Жжжжжж 0
expect "route station out of range" 2 "no such point: 3 (the map has points 0 to 2)" "$route" "$example" 3 0
expect "route forbidden out of range" 2 "no such point: -1 (the map" "$route" --forbid -1 "$example" 0 1
expect "route broken map" 2 "bad.qvn:8: error" "$route" "$work/bad.qvn" 0 1

# Command lines: numbers are whole and in range; unknown options are refused.
for limit in 1-2 2147483648; do
    expect "route --max-transfers '$limit'" 2 "--max-transfers: \"$limit\" is not a whole number from 0 to 2147483647" \
        "$route" --max-transfers "$limit" "$example" 0 1
done
expect "route --max-transfers 0" 0 "route: 0 1" "$route" --max-transfers 0 "$example" 0 1
expect "route missing value" 2 "--wait needs a value" "$route" "$example" 0 1 --wait
expect "route too many arguments" 2 "MAP, FROM and TO wanted, 4 arguments given" "$route" "$example" 0 1 2
expect "mapcheck no file" 2 "no map file given" "$mapcheck" --json
expect "import london without output" 2 "london needs --output MAP" "$import" london
expect "import option of another command" 2 "--output does not apply to list" "$import" list --output "$work/x.qvn"
expect "import bend" 2 '--bend: "0.5x" is not a number from 0.3 to 1' "$import" city X --bend 0.5x --output "$work/x.qvn"
expect "import unknown command" 2 'unknown command "lst"' "$import" lst
expect "import trip needs two values" 2 "--trip needs 2 values" "$import" check "$example" --trip A
for tool in quorvane-mapcheck quorvane-route quorvane-import quorvane-gdi-demo quorvane-window-demo quorvane-render; do
    expect "$tool --help" 0 "Usage: $tool" sh -c '"$0" --help 2>/dev/null' "$tools/$tool"
    expect_output "$tool --version" 0 "$tool $version" "$tools/$tool" --version
done
# The program reads its arguments before it opens a window, which fails here for want of a driver.
for flag in --help -h; do
    expect "quorvane $flag" 0 "Usage: quorvane [--lang" env SDL_VIDEODRIVER=none sh -c '"$0" "$1" 2>/dev/null' "$4" "$flag"
done
expect "quorvane --lang without a map" 1 "quorvane: " env SDL_VIDEODRIVER=none "$4" --lang en
expect_output "quorvane --lang, then what follows it" 0 "quorvane $version" env SDL_VIDEODRIVER=none "$4" --lang en --version
expect "gallery stray argument" 2 "no plain arguments wanted, 1 given" "$tools/quorvane-gallery" --out "$work/g" stray
for tool in quorvane-gdi-demo quorvane-window-demo; do
    expect "$tool unknown option" 2 'unknown option "--windw"' "$tools/$tool" "$work/demo" --windw
    expect "$tool one prefix" 2 "one PREFIX wanted, 2 arguments given" "$tools/$tool" "$work/a" "$work/b"
done

render="$tools/quorvane-render"
moscow="$maps/moscow.qvn"
expect "render scale with letters" 2 '--scale: "2x" is not a whole number from 1 to 3' "$render" "$example" "$work/r.png" --scale 2x
expect "render station out of range" 2 'no point 3 (the map has points 0 to 2, -1 for none)' "$render" "$example" "$work/r.png" --callout 3
expect "render misspelt option refused" 2 'unknown option "--labls"' \
    bash -c 'cd "$1" && "$0" "$2" --labls' "$render" "$work" "$example"
expect "render wrote no picture for refused arguments" 1 "" test -e "$work/--labls" -o -e "$work/r.png"
expect "render centre wants zoom" 2 "--centre goes with --zoom and without --view" "$render" "$example" "$work/r.png" --centre
expect "render centres a lone departure" 0 $'departure: 0 Новокосино at 120 160' \
    "$render" "$moscow" "$work/r.png" --zoom --centre --route 0 -1
expect "render centres neither end on the image's middle" 0 'scale 5, view -480 -640' \
    "$render" "$moscow" "$work/r.png" --zoom --centre
expect "render is 240 x 320 without --scale" 0 "000000f000000140" \
    bash -c 'od -An -tx1 -j16 -N8 "$0" | tr -d " \n"' "$work/r.png"

# File names: any name the system accepts loads, and each is printed as one escaped line.
summary='ok: "Пример", 1 lines, 3 points (3 stations), 0 transfers, 2 tab letters, zoom 2'
mkdir "$work/names"
cp "$example" "$work/names/"$'\xff\xfe'.qvn
cp "$example" "$work/names/"$'forged\nX: ok: "Y".qvn'
cp "$example" "$work/names/"$'esc\e[2J\\.qvn'
expect_output "mapcheck escapes file names" 0 "\\xFF\\xFE.qvn: $summary
forged\\nX: ok: \"Y\".qvn: $summary
esc\\x1B[2J\\\\.qvn: $summary" \
    bash -c 'cd "$1" && "$0" "$2" "$3" "$4"' "$mapcheck" "$work/names" \
    $'\xff\xfe'.qvn $'forged\nX: ok: "Y".qvn' $'esc\e[2J\\.qvn'
expect_output "mapcheck json escapes file names" 1 '{"file":"\\xFF\\xFE.qvn","name":"Пример"
{"file":"missing\\n","error":"cannot open the file: No such file or directory"' \
    bash -o pipefail -c 'cd "$1" && "$0" --json "$2" "missing
" | cut -d, -f1-2' "$mapcheck" "$work/names" $'\xff\xfe.qvn'
cp "$example" "$work/"$'\xff\xfe'.qvn
expect "route on a map with a non-UTF-8 name" 0 "route: 0 1" "$route" "$work/"$'\xff\xfe'.qvn 0 1
expect "import check of a map with a non-UTF-8 name" 0 $'\\xFF\\xFE.qvn: "Пример"' "$import" check "$work/"$'\xff\xfe'.qvn
mkfifo "$work/"$'\xff'fifo
expect "a FIFO is refused, not waited on" 1 $'\\xFFfifo: error: cannot open: it is a FIFO (named pipe), not a regular file' \
    timeout 10 "$mapcheck" "$work/"$'\xff'fifo
expect "gdi-demo names what it cannot write" 1 $'cannot write '"$work"$'/none/\\xFF-k1.png' \
    "$tools/quorvane-gdi-demo" "$work/none/"$'\xff'

# Names inside a map never cut or add a line: loaded or refused, each file gives one whole line
# without control characters. Prints the lines, the control bytes and the whole lines.
clean_line() {
    "$mapcheck" "$1" >"$work/out"
    local status=$?
    echo "$(wc -l <"$work/out") $(LC_ALL=C tr -d '\200-\377[:print:]\n' <"$work/out" | wc -c)" \
        "$(grep -acE 'zoom 1$|: error: ' "$work/out")"
    [ "$status" -le 1 ]
}
small_map $'Net\001work\x1b' 1 A B C >"$work/controls.qvn"
small_map 'Net@work' 1 A B C | tr '@' '\000' >"$work/nul.qvn"
for file in controls nul; do
    expect_output "$file in a name: one whole clean line" 0 "1 0 1" clean_line "$work/$file.qvn"
done

# Output that cannot be written is a failure, not a success.
expect "mapcheck to a full disk" 2 "quorvane-mapcheck: cannot write the output" \
    bash -c '"$0" --json "$1" >/dev/full' "$mapcheck" "$work/big.qvn"
expect "route to a full disk" 2 "quorvane-route: cannot write the output" \
    bash -c '"$0" "$1" 0 2 >/dev/full' "$route" "$example"

# The headless runner makes the folder its pictures go to, and says when it cannot.
headless() {
    mkdir -p "$work/home" "$work/run" && chmod 700 "$work/run"
    env HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" \
        "$tools/quorvane-headless" "$@"
}
printf 'shot first.png\n' >"$work/shot.script"
headless --script "$work/shot.script" --out "$work/shots/deep" "$example"
expect "headless makes its output folder and writes its picture there" 0 "" test -s "$work/shots/deep/first.png"
headless --script <(printf 'tap 24 308\nwait 10\nstate\n') "$example" | grep -o '"#32768".*' |
    grep -o '"rect":\[[-0-9,]*' | tr -c '0-9\n-' ' ' | head -2 >"$work/menu.rects"
expect "headless: the open menu's first row lies within the menu on the screen" 0 "within" awk '
    NR == 1 { t = $2; b = $4 } NR == 2 { print(($2 >= t && $4 <= b && $2 < $4) ? "within" : "outside") }' "$work/menu.rects"
small_map Gap 1 A B C | sed 's/^0;0;/0;60;/' >"$work/gap.qvn"
expect "headless: no route past a forbidden middle, said as information" 0 '"icon":"information"' headless \
    --script <(printf 'tap %s\ncommand ID_%s\n' '40 80' FORBIDDEN_STATION '20 80' DEPARTURE '60 80' DESTINATION; echo state) "$work/gap.qvn"
: >"$work/plain-file"
expect "headless output under a file" 2 "quorvane-headless: cannot make" \
    headless --script "$work/shot.script" --out "$work/plain-file/shots" "$example"

finish
