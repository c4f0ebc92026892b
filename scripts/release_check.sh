#!/usr/bin/env bash
# Tries the tree on a Debian release as a new user would, in a minimal chroot
# of that release: installs what the README's set-up commands install, builds
# with warnings as errors, runs `scripts/run.sh --version` and every test of
# `scripts/test.sh` (the X11 ones under Xvfb, the Wayland ones in headless
# sway), then builds the Debian package, installs it, looks a word up with the
# installed program and removes it (`scripts/package_check.sh`).
# A manual check: the first run on a release takes about half an hour.
#
# usage: release_check.sh RELEASE [CHROOT_DIR]
#   RELEASE     a Debian release name: trixie, bookworm
#   CHROOT_DIR  where the release's chroot is made and kept (default
#               /var/tmp/wordbay-release/RELEASE). A later run reuses it and
#               only brings its packages up to date.
#
# The Debian mirror is the one apt on this machine uses (/etc/apt/sources.list
# and sources.list.d), or WORDBAY_MIRROR. The tree copied in is the working
# tree (tracked and untracked files git does not ignore); a new build is made
# from it each run (through a compiler cache kept in the chroot, so that a
# later run compiles only what changed), WORDBAY_KEEP_BUILD=1 builds on the
# previous run's.
#
# Everything runs in namespaces of its own: the mounts (/proc, /sys,
# /dev/pts, /dev/shm) vanish with them whatever happens, the processes the
# tests start end with them, and the build and the tests run without a
# network, so their X servers, XWayland displays and session buses cannot
# meet those of the machine, whatever display numbers they pick.
# Needs root.
set -euo pipefail

usage() {
    sed -n '10,14p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

# The Debian archive that apt uses here: the URI of the first source that
# carries this machine's release (not its -updates or -security suites).
mirror_from_sources() {
    local codename
    codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
    {
        [[ -f /etc/apt/sources.list ]] && awk -v rel="$codename" '
            $1 == "deb" {
                i = 2
                if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
                if ($(i + 1) == rel) print $i
            }' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null
        awk -v rel="$codename" 'BEGIN { RS = "" } {
                uri = ""; ok = 0; deb = 0
                n = split($0, line, "\n")
                for (j = 1; j <= n; j++) {
                    m = split(line[j], w, /[ \t]+/)
                    if (w[1] == "Types:") for (k = 2; k <= m; k++) if (w[k] == "deb") deb = 1
                    if (w[1] == "URIs:") uri = w[2]
                    if (w[1] == "Suites:") for (k = 2; k <= m; k++) if (w[k] == rel) ok = 1
                }
                if (deb && ok && uri != "") print uri
            }' /etc/apt/sources.list.d/*.sources 2>/dev/null
    } | head -1
}

# Makes the chroot once: debootstrap, then apt's sources, no service starts.
make_chroot() {
    local chroot="$1" release="$2" mirror="$3"
    if grep -qF " $chroot/" /proc/self/mountinfo; then
        echo "release_check: something is mounted under $chroot; not touching it" >&2
        exit 1
    fi
    rm -rf "$chroot"
    mkdir -p "$chroot"
    echo "== debootstrap $release from $mirror into $chroot"
    unshare --mount --pid --fork --kill-child \
        debootstrap --variant=minbase "$release" "$chroot" "$mirror" > "$chroot.debootstrap.log" 2>&1 ||
        { tail -20 "$chroot.debootstrap.log" >&2; exit 1; }
    printf 'deb %s %s main\ndeb %s %s-updates main\n' \
        "$mirror" "$release" "$mirror" "$release" > "$chroot/etc/apt/sources.list"
    printf '#!/bin/sh\nexit 101\n' > "$chroot/usr/sbin/policy-rc.d"
    chmod 755 "$chroot/usr/sbin/policy-rc.d"
    touch "$chroot/.wordbay-release-ready"
}

# enter CHROOT [--offline] COMMAND: runs the bash COMMAND in the chroot, in
# namespaces of its own (and without a network with --offline).
enter() {
    local chroot="$1"
    shift
    local net=()
    if [[ "$1" == --offline ]]; then
        net=(--net)
        shift
    fi
    unshare --mount --pid --ipc --uts --fork --kill-child "${net[@]}" \
        bash -c "$(declare -f inside); inside \"\$@\"" inside "$chroot" "$1"
}

# Runs in the new namespaces: mounts what the tests need, unmounts it on exit.
inside() {
    local chroot="$1" command="$2"
    local mounted=()
    trap 'for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}"; done' EXIT
    mnt() { mount "$@" || exit 1; mounted+=("${@: -1}"); }
    mnt -t proc proc "$chroot/proc"
    mnt -t sysfs sysfs "$chroot/sys"
    mnt -t devpts -o newinstance,ptmxmode=0666,mode=0620,gid=5 devpts "$chroot/dev/pts"
    [[ -e "$chroot/dev/ptmx" ]] || touch "$chroot/dev/ptmx"
    mnt --bind "$chroot/dev/pts/ptmx" "$chroot/dev/ptmx"
    mnt -t tmpfs -o mode=1777 shm "$chroot/dev/shm"
    [[ -e "$chroot/proc/self" ]] || { echo "release_check: /proc not mounted" >&2; return 1; }
    [[ -f /etc/resolv.conf ]] && cp -L /etc/resolv.conf "$chroot/etc/resolv.conf"
    ip link set lo up 2>/dev/null || true
    chroot "$chroot" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        DEBIAN_FRONTEND=noninteractive bash -euo pipefail -c "$command"
}

# Copies the working tree into the chroot's /root/wordbay; keeps build/ only
# with WORDBAY_KEEP_BUILD=1.
copy_tree() {
    local root="$1" tree="$2"
    mkdir -p "$tree"
    if [[ "${WORDBAY_KEEP_BUILD:-0}" == 1 ]]; then
        find "$tree" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} +
    else
        find "$tree" -mindepth 1 -maxdepth 1 -exec rm -rf {} +
    fi
    git -C "$root" ls-files -z --cached --others --exclude-standard |
        (cd "$root" && xargs -0 sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' sh) |
        tar -C "$root" --null -T - -cf - | tar -C "$tree" -xf -
}

main() {
    [[ $# -ge 1 && $# -le 2 && "$1" =~ ^[a-z]+$ ]] || usage
    local release="$1"
    local chroot="${2:-/var/tmp/wordbay-release/$release}"
    local root
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    if [[ "$(id -u)" -ne 0 ]]; then
        echo "release_check: needs root (debootstrap, chroot, mounts)" >&2
        exit 1
    fi
    command -v debootstrap > /dev/null || {
        echo "release_check: needs debootstrap (apt-get install debootstrap)" >&2
        exit 1
    }
    chroot="$(realpath -m "$chroot")"
    local mirror="${WORDBAY_MIRROR:-$(mirror_from_sources)}"
    mirror="${mirror:-http://deb.debian.org/debian}"
    local start=$SECONDS

    [[ -e "$chroot/.wordbay-release-ready" ]] || make_chroot "$chroot" "$release" "$mirror"
    echo "== $release chroot: $chroot ($(cat "$chroot/etc/debian_version"))"

    echo "== tree: $(git -C "$root" describe --always --dirty) from $root"
    copy_tree "$root" "$chroot/root/wordbay"

    # With the network: the packages of both of the README's commands.
    echo "== packages (scripts/setup.sh --tests)"
    enter "$chroot" 'apt-get update -qq && apt-get upgrade -y -qq > /dev/null &&
        apt-get install -y -qq --no-install-recommends ccache > /dev/null &&
        cd /root/wordbay && bash scripts/setup.sh --tests &&
        dpkg-query -W -f="\${Package} \${Version}\n" gcc cmake qt6-base-dev libicu-dev \
            libpcre2-dev sway clang-format'

    # Without it: the README's commands, then the package's check.
    echo "== build, tests and package"
    enter "$chroot" --offline 'cd /root/wordbay
        export CCACHE_DIR=/var/cache/wordbay-ccache CMAKE_C_COMPILER_LAUNCHER=ccache \
            CMAKE_CXX_COMPILER_LAUNCHER=ccache
        cmake -S . -B build -G Ninja -DWORDBAY_WERROR=ON > /dev/null
        echo "-- bash scripts/run.sh --version"
        bash scripts/run.sh --version
        status=0
        echo "-- bash scripts/test.sh"
        WORDBAY_WERROR=ON bash scripts/test.sh || status=1
        echo "-- bash scripts/package_check.sh"
        bash scripts/package_check.sh build || status=1
        exit $status' || {
        echo "== $release: FAILED after $(((SECONDS - start) / 60)) min"
        exit 1
    }
    echo "== $release: passed in $(((SECONDS - start) / 60)) min"
}

main "$@"
