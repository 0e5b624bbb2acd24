#!/bin/sh
# tst_package.sh CPACK BUILD_DIR SOURCE_DIR
# Installs the package built from BUILD_DIR and uses the installed programs the way a newcomer
# does: a new contest through the search path, then the demo contest judged by its filters.
set -eu
cpack=$1
build=$2
source=$3

skip() {
    echo "SKIP: $*"
    exit 77
}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
command -v apt-get >/dev/null 2>&1 || skip "no apt-get"
if dpkg-query -W -f='${Status}' taldon 2>/dev/null | grep -q "install ok installed"; then
    skip "a taldon package is installed already; it is left alone"
fi

# apt-get without questions, waiting for another apt-get on this machine rather than failing.
apt_get() {
    DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=120 "$@"
}

work=$(mktemp -d)
installed=no
cleanup() {
    if [ "$installed" = yes ]; then
        apt_get remove taldon >/dev/null || echo "could not remove the taldon package" >&2
    fi
    rm -rf -- "$work"
}
trap cleanup EXIT
# The judged programs run under an unprivileged id and must reach the contest.
chmod 755 "$work"

(cd "$build" && "$cpack" -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log" >&2; fail "cpack"; }
set -- "$work"/pkg/taldon_*.deb
[ -f "$1" ] || fail "no taldon_*.deb from cpack"
installed=yes
apt_get install --no-install-recommends "$1" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get install"; }

# The window's dialogs are Chinese only with Qt's translations.
dpkg-query -W -f='${Depends}' taldon | grep -q 'qttranslations5-l10n' ||
    fail "the package does not depend on qttranslations5-l10n"
for program in /usr/bin/taldon /usr/bin/taldon-cli; do
    [ -x "$program" ] || fail "$program is not installed"
done
filters=/usr/lib/taldon/filter
for name in fulltext_e mlss_filterspace_e slss_filterspace_e mlmn_int_e slsn_float_3e; do
    [ -x "$filters/$name" ] || fail "$filters/$name is not installed"
done
[ "$(ls "$filters" | wc -l)" -eq 27 ] || fail "$filters does not hold the 27 stock filters"
desktop=/usr/share/applications/taldon.desktop
for line in 'Name=Taldon' 'Name[zh_CN]=考试评测系统' 'Exec=taldon' 'Icon=taldon' \
    'Categories=Education;Development;'; do
    grep -qxF "$line" "$desktop" || fail "$desktop lacks $line"
done
for size in 16 24 32 48 64 128 256; do
    icon=/usr/share/icons/hicolor/${size}x${size}/apps/taldon.png
    file "$icon" | grep -q "PNG image data, $size x $size" || fail "$icon is not a $size pixel PNG"
done
if ldd /usr/bin/taldon /usr/bin/taldon-cli | grep -q "not found"; then
    fail "the installed programs miss libraries"
fi

# Started by its bare name from a directory without filters, as from a desktop menu.
mkdir "$work/elsewhere"
fresh="$work/新 比赛 \$(touch pwned)"
(cd "$work/elsewhere" && env PATH=/usr/bin:/bin taldon-cli new "$fresh" --name 入门) \
    2>"$work/new.err" || { cat "$work/new.err" >&2; fail "taldon-cli new"; }
[ ! -s "$work/new.err" ] || { cat "$work/new.err" >&2; fail "taldon-cli new complained"; }
[ ! -e "$work/elsewhere/pwned" ] || fail "the home's name was run as a command"
[ "$(ls "$fresh/filter" | wc -l)" -eq 27 ] || fail "the new contest did not get the stock filters"
cmp -s "$filters/fulltext_e" "$fresh/filter/fulltext_e" || fail "a copied filter differs"
env PATH=/usr/bin:/bin taldon-cli show "$fresh" | grep -q '入门' || fail "taldon-cli show"

# The demo contest, laid out by the installed taldon-cli new and judged by its filters.
demo="$work/demo"
env PATH=/usr/bin:/bin taldon-cli new "$demo" >/dev/null
cp -R -- "$source/examples/demo/." "$demo/"
rm -f -- "$demo/prepare.sh" "$demo/README.md"
out=$(cd "$work/elsewhere" && env PATH=/usr/bin:/bin taldon-cli eval "$demo" --day 1 BJ-002) ||
    fail "taldon-cli eval --day 1"
[ "$out" = "BJ-002 sum=30 words=20 total=50" ] || fail "day 1 judged as: $out"
out=$(env PATH=/usr/bin:/bin taldon-cli eval "$demo" --day=2 BJ-005 JS-004) ||
    fail "taldon-cli eval --day 2"
expected="BJ-005 maxsub=80 total=80
JS-004 maxsub=100 total=100"
[ "$out" = "$expected" ] || fail "day 2 judged as: $out"
echo "PASS: installed, used and removed the taldon package"
