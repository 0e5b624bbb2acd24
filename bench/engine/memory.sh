#!/bin/sh
# Peak memory of taldon-cli eval on the generated contest (50 players x 3 tasks x 10 points).
# Usage: memory.sh BUILD_DIR
set -eu
. "$(dirname "$0")/bench_contest.sh"
/usr/bin/time -v "$build/cli/taldon-cli" eval "$work/contest" --day 1 >/dev/null 2>"$work/time.err"
grep -E 'Maximum resident set size|Elapsed' "$work/time.err"
