#!/usr/bin/env bash
# The structure check on small made-up trees: it must pass a clean one and name each fault.
set -u
check=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# tree NAME LAYERS FILE=INCLUDES... : a tree whose files include the named headers.
tree() {
    local root=$scratch/$1
    mkdir -p "$root/scripts"
    printf '%b' "$2" >"$root/scripts/layers"
    shift 2
    local entry file includes
    for entry in "$@"; do
        file=${entry%%=*}
        includes=${entry#*=}
        mkdir -p "$root/$(dirname "$file")"
        : >"$root/$file"
        for include in $includes; do
            echo "#include \"$include\"" >>"$root/$file"
        done
    done
    echo "$root"
}

# expect NAME STATUS PATTERN ROOT
expect() {
    local output status
    output=$("$check" "$4" 2>/dev/null)
    status=$?
    if [ "$status" -ne "$2" ] || ! grep -qE -- "$3" <<<"$output"; then
        echo "FAIL $1: status $status, output:"
        echo "$output"
        failures=$((failures + 1))
    fi
}

layers='src/high\nsrc/mid src/side\nsrc/low\n'
clean=$(tree clean "$layers" src/high/a.cpp="high/a.h mid/b.h low/c.h" src/high/a.h= \
    src/mid/b.h="low/c.h" src/side/d.h="low/c.h" src/low/c.h= src/low/c.cpp="low/c.h")
expect clean 0 '^$' "$clean"

upward=$(tree upward "$layers" src/low/c.cpp="high/a.h" src/high/a.h=)
expect upward 1 '^upward: src/low/c.cpp \(src/low\) includes src/high/a.h \(src/high\)$' "$upward"

peer=$(tree peer "$layers" src/mid/b.cpp="side/d.h" src/side/d.h=)
expect peer 1 '^peer: src/mid/b.cpp' "$peer"

# A cycle between units of one folder breaks no layer, only the unit rule.
cycle=$(tree cycle "$layers" src/low/p.cpp="low/q.h" src/low/q.h= src/low/q.cpp="low/r.h" \
    src/low/r.h= src/low/r.cpp="low/p.h" src/low/p.h=)
expect cycle 1 '^cycle of 3 units: src/low/p src/low/q src/low/r$' "$cycle"

# A deny line forbids one folder a lower one that the order alone would let it use.
denied=$(tree denied "src/high\nsrc/mid\nsrc/low\ndeny src/high src/low\n" src/high/a.cpp="mid/b.h low/c.h" \
    src/mid/b.h= src/low/c.h=)
expect denied 1 '^denied: src/high/a.cpp \(src/high\) includes src/low/c.h \(src/low\)$' "$denied"

# A unit's own header is no cycle; a file that no layer names is reported.
unplaced=$(tree unplaced "$layers" src/low/c.cpp="low/c.h" src/low/c.h= src/other/e.cpp="low/c.h")
expect unplaced 1 '^no layer: src/other/e.cpp$' "$unplaced"

# Headers from outside the tree are not the check's business.
outside=$(tree outside "$layers" src/low/c.cpp="gtest/gtest.h cairo.h")
expect outside 0 '^$' "$outside"

[ "$failures" -eq 0 ] && echo "structure check: all cases pass"
exit $((failures > 0))
