# Sourced by the engine benchmarks with the build directory as $1: sets build, here and work
# (a temporary directory removed on exit) and generates the contest in $work/contest.
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sh "$here/gen_contest.sh" "$work/contest" "$build" 50
