#!/bin/sh
# Parallel judging: wall time of taldon-cli eval with --jobs 1 and --jobs 2 on a contest of
# CPU-bound submissions (40 players x 5 points of about 0.2 s of CPU each), and the spread of
# the times measured for a program of about 0.5 s of CPU per point (20 players x 5 points) with
# one job and with two. Usage: parallel.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
cli="$build/cli/taldon-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
now() { date +%s.%N; }

# Iterations per second of the burn loop on this machine, from a short calibration run.
cc -O2 -DITERATIONS=200000000UL -o "$work/calibrate" "$here/echo_input.c"
printf 'x\n' >"$work/calibrate.in"
start=$(now)
(cd "$work" && ./calibrate)
rate=$(echo "200000000 / ($(now) - $start)" | bc -l)

# contest DIR PLAYERS SECONDS: one task t of 5 points whose submissions burn SECONDS of CPU.
contest() {
    dest=$1
    mkdir -p "$dest/players" "$dest/result" "$dest/tmp" "$dest/filter" "$dest/evaldata"
    cp "$build/app/filter/fulltext_e" "$dest/filter/"
    cc -O2 -DITERATIONS="$(printf '%.0f' "$(echo "$rate * $3" | bc -l)")UL" -o "$dest/burn" \
        "$here/echo_input.c"
    printf 'NAME=parallel\nDAYNUM=1\nPLAYER=player.info\nTEAM=team.info\n' >"$dest/setup.cfg"
    printf 'NAME=day\nBASESCORE=0\nTASKNUM=1\n' >"$dest/day1.info"
    printf 'TITLE=t\nNAME=t\nRUN=\nINFILESUFFIX=in\nANSFILESUFFIX=ans\nPLUG=fulltext_e\nTYPE=SOURCE\nLIMIT=3\nMEMLIMITS=64\nSAMPLES=5\nCCL=bin@cp %%i %%o \n' \
        >"$dest/task1_1.info"
    : >"$dest/team.info"
    : >"$dest/player.info"
    for i in 1 2 3 4 5; do
        printf '%s\n' "$i" >"$dest/evaldata/t$i.in"
        cp "$dest/evaldata/t$i.in" "$dest/evaldata/t$i.ans"
    done
    p=1
    while [ "$p" -le "$2" ]; do
        id=$(printf 'P-%03d' "$p")
        echo "$id@player $p" >>"$dest/player.info"
        mkdir -p "$dest/players/day1/$id/t"
        cp "$dest/burn" "$dest/players/day1/$id/t/t.bin"
        p=$((p + 1))
    done
}

# timed DIR JOBS: evaluates day 1 and prints the wall time; the result files go to DIR.jobsJOBS.
timed() {
    rm -rf "$1/result"/*
    start=$(now)
    "$cli" eval "$1" --day 1 --jobs "$2" >/dev/null 2>&1
    echo "$(now) - $start" | bc -l
    rm -rf "$1.jobs$2"
    cp -r "$1/result" "$1.jobs$2"
}

# The time field of every test point, one "player point seconds" line each.
pointtimes() {
    for f in "$1"/day1/*/*.result; do
        id=$(basename "$f" .result)
        awk -v id="$id" '/^101 /{n++; print id, n, $3}' "$f"
    done | sort
}

contest "$work/throughput" 40 0.2
one=$(timed "$work/throughput" 1)
two=$(timed "$work/throughput" 2)
accepted=$(grep -l '^}102 50$' "$work/throughput.jobs2"/day1/*/*.result | wc -l)
printf 'throughput: 40 players x 5 points of 0.2 s CPU; accepted with 2 jobs: %s of 40\n' "$accepted"
printf '  --jobs 1: %.2f s   --jobs 2: %.2f s   speed-up: %.2f\n' "$one" "$two" \
    "$(echo "$one / $two" | bc -l)"

contest "$work/stability" 20 0.5
timed "$work/stability" 1 >/dev/null
timed "$work/stability" 2 >/dev/null
pointtimes "$work/stability.jobs1" >"$work/t1"
pointtimes "$work/stability.jobs2" >"$work/t2"
# Both lists are sorted by player and point, so their lines pair up.
cut -d' ' -f3 "$work/t1" >"$work/c1"
cut -d' ' -f3 "$work/t2" >"$work/c2"
paste -d' ' "$work/c1" "$work/c2" >"$work/pairs"
awk '{d = $2 - $1; if (d < 0) d = -d; print d, d / $1}' "$work/pairs" | sort -n >"$work/diffs"
n=$(wc -l <"$work/diffs")
median=$(sort -k2 -n "$work/diffs" | awk -v m=$(((n + 1) / 2)) 'NR == m {print $2 * 100}')
largest=$(tail -n 1 "$work/diffs" | cut -d' ' -f1)
printf 'stability: 20 players x 5 points of 0.5 s CPU, %s points compared\n' "$n"
printf '  median difference 1 job / 2 jobs: %.2f %%   largest: %.3f s\n' "$median" "$largest"
