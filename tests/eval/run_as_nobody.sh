#!/bin/sh
# Runs a test binary as the user nobody, with a fresh temporary directory it may write to.
# Exits 77 (skipped) unless started as root.
set -eu
[ "$(id -u)" -eq 0 ] || exit 77
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
chmod 1777 "$dir"
status=0
TMPDIR=$dir setpriv --reuid=65534 --regid=65534 --clear-groups "$@" || status=$?
exit "$status"
