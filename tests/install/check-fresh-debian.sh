#!/usr/bin/env bash
# Installs the Debian package of a build into a fresh, minimal Debian 12 and checks that it
# is complete there: apt-get installs it without recommended packages (qt6-qpa-plugins
# comes as a dependency), VORN starts on a virtual display on the X11 platform plugin with
# no platform plugin error, and vorn-identify reads the sample key. Then it removes a
# library the X11 plugin needs and checks that VORN no longer starts and says why, so the
# start check is known to catch a missing platform plugin.
#
# Not run by test.sh: it needs root, downloads a Debian system and VORN's dependencies
# from Debian's mirror (debootstrap, apt-get) and takes several minutes.
#
# Usage (as root): tests/install/check-fresh-debian.sh BUILD_DIR
#   after check-install.sh BUILD_DIR or (cd BUILD_DIR && cpack -G DEB) made the package.
#   VORN_DEBIAN_MIRROR: the mirror (default http://deb.debian.org/debian).
set -euo pipefail
build=$(cd "${1:?usage: check-fresh-debian.sh BUILD_DIR}" && pwd)
deb=$(ls "$build"/vorn_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "no vorn_*.deb in $build: run cpack -G DEB there first" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "check-fresh-debian.sh needs root (debootstrap, chroot, mount)" >&2; exit 2; }
command -v debootstrap >/dev/null ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null

root=$(mktemp -d /var/tmp/vorn-fresh-debian-XXXXXX)
chmod 755 "$root"   # the root of the system: mktemp makes it private to root
mounts=()
cleanup() {
    local i
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount "${mounts[$i]}" || echo "could not unmount ${mounts[$i]}" >&2
    done
    # Never remove a tree that still has something mounted in it (/dev above all).
    if grep -qF " $root/" /proc/self/mounts; then
        echo "$root still has mounts; it is left as it is" >&2
    else
        rm -rf --one-file-system "$root"
    fi
}
trap cleanup EXIT
in_root() {
    chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive "$@"
}

echo "== debootstrap --variant=minbase bookworm"
debootstrap --variant=minbase bookworm "$root" "${VORN_DEBIAN_MIRROR:-http://deb.debian.org/debian}" \
    >"$root.log" 2>&1 || { tail -n 20 "$root.log" >&2; rm -f "$root.log"; exit 1; }
rm -f "$root.log"
echo "  $(du -smx "$root" | cut -f1) MB"
mount -t proc proc "$root/proc" && mounts+=("$root/proc")
# debootstrap makes the device nodes; where it could not (a container without mknod),
# the host's /dev stands in.
if [ ! -c "$root/dev/null" ]; then
    mount --bind /dev "$root/dev" && mounts+=("$root/dev")
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"

echo "== apt-get install --no-install-recommends ./$(basename "$deb") xvfb xauth"
in_root apt-get update -qq
in_root sh -c "cd /tmp && apt-get install -y --no-install-recommends ./$(basename "$deb") xvfb xauth" \
    >"$root/tmp/install.log" 2>&1 || { tail -n 30 "$root/tmp/install.log" >&2; exit 1; }
grep -E '^(Need to get|After this operation)' "$root/tmp/install.log" | sed 's/^/  /'
echo "  $(du -smx "$root" | cut -f1) MB with VORN"

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
[ "$(in_root dpkg-query -W -f='${Status}' qt6-qpa-plugins 2>/dev/null)" = "install ok installed" ] ||
    fail "qt6-qpa-plugins was not installed with the package"
echo "  the X11 platform plugin is in: $(in_root dpkg -S '*/platforms/libqxcb.so' | cut -d: -f1)"

echo "== timeout 10 xvfb-run -a vorn"
status=0
out=$(in_root timeout 10 xvfb-run -a vorn 2>&1) || status=$?
echo "  exit status $status${out:+, it said: $out}"
[ "$status" -eq 124 ] || fail "vorn did not keep running for 10 seconds (status $status): $out"
grep -qi 'platform plugin' <<<"$out" && fail "vorn reports a platform plugin error: $out"
# The same with Qt's plugin log: the plugin it started on is X11's.
out=$(in_root env QT_DEBUG_PLUGINS=1 timeout 5 xvfb-run -a vorn 2>&1) || true
grep -q 'platforms/libqxcb.so" loaded library' <<<"$out" ||
    fail "vorn did not load the X11 platform plugin: $(grep -i 'platform' <<<"$out" | tail -n 5)"

echo "== vorn-identify /usr/share/vorn/keys/TREES.DES +1"
status=0
out=$(in_root vorn-identify /usr/share/vorn/keys/TREES.DES +1 2>&1) || status=$?
echo "  exit status $status"
head -n 4 <<<"$out" | sed 's/^/  /'
[ "$status" -eq 0 ] || fail "vorn-identify ended with status $status: $out"
grep -qE '^[0-9]+ Tax(a|on) Match' <<<"$out" || fail "vorn-identify printed no result: $out"

echo "== Without libxcb-icccm4, which the X11 plugin loads, vorn must not start"
in_root dpkg --remove --force-depends libxcb-icccm4 >/dev/null 2>&1 ||
    fail "could not remove libxcb-icccm4"
status=0
out=$(in_root timeout 10 xvfb-run -a vorn 2>&1) || status=$?
echo "  exit status $status, it said:"
grep -i 'platform plugin' <<<"$out" | sed 's/^/  /'
if [ "$status" -eq 124 ] || ! grep -qi 'platform plugin' <<<"$out"; then
    fail "vorn started, or failed without naming the platform plugin, so the start check proves nothing (status $status): $out"
fi

if [ "$failures" -ne 0 ]; then
    echo "Fresh Debian checks: $failures failed" >&2
    exit 1
fi
echo "Fresh Debian checks passed"
