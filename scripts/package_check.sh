#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it as a packager and
# a user would: lintian (no error, no warning), the AppStream metainfo and the
# menu entry it installs, no test hook in the program, then installs it with
# apt-get, runs the installed programs on a dictionary converted from
# FreeDict, and removes it again.
# Needs root (or sudo) for apt-get.
#
# usage: package_check.sh [BUILD_DIR]   (default build/)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
sudo_cmd=()
[[ "$(id -u)" -ne 0 ]] && sudo_cmd=(sudo)
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cd "$build"
rm -f wordbay_*.deb
cpack -G DEB > "$work/cpack.log" || { cat "$work/cpack.log"; exit 1; }
deb="$(ls "$build"/wordbay_*.deb)"
echo "package: $(basename "$deb")"
dpkg-deb --field "$deb" Depends

lintian --fail-on error,warning "$deb"
echo "lintian: no errors, no warnings"

dpkg-deb -x "$deb" "$work/root"
appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.metainfo.xml
desktop-file-validate "$work/root/usr/share/applications/wordbay.desktop"
echo "metainfo and menu entry: valid"

# The test hooks live in the test build (wordbay-test) alone: neither it nor
# any hook's option is in the package.
hooks='--(report-translation|report-hot-key|report-typed|keep-running|screenshot|type|command)$'
if dpkg-deb --contents "$deb" | grep -q 'wordbay-test'; then
    echo "the package holds the test build"
    exit 1
fi
if strings "$work/root/usr/bin/wordbay" | grep -E -- "$hooks"; then
    echo "the installed program holds test hooks (above)"
    exit 1
fi
echo "test hooks: none in the package"

export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "$deb" > /dev/null
status=0
{
    /usr/bin/wordbay-cli --version | head -1
    /usr/bin/wordbay --version
    /usr/bin/wordbay-cli freedict eng-hrv "$work/eng-hrv.v03"
    /usr/bin/wordbay-cli translate "$work/eng-hrv.v03" house | tee "$work/house.txt"
    grep -qx "kuća" "$work/house.txt"
} || status=$?
"${sudo_cmd[@]}" apt-get remove -y -qq wordbay > /dev/null
if ((status != 0)); then
    echo "the installed package failed"
    exit 1
fi
echo "installed, used and removed: passed"
