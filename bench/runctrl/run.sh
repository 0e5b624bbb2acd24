#!/bin/sh
# Builds and runs the kill-latency benchmark: bench/runctrl/run.sh [build directory]
set -eu
src=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$src/build}
cmake -S "$src" -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j2 --target bench_runctrl
exec "$build/bench/runctrl/bench_runctrl"
