#!/bin/sh
# Installs what Taldon needs to build, run and test on Debian 12.
# Idempotent: packages already present are left alone and apt-get is skipped.
set -eu

PACKAGES="build-essential cmake ninja-build pkg-config qtbase5-dev qtbase5-dev-tools \
libqt5svg5-dev fonts-noto-cjk fonts-dejavu-core gcc g++ fp-compiler fp-units-base xvfb xauth \
imagemagick poppler-utils python3 python3-pyftpdlib python3-pil wget clang-format \
util-linux dpkg-dev file time bc xdotool libseccomp-dev default-jdk-headless"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then
        SUDO="sudo"
    fi
    echo "bootstrap: installing$missing"
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -q
    # shellcheck disable=SC2086
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
fi
