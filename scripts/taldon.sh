#!/bin/sh
# One entry point for newcomers and CI:
#   scripts/taldon.sh run    install what is missing, build, start the window
#   scripts/taldon.sh test   install what is missing, build, run the whole test suite
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="${TALDON_BUILD_DIR:-$ROOT/build}"
JOBS=$(nproc 2>/dev/null || echo 2)

sh "$ROOT/scripts/bootstrap.sh" "${1:-run}"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD" -j "$JOBS"

case "${1:-run}" in
run)
    exec "$BUILD/app/taldon"
    ;;
test)
    cd "$BUILD"
    exec ctest --output-on-failure -j "$JOBS"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
