#!/bin/sh
# Judging overhead: wall time per test point of taldon-cli eval on a generated contest
# (50 players x 3 tasks x 10 points) against a bare shell loop doing the same work per point
# (copy the input, run the program, compare with cmp). Usage: overhead.sh BUILD_DIR
set -eu
. "$(dirname "$0")/bench_contest.sh"
points=$((50 * 3 * 10))
now() { date +%s.%N; }

start=$(now)
"$build/cli/taldon-cli" eval "$work/contest" --day 1 >"$work/judge.out" 2>"$work/judge.err"
judge=$(echo "$(now) - $start" | bc -l)
accepted=$(grep -c 'total=300$' "$work/judge.out" || true)

mkdir "$work/bare"
cd "$work/bare"
start=$(now)
for dir in "$work"/contest/players/day1/*; do
    for t in t1 t2 t3; do
        cp -f "$dir/$t/$t.bin" "$t"
        for i in 1 2 3 4 5 6 7 8 9 10; do
            cp -f "$work/contest/evaldata/$t$i.in" "$t.in"
            "./$t"
            cmp -s "$t.out" "$work/contest/evaldata/$t$i.ans"
        done
    done
done
bare=$(echo "$(now) - $start" | bc -l)

printf 'players accepted by the judge: %s of 50\n' "$accepted"
printf 'judge: %.3f s, %.2f ms per point\n' "$judge" "$(echo "$judge * 1000 / $points" | bc -l)"
printf 'bare shell loop: %.3f s, %.2f ms per point\n' "$bare" "$(echo "$bare * 1000 / $points" | bc -l)"
printf 'ratio judge / bare: %.2f\n' "$(echo "$judge / $bare" | bc -l)"
