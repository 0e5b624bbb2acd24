#!/bin/sh
# Judging time per test point of a trivial Python and a trivial Java program, against running
# the same interpreter or virtual machine by hand in a shell loop (copy the input, run, compare
# with cmp). The judge's figure leaves out compiling: it is the difference between evaluating
# 21 test points and 1, divided by 20. Usage: languages.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
players=5
now() { date +%s.%N; }

# contest DEST SAMPLES LANG: PLAYERS players of one task in LANG (py or java).
contest() {
    dest=$1
    mkdir -p "$dest"
    for sub in players data result final tmp filter evaldata; do mkdir -p "$dest/$sub"; done
    cp "$build/app/filter/fulltext_e" "$dest/filter/"
    printf 'NAME=bench\nDAYNUM=1\nPLAYER=player.info\nTEAM=team.info\n' >"$dest/setup.cfg"
    printf 'NAME=day\nBASESCORE=0\nTASKNUM=1\n' >"$dest/day1.info"
    : >"$dest/team.info"
    printf 'TITLE=t\nNAME=t\nRUN=\nINFILESUFFIX=in\nANSFILESUFFIX=ans\nPLUG=fulltext_e\nTYPE=SOURCE\nLIMIT=2\nMEMLIMITS=256\nSAMPLES=%s\nCCL=py@python3 -m py_compile %%i \nCCL=java@javac %%i \n' \
        "$2" >"$dest/task1_1.info"
    i=1
    while [ "$i" -le "$2" ]; do
        printf '%s\n' "$i" >"$dest/evaldata/t$i.in"
        cp "$dest/evaldata/t$i.in" "$dest/evaldata/t$i.ans"
        i=$((i + 1))
    done
    : >"$dest/player.info"
    p=1
    while [ "$p" -le "$players" ]; do
        echo "P$p@player $p" >>"$dest/player.info"
        mkdir -p "$dest/players/day1/P$p/t"
        cp "$work/t.$3" "$dest/players/day1/P$p/t/"
        p=$((p + 1))
    done
}

judge() {
    start=$(now)
    "$build/cli/taldon-cli" eval "$1" --day 1 >"$1.out" 2>"$1.err"
    echo "$(now) - $start" | bc -l
}

# bare LANG COMMAND...: the same work per point by hand, 20 points per player.
bare() {
    lang=$1
    shift
    mkdir -p "$work/bare-$lang"
    cd "$work/bare-$lang"
    cp "$work/t.$lang" .
    [ "$lang" = java ] && javac t.java 2>/dev/null
    start=$(now)
    p=1
    while [ "$p" -le "$players" ]; do
        i=1
        while [ "$i" -le 20 ]; do
            printf '%s\n' "$i" >t.in
            "$@"
            cmp -s t.out t.in
            i=$((i + 1))
        done
        p=$((p + 1))
    done
    echo "$(now) - $start" | bc -l
    cd "$work"
}

printf 'open("t.out", "w").write(open("t.in").read())\n' >"$work/t.py"
cat >"$work/t.java" <<'EOF'
import java.nio.file.*;
public class t {
    public static void main(String[] args) throws Exception {
        Files.write(Paths.get("t.out"), Files.readAllBytes(Paths.get("t.in")));
    }
}
EOF

points=$((players * 20))
for lang in py java; do
    contest "$work/$lang-1" 1 "$lang"
    contest "$work/$lang-21" 21 "$lang"
    one=$(judge "$work/$lang-1")
    many=$(judge "$work/$lang-21")
    accepted=$(grep -c 'total=210$' "$work/$lang-21.out" || true)
    if [ "$lang" = py ]; then
        by_hand=$(bare py /usr/bin/python3 t.py)
    else
        by_hand=$(bare java env MALLOC_ARENA_MAX=1 /usr/bin/java -Xmx256m -Xss64m -XX:+UseSerialGC \
            -XX:ActiveProcessorCount=1 -XX:CompressedClassSpaceSize=64m \
            -XX:ReservedCodeCacheSize=32m -XX:MaxMetaspaceSize=64m -XX:+ExitOnOutOfMemoryError \
            -XX:+DisplayVMOutputToStderr -XX:-UsePerfData -cp . t)
    fi
    per=$(echo "($many - $one) * 1000 / $points" | bc -l)
    bare_per=$(echo "$by_hand * 1000 / $points" | bc -l)
    printf '%s: players accepted %s of %s\n' "$lang" "$accepted" "$players"
    # What kept a player from the full score, once per kind.
    grep -h -v -e ' Accepted\.$' -e '^[{}]' "$work/$lang-21/result/day1"/*/*.result | sort | uniq -c ||
        true
    printf '%s: judge %.1f ms per point, by hand %.1f ms per point, ratio %.2f\n' \
        "$lang" "$per" "$bare_per" "$(echo "$per / $bare_per" | bc -l)"
done
