#!/bin/sh
# Takes the README's screenshots: the welcome page and the three tabs of the demo contest, once
# evaluated, as the real window shows them on a virtual X server.
#   sh scripts/screenshots.sh [BUILD_DIR]
# Without BUILD_DIR the programs are built in build/. Needs xvfb-run, xdotool and ImageMagick's
# import, which scripts/bootstrap.sh installs. The pictures land in docs/screenshots/.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT="$ROOT/docs/screenshots"

# Runs on the virtual display: drives the window with xdotool and grabs it with import.
shoot() {
    build=$1
    contest=$2
    "$build/app/taldon" &
    taldon=$!
    # A window left open would keep xvfb-run waiting; the quit question is never answered.
    trap 'kill "$taldon" 2>/dev/null || true' EXIT
    win=$(xdotool search --sync --onlyvisible --class taldon | head -n 1)
    xdotool windowmove --sync "$win" 0 0
    settle
    grab welcome

    # The welcome page's 打开比赛, then the path typed into the file dialog.
    click 595 333
    dialog=$(xdotool search --sync --onlyvisible --name 'Choose a file' | head -n 1)
    xdotool windowfocus --sync "$dialog"
    settle
    xdotool type --delay 20 "$contest/setup.cfg"
    xdotool key Return
    settle
    settle

    # The task tree: unfold the first day and pick its first task, so the form shows it.
    click 60 96
    xdotool key Right
    settle
    click 65 113
    settle
    grab taskconfig

    # The evaluation tab, which opens on day 1 with its results, then the statistics.
    click 130 44
    settle
    grab evaluation
    click 200 44
    settle
    grab statistics
}

settle() {
    sleep 1
}

# Clicks at a point of the window, in the window's own coordinates.
click() {
    xdotool mousemove --window "$win" "$1" "$2" click 1
}

grab() {
    import -window "$win" "$OUT/$1.png"
    echo "screenshots: $OUT/$1.png"
}

if [ "${1:-}" = "--inside" ]; then
    shift
    win=
    shoot "$@"
    exit 0
fi

for tool in xvfb-run xdotool import; do
    if ! command -v "$tool" >/dev/null; then
        echo "$0: $tool is missing (sh scripts/bootstrap.sh installs it)" >&2
        exit 1
    fi
done

if [ "$#" -ge 1 ]; then
    BUILD=$(cd "$1" && pwd)
else
    BUILD="$ROOT/build"
    cmake -S "$ROOT" -B "$BUILD" -G Ninja
    cmake --build "$BUILD" -j 2 --target taldon taldon-cli taldon-filters
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sh "$ROOT/examples/demo/prepare.sh" "$work/demo" "$BUILD"
# The judge's diagnostics are only of interest when an evaluation fails.
for day in 1 2; do
    if ! "$BUILD/cli/taldon-cli" eval "$work/demo" --day "$day" >/dev/null 2>"$work/eval.log"; then
        cat "$work/eval.log" >&2
        exit 1
    fi
done

mkdir -p "$OUT"
xvfb-run -a -s "-screen 0 1024x768x24" sh "$ROOT/scripts/screenshots.sh" --inside "$BUILD" "$work/demo"
