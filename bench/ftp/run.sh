#!/bin/bash
# Downloads a tree shaped like a contest's players/ (300 players, about 900 files and 1,200
# directories, maketree.py) from a local FTP server, with `taldon-cli fetch` and with `wget -r`,
# 7 runs each, interleaved; checks that every copy equals the served tree byte for byte, and
# prints the median wall times and their ratio (taldon / wget; below 1 means taldon is faster).
# Usage: bench/ftp/run.sh <build dir> [vsftpd|proftpd|pyftpdlib]
# The real servers are those `scripts/bootstrap.sh test` unpacks; vsftpd is the default.
set -euo pipefail

build=$(cd "${1:?usage: $0 <build dir> [vsftpd|proftpd|pyftpdlib]}" && pwd)
kind=${2:-vsftpd}
here=$(cd "$(dirname "$0")" && pwd)
tests="$here/../../tests/ftp"
cmake --build "$build" --target taldon-cli >/dev/null
cli="$build/cli/taldon-cli"
runs=7

work=$(mktemp -d)
server_pid=""
cleanup() {
    if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

/usr/bin/python3 "$here/maketree.py" "$work/root"
case "$kind" in
vsftpd) user=anonymous password=x ;;
proftpd) user=judge password=secret ;;
pyftpdlib) user=judge password=secret ;;
*) echo "$0: unknown server $kind" >&2; exit 2 ;;
esac
if [ "$kind" = pyftpdlib ]; then
    /usr/bin/python3 "$tests/ftpserver.py" "$work/root" judge secret >"$work/port" &
else
    /usr/bin/python3 "$tests/realftp.py" "$kind" "$work/root" >"$work/port" &
fi
server_pid=$!
for _ in $(seq 1 100); do
    if [ -s "$work/port" ]; then break; fi
    sleep 0.1
done
port=$(head -n 1 "$work/port")
printf '%s\n' "$password" >"$work/password"

TIMEFORMAT='%R'
taldon_times=""
wget_times=""
for run in $(seq 1 $runs); do
    rm -rf "$work/contest" "$work/wget"
    "$cli" new "$work/contest" >/dev/null
    t=$({ time "$cli" fetch "$work/contest" --server 127.0.0.1 --port "$port" --user "$user" \
        --password-file "$work/password" --dir day1 >/dev/null; } 2>&1)
    taldon_times+="$t"$'\n'
    mkdir -p "$work/wget"
    t=$({ time wget -q -r -l inf -nH --restrict-file-names=nocontrol -P "$work/wget" \
        --user="$user" --password="$password" "ftp://127.0.0.1:$port/day1/"; } 2>&1)
    wget_times+="$t"$'\n'
    diff -r "$work/root/day1" "$work/contest/players/day1"
    diff -r "$work/root/day1" "$work/wget/day1"
    echo "run $run: taldon $(printf '%s' "$taldon_times" | tail -n 1) s," \
        "wget $(printf '%s' "$wget_times" | tail -n 1) s" >&2
done

median() { sort -n | sed -n "$(((runs + 1) / 2))p"; }
taldon=$(printf '%s' "$taldon_times" | median)
wget=$(printf '%s' "$wget_times" | median)
printf 'server %s, median of %d interleaved runs\n' "$kind" "$runs"
printf 'taldon-cli fetch  %6.2f s\nwget -r           %6.2f s\nratio             %6.2f\n' \
    "$taldon" "$wget" "$(awk -v a="$taldon" -v b="$wget" 'BEGIN { print a / b }')"
