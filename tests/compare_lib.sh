# What the two build comparisons share (sourced): the flights, the byte comparison of two
# output folders with the first differing rows of each trace, and the summary line.

# Writes the random flights flight1.txt to flight3.txt of PASSES passes into DIR.
write_flights() {  # dir passes
    for seed in 1 2 3; do
        awk -v seed="$seed" -v n="$2" -f "$(dirname "${BASH_SOURCE[0]}")/flight.awk" \
            >"$1/flight$seed.txt"
    done
}

# Compares every file under A with B byte for byte, except the files named by EXCLUDE (a
# find -name pattern, or ""); prints each difference. Returns 1 when any differs.
compare_outputs() {  # a b exclude
    local a=$1 b=$2 exclude=$3 status=0
    for f in "$a"/*.csv; do
        local name=$(basename "$f")
        if ! cmp -s "$f" "$b/$name"; then
            echo "FAIL: $name differs; first differing rows:"
            diff "$f" "$b/$name" | head -4 || true
            status=1
        fi
    done
    if ! diff -rq ${exclude:+-x "$exclude"} "$a" "$b" >"$a.diff"; then
        echo "FAIL: outputs differ:"
        head -20 "$a.diff" || true
        status=1
    fi
    return $status
}

# The summary: how much was compared, and the verdict.
summarise() {  # a status what-else
    local a=$1 status=$2
    local rows ships changes files
    rows=$(cat "$a"/trace*.csv | wc -l)
    ships=$(cat "$a"/enemies*.csv | wc -l)
    changes=$(awk -F, 'FNR == 1 { delete c } FNR > 1 { k = FILENAME ":" $2; if (k in c && c[k] != $10) n++; c[k] = $10 } END { print n + 0 }' "$a"/enemies*.csv)
    files=$(find "$a/dump" -type f | wc -l)
    echo "compared $files content files, $rows trace rows, $ships enemy rows ($changes carrier" \
        "changes)$3: $([ "$status" = 0 ] && echo identical || echo DIFFERENT)"
}
