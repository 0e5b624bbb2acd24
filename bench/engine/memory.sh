#!/bin/sh
# Peak memory of taldon-cli eval on the generated contest (50 players x 3 tasks x 10 points).
# Usage: memory.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sh "$here/gen_contest.sh" "$work/contest" "$build" 50
/usr/bin/time -v "$build/cli/taldon-cli" eval "$work/contest" --day 1 >/dev/null 2>"$work/time.err"
grep -E 'Maximum resident set size|Elapsed' "$work/time.err"
