#!/bin/bash
# Downloads a tree of 200 files totalling 50 MB from a local FTP server, once with
# `taldon-cli fetch` and once with `wget -r`, best of five runs each, checks that both copies
# equal the served tree, and prints the wall times and their ratio (taldon / wget; below 1 means
# taldon is faster). Usage: bench/ftp/run.sh <build dir>
set -euo pipefail

build=$(cd "${1:?usage: $0 <build dir>}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
cmake --build "$build" --target taldon-cli >/dev/null
cli="$build/cli/taldon-cli"

work=$(mktemp -d)
server_pid=""
cleanup() {
    if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

# 20 players with 10 tasks each, one 262144-byte file per task: 200 files, 50 MiB.
for p in $(seq -w 1 20); do
    for t in $(seq 1 10); do
        mkdir -p "$work/root/day1/p$p/task$t"
        head -c 262144 /dev/urandom >"$work/root/day1/p$p/task$t/task$t.bin"
    done
done

/usr/bin/python3 "$here/../../tests/ftp/ftpserver.py" "$work/root" judge secret >"$work/port" &
server_pid=$!
for _ in $(seq 1 100); do
    if [ -s "$work/port" ]; then break; fi
    sleep 0.1
done
port=$(head -n 1 "$work/port")
printf 'secret\n' >"$work/password"

best() { sort -n | head -n 1; }
TIMEFORMAT='%R'
taldon_times=""
wget_times=""
for run in 1 2 3 4 5; do
    rm -rf "$work/contest" "$work/wget"
    "$cli" new "$work/contest" >/dev/null
    t=$({ time "$cli" fetch "$work/contest" --server 127.0.0.1 --port "$port" --user judge \
        --password-file "$work/password" --dir day1 >/dev/null; } 2>&1)
    taldon_times+="$t"$'\n'
    mkdir -p "$work/wget"
    t=$({ time wget -q -r -nH -P "$work/wget" --user=judge --password=secret \
        "ftp://127.0.0.1:$port/day1/"; } 2>&1)
    wget_times+="$t"$'\n'
    diff -r "$work/root/day1" "$work/contest/players/day1"
    diff -r "$work/root/day1" "$work/wget/day1"
done

taldon=$(printf '%s' "$taldon_times" | best)
wget=$(printf '%s' "$wget_times" | best)
printf 'taldon-cli fetch  %6.2f s\nwget -r           %6.2f s\nratio             %6.2f\n' \
    "$taldon" "$wget" "$(awk -v a="$taldon" -v b="$wget" 'BEGIN { print a / b }')"
