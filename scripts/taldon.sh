#!/bin/sh
# One entry point for newcomers and CI:
#   scripts/taldon.sh run    install what is missing, build the window, start it
#   scripts/taldon.sh test   install what is missing, build everything, run the whole test suite
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="${TALDON_BUILD_DIR:-$ROOT/build}"
JOBS=$(nproc 2>/dev/null || echo 2)
MODE=${1:-run}

case "$MODE" in
run | test) ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac

# Without a display the window cannot open: say so before anything is installed or built.
if [ "$MODE" = run ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] &&
    [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "$0: no display to show the window on (DISPLAY is not set)." >&2
    echo "Run it in a desktop session, or on a virtual display:" \
        "xvfb-run -a sh scripts/taldon.sh run (sh scripts/bootstrap.sh installs xvfb-run)." >&2
    exit 1
fi

sh "$ROOT/scripts/bootstrap.sh" "$MODE"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

case "$MODE" in
run)
    # The window and the stock filters it copies into new contests, not the tests.
    cmake --build "$BUILD" -j "$JOBS" --target taldon taldon-filters
    exec "$BUILD/app/taldon"
    ;;
test)
    cmake --build "$BUILD" -j "$JOBS"
    cd "$BUILD"
    exec ctest --output-on-failure -j "$JOBS"
    ;;
esac
