#!/bin/bash
# Times the stock filters on 50 MB outputs that they accept (the slowest case: every byte is
# compared). Prints the best of five runs: wall time, and CPU time (user + system), which stays
# meaningful on a busy machine, and the output's megabytes per CPU second. mlmn_int_e runs twice:
# on an output written as its answer, and on one written otherwise ("intform"), where each number
# is read. Usage: bench/filters/run.sh <build dir> [megabytes]
set -euo pipefail

build=$(cd "${1:?usage: $0 <build dir> [megabytes]}" && pwd)
size=${2:-50}
cmake --build "$build" --target filter-bench-data taldon-filters >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/filters/filter-bench-data" "$work" "$size"
: >"$work/input"

TIMEFORMAT='%R %U %S'
printf '%-14s %-8s %7s %9s %9s %9s  %s\n' filter output size wall cpu MB/s verdict
for case in "fulltext_e text" "mlmn_int_e int" "mlmn_int_e intform" "mlmn_float_3e float"; do
    read -r name stem <<<"$case"
    best_wall=""
    best_cpu=""
    for _ in 1 2 3 4 5; do
        read -r real user sys < <({ time "$build/app/filter/$name" "$work/input" \
            "$work/$stem.out" "$work/$stem.ans" >"$work/verdict"; } 2>&1)
        wall=$(awk -v r="$real" 'BEGIN { printf "%d", r * 1000 }')
        cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%d", (u + s) * 1000 }')
        if [ -z "$best_wall" ] || [ "$wall" -lt "$best_wall" ]; then best_wall=$wall; fi
        if [ -z "$best_cpu" ] || [ "$cpu" -lt "$best_cpu" ]; then best_cpu=$cpu; fi
    done
    bytes=$(stat -c %s "$work/$stem.out")
    rate=$(awk -v b="$bytes" -v ms="$best_cpu" 'BEGIN { printf "%d", ms ? b / 1048576 * 1000 / ms : 0 }')
    printf '%-14s %-8s %4d MB %6d ms %6d ms %9d  %s\n' "$name" "$stem" $((bytes >> 20)) "$best_wall" \
        "$best_cpu" "$rate" "$(head -n 1 "$work/verdict")"
done
