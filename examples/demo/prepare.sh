#!/bin/sh
# Copies the demo contest to DEST and fills its filter/ directory with the stock filters of a
# build: prepare.sh DEST BUILD_DIR
set -eu
if [ "$#" -ne 2 ]; then
    echo "usage: $0 DEST BUILD_DIR" >&2
    exit 2
fi
src=$(cd "$(dirname "$0")" && pwd)
dest=$1
filters=$2/app/filter
if [ ! -d "$filters" ]; then
    echo "$0: no stock filters in $filters (build the project first)" >&2
    exit 1
fi
if [ -e "$dest" ]; then
    echo "$0: $dest already exists" >&2
    exit 1
fi
mkdir -p -- "$dest"
cp -R -- "$src"/. "$dest"/
rm -f -- "$dest/prepare.sh" "$dest/README.md"
for sub in players data result final tmp filter evaldata; do
    mkdir -p -- "$dest/$sub"
done
cp -- "$filters"/* "$dest/filter/"
echo "demo contest ready in $dest"
