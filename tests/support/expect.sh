# Sourced by command-line tests: expect NAME STATUS TEXT COMMAND...; finish fails if any failed.
total=0
failures=0

expect() {
    local name=$1 status=$2 text=$3
    shift 3
    local output actual
    output=$("$@" 2>&1)
    actual=$?
    total=$((total + 1))
    # The whole text, line breaks and all: grep -F would take each line as a pattern of its own.
    if [ "$actual" -ne "$status" ] || [[ "$output" != *"$text"* ]]; then
        echo "FAIL $name: exit $actual (wanted $status), output:"
        echo "$output" | head -20
        failures=$((failures + 1))
    fi
}

finish() {
    echo "$((total - failures)) passed, $failures failed"
    [ "$failures" -eq 0 ]
}
