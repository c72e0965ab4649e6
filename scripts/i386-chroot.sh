#!/bin/bash
# Runs a command where 32-bit Wine works although this machine's kernel runs
# no 32-bit programs: in a Debian chroot kept in a cache folder of its own,
# where a user-mode emulator (qemu-i386) runs every 32-bit program.
#
#   scripts/i386-chroot.sh COMMAND [ARG...]     (as root)
#
# The emulator is registered with binfmt_misc only inside a user and mount
# namespace of this script's own: since Linux 6.7 each user namespace may
# have a binfmt_misc of its own, so the host never sees the handler, and the
# mounts below go away with the namespace. Registered there, the handler also
# comes before the kernel's own loader, so where the kernel does run 32-bit
# programs, everything 32-bit in here still runs through the emulator.
#
# The chroot ($TAVREL_CHROOT, default /var/cache/tavrel-i386-chroot) is made
# when missing: Debian bookworm (minbase) with qemu-user-static from
# bookworm-backports, installed before any i386 package, because i386
# packages run 32-bit programs while they install; bookworm's own QEMU 7.2
# cannot boot a Wine prefix ("could not load kernel32.dll"). Then, every time,
# the packages of `install-deps.sh wine-tests`, only those missing. Making it
# takes about 10 minutes and 4 GB (with the cross compiler and ImageMagick
# that run.sh, tested in here, checks for); nothing on the host outside it
# changes.
#
# Inside, the source tree is at the same path, and /proc, /sys, /dev and /tmp
# are the host's: so the build folders' paths hold, and Xvfb's lock files are
# where every other Xvfb on the host looks before taking a display number.
set -euo pipefail
script=$(realpath "$0")
src=$(cd "$(dirname "$script")/.." && pwd)
root=${TAVREL_CHROOT:-/var/cache/tavrel-i386-chroot}
mirror=http://deb.debian.org/debian
made=$root/.tavrel-chroot-ready
making=$root/.tavrel-chroot-making
fail() { printf 'i386-chroot.sh: %s\n' "$@" >&2; exit 1; }

# i386 executables and shared objects: the entry QEMU's own binfmt set-up
# registers. The kernel decodes the \x escapes itself. Flags: P keeps argv[0],
# O hands over the opened file, C takes its credentials, F opens the emulator
# now, at its host path, so it is found from inside the chroot as well.
binfmt_entry() {
    printf ':qemu-i386:M::%s:%s:%s:POCF' \
        '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00' \
        '\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff' \
        "$root/usr/bin/qemu-i386-static"
}

# In the namespace, once the parent has mapped its users and groups.
inside() {
    local ready=$1; shift
    read -r _ <"$ready"
    local misc=/proc/sys/fs/binfmt_misc
    mount -t binfmt_misc none "$misc" || fail \
        "cannot mount a binfmt_misc of this namespace's own (Linux 6.7 or later needed; this is $(uname -r))."
    for fs in proc sys dev tmp; do mount --rbind "/$fs" "$root/$fs"; done
    mkdir -p "$root$src"
    mount --bind "$src" "$root$src"
    if [ ! -x "$root/usr/bin/qemu-i386-static" ]; then
        # Whatever its installation registers lands in this namespace only.
        echo "deb $mirror bookworm-backports main" >"$root/etc/apt/sources.list.d/bookworm-backports.list"
        chroot "$root" apt-get update -qq
        chroot "$root" env DEBIAN_FRONTEND=noninteractive \
            apt-get install -y -qq --no-install-recommends -t bookworm-backports qemu-user-static >/dev/null
    fi
    echo -1 >"$misc/status"  # this namespace's entries only: none but ours
    binfmt_entry >"$misc/register"
    local workdir=$PWD
    [ -d "$root$workdir" ] || workdir=$src
    chroot "$root" /bin/bash -c 'cd "$1" && "$2/scripts/install-deps.sh" wine-tests && apt-get clean && shift 2 && exec "$@"' \
        _ "$workdir" "$src" "$@"
}

if [ "${1:-}" = --inside ]; then
    shift
    inside "$@"
    exit
fi
(($#)) || fail "usage: scripts/i386-chroot.sh COMMAND [ARG...]"
[ "$(id -u)" -eq 0 ] || fail "the 32-bit chroot needs root: it is made with debootstrap and entered with chroot."
IFS=. read -r major minor _ <<<"$(uname -r)"
((major > 6 || (major == 6 && minor >= 7))) || fail \
    "Linux $(uname -r) has one binfmt_misc for the whole machine; the emulator is registered only in a" \
    "namespace of its own, which needs Linux 6.7 or later."

mkdir -p "$root"
exec 9<"$root"
flock 9  # one maker; the others wait and then use what it made
if [ ! -f "$made" ]; then
    if [ -n "$(ls -A "$root")" ] && [ ! -f "$making" ]; then
        fail "$root holds something not made by this script; leaving it untouched. Remove it or set TAVREL_CHROOT."
    fi
    echo "Making the 32-bit test chroot at $root (once: about 10 minutes, 4 GB)"
    [ -z "$(ls -A "$root")" ] || find "$root" -xdev -mindepth 1 -delete
    touch "$making"
    command -v debootstrap >/dev/null || fail "debootstrap is not installed: scripts/install-deps.sh installs it."
    # In a mount namespace, so the mounts debootstrap makes cannot outlive it.
    unshare --mount --propagation private debootstrap --variant=minbase bookworm "$root" "$mirror" \
        >"$root/debootstrap.log" 2>&1 || fail "debootstrap failed; its log: $root/debootstrap.log"
    touch "$made"
    rm -f "$making"
fi
exec 9<&-

ready=$(mktemp -u "${TMPDIR:-/tmp}/tavrel-i386-chroot.XXXXXX")
mkfifo -m 600 "$ready"
trap 'rm -f "$ready"' EXIT
unshare --user --mount --propagation private -- /bin/bash "$script" --inside "$ready" "$@" &
child=$!
# The maps are written from out here: only a process with the host's
# privileges may map the whole range of users and groups onto itself, and
# apt, dpkg and Wine's programs need them as they are.
own=$(readlink /proc/self/ns/user)
for _ in $(seq 1 200); do
    kill -0 "$child" 2>/dev/null || break
    [ "$(readlink "/proc/$child/ns/user" 2>/dev/null)" != "$own" ] && break
    sleep 0.05
done
echo '0 0 4294967295' >"/proc/$child/uid_map"
echo '0 0 4294967295' >"/proc/$child/gid_map"
echo go >"$ready"
wait "$child"
