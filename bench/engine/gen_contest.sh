#!/bin/sh
# Writes a contest of PLAYERS players x 3 tasks x 10 test points of a trivial accepted program:
# gen_contest.sh DEST BUILD_DIR [PLAYERS]. Each task's "compiler" copies a prebuilt program, so
# that what is measured is judging, not compiling.
set -eu
dest=$1
build=$2
players=${3:-50}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$dest"
for sub in players data result final tmp filter evaldata; do mkdir -p "$dest/$sub"; done
cp "$build/app/filter/fulltext_e" "$dest/filter/"
cc -O2 -o "$dest/echo_input" "$here/echo_input.c"
printf 'NAME=bench\nDAYNUM=1\nPLAYER=player.info\nTEAM=team.info\n' >"$dest/setup.cfg"
printf 'NAME=day\nBASESCORE=0\nTASKNUM=3\n' >"$dest/day1.info"
: >"$dest/team.info"
for t in 1 2 3; do
    printf 'TITLE=t%s\nNAME=t%s\nRUN=\nINFILESUFFIX=in\nANSFILESUFFIX=ans\nPLUG=fulltext_e\nTYPE=SOURCE\nLIMIT=1\nMEMLIMITS=64\nSAMPLES=10\nCCL=bin@cp %%i %%o \n' \
        "$t" "$t" >"$dest/task1_$t.info"
    for i in 1 2 3 4 5 6 7 8 9 10; do
        printf '%s %s\n' "$t" "$i" >"$dest/evaldata/t$t$i.in"
        cp "$dest/evaldata/t$t$i.in" "$dest/evaldata/t$t$i.ans"
    done
done
: >"$dest/player.info"
p=1
while [ "$p" -le "$players" ]; do
    id=$(printf 'JS-%03d' "$p")
    echo "$id@player $p" >>"$dest/player.info"
    for t in 1 2 3; do
        mkdir -p "$dest/players/day1/$id/t$t"
        cp "$dest/echo_input" "$dest/players/day1/$id/t$t/t$t.bin"
    done
    p=$((p + 1))
done
