#!/bin/sh
# Installs what Taldon needs to build, run and test on Debian 12.
#   scripts/bootstrap.sh        the packages to build and run Taldon and its tests
#   scripts/bootstrap.sh test   the same, the FTP servers the network tests talk to, and the
#                               cluster tools the many-machines tests drive
# Idempotent: packages already present are left alone and apt-get is skipped. Installing runs
# as root, or through sudo for a user who may use it.
set -eu

PACKAGES="build-essential cmake ninja-build pkg-config qtbase5-dev qtbase5-dev-tools \
libqt5svg5-dev qttranslations5-l10n fonts-noto-cjk fonts-arphic-uming fonts-dejavu-core gcc g++ \
fp-compiler fp-units-base xvfb xauth imagemagick poppler-utils python3 python3-pyftpdlib \
python3-pil wget clang-format util-linux dpkg-dev file time bc xdotool libseccomp-dev \
default-jdk-headless"

# FTP servers for the tests only. They are unpacked into TEST_SERVERS, never installed as
# packages: a configured package would register a daemon on port 21 (and the servers conflict
# with each other as packages). Only the libraries they link are installed.
TEST_SERVER_PACKAGES="vsftpd proftpd-core"
TEST_SERVERS="${TALDON_TEST_SERVERS:-/usr/local/lib/taldon/test-ftp}"

# GNU parallel and a one-node Slurm cluster, for the tests of the README's many-machines recipes
# only. The tests start their own daemons, so no service may start during the install; where the
# install fails, those tests are skipped and nothing else is.
TEST_CLUSTER_PACKAGES="parallel slurmctld slurmd slurm-client munge"
POLICY=/usr/sbin/policy-rc.d

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
# A plain user without sudo is told what is missing and how to install it, before anything runs.
need_root() {
    if [ -n "$SUDO" ] && ! command -v sudo >/dev/null 2>&1; then
        echo "bootstrap: missing:$1" >&2
        echo "bootstrap: installing packages needs root: run this as root, or as a user" \
            "who may use sudo" >&2
        exit 1
    fi
}
updated=""

apt_update() {
    if [ -z "$updated" ]; then
        $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -q
        updated=yes
    fi
}

apt_install() {
    apt_update
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@"
}

missing_of() {
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            printf ' %s' "$p"
        fi
    done
}

# The library packages (lib*) a downloaded .deb depends on, first alternatives, without versions.
library_depends() {
    dpkg-deb -f "$1" Depends | tr ',' '\n' | sed 's/|.*//; s/(.*)//; s/[[:space:]]//g' | grep '^lib' || true
}

# Unpacks each test server into $TEST_SERVERS/<package>; a failure skips that server only, and
# the tests that need it say so.
install_test_servers() {
    for pkg in $TEST_SERVER_PACKAGES; do
        if [ -f "$TEST_SERVERS/$pkg/.unpacked" ]; then
            continue
        fi
        echo "bootstrap: unpacking the test server $pkg into $TEST_SERVERS/$pkg"
        if ! unpack_server "$pkg"; then
            echo "bootstrap: could not unpack $pkg; the tests that need it will be skipped" >&2
        fi
    done
}

unpack_server() {
    work=$(mktemp -d)
    chmod 755 "$work"
    # shellcheck disable=SC2086
    if apt_update && (cd "$work" && $SUDO apt-get download -q "$1") &&
        deb=$(ls "$work"/*.deb) && libs=$(library_depends "$deb") &&
        { [ -z "$libs" ] || apt_install $libs; } &&
        $SUDO mkdir -p "$TEST_SERVERS/$1" && $SUDO dpkg-deb -x "$deb" "$TEST_SERVERS/$1" &&
        $SUDO touch "$TEST_SERVERS/$1/.unpacked"; then
        rm -rf "$work"
        return 0
    fi
    rm -rf "$work"
    return 1
}

# A policy-rc.d that refuses every start (exit 101) stands for the length of the install; one
# that was there before is put back afterwards, whatever happens.
restore_policy() {
    $SUDO rm -f "$POLICY"
    if [ -e "$POLICY.taldon-saved" ]; then
        $SUDO mv "$POLICY.taldon-saved" "$POLICY"
    fi
}

install_test_cluster() {
    cluster=$(missing_of $TEST_CLUSTER_PACKAGES)
    if [ -z "$cluster" ]; then
        return 0
    fi
    echo "bootstrap: installing the test set$cluster, no service started"
    if [ -e "$POLICY" ]; then
        $SUDO mv "$POLICY" "$POLICY.taldon-saved"
    fi
    trap restore_policy EXIT
    trap 'exit 130' INT TERM
    printf '#!/bin/sh\n# Taldon bootstrap: no service starts while the test set installs.\nexit 101\n' |
        $SUDO tee "$POLICY" >/dev/null
    $SUDO chmod 755 "$POLICY"
    # shellcheck disable=SC2086
    if ! apt_install $cluster; then
        echo "bootstrap: could not install$cluster; the tests that need them will be skipped" >&2
    fi
    restore_policy
    trap - EXIT INT TERM
}

missing=$(missing_of $PACKAGES)
if [ -n "$missing" ]; then
    need_root "$missing"
    echo "bootstrap: installing$missing"
    # shellcheck disable=SC2086
    apt_install $missing
fi

if [ "${1:-}" = "test" ]; then
    install_test_servers
    install_test_cluster
fi
