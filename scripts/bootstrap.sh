#!/bin/sh
# Installs what Taldon needs to build, run and test on Debian 12.
#   scripts/bootstrap.sh        the packages to build and run Taldon and its tests
#   scripts/bootstrap.sh test   the same, and the cluster tools the many-machines tests drive
# Idempotent: packages already present are left alone and apt-get is skipped.
set -eu

PACKAGES="build-essential cmake ninja-build pkg-config qtbase5-dev qtbase5-dev-tools \
libqt5svg5-dev fonts-noto-cjk fonts-dejavu-core gcc g++ fp-compiler fp-units-base xvfb xauth \
imagemagick poppler-utils python3 python3-pyftpdlib python3-pil wget clang-format \
util-linux dpkg-dev file time bc xdotool libseccomp-dev"

# GNU parallel and a one-node Slurm cluster, for the tests of the README's many-machines recipes
# only. The tests start their own daemons, so no service may start during the install; where the
# install fails, those tests are skipped and nothing else is.
TEST_CLUSTER_PACKAGES="parallel slurmctld slurmd slurm-client munge"
POLICY=/usr/sbin/policy-rc.d

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
updated=""

apt_install() {
    if [ -z "$updated" ]; then
        $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -q
        updated=yes
    fi
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@"
}

missing_of() {
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            printf ' %s' "$p"
        fi
    done
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
    echo "bootstrap: installing$missing"
    # shellcheck disable=SC2086
    apt_install $missing
fi

if [ "${1:-}" = "test" ]; then
    install_test_cluster
fi
