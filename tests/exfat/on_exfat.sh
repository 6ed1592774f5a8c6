#!/usr/bin/env bash
# Runs a command with TMPDIR on a fresh exFAT file system, the kind of USB
# sticks and SD cards: it has no hard links, no files without a name
# (O_TMPFILE) and no permissions. The image is mounted through a loop device
# with exfat-fuse, and unmounted and detached however the command ends.
#
#   tests/exfat/on_exfat.sh COMMAND [ARGUMENT...]
#
# Needs root, a loop device, /dev/fuse and Debian's exfatprogs and exfat-fuse.
# Where the file system cannot be made, it says why and exits 77 (CTest counts
# that as skipped), unless TORNVEL_REQUIRE_EXFAT is set, as CI sets it: then
# that is a failure.
set -u

skip() {
  echo "exFAT file system: $*"
  if [ -n "${TORNVEL_REQUIRE_EXFAT:-}" ]; then
    echo "TORNVEL_REQUIRE_EXFAT is set: the tests on exFAT must run" >&2
    exit 1
  fi
  echo "skipped"
  exit 77
}

[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGUMENT...]" >&2; exit 2; }
command -v mkfs.exfat >/dev/null || skip "mkfs.exfat is missing (apt-get install exfatprogs)"
command -v mount.exfat-fuse >/dev/null || skip "mount.exfat-fuse is missing (apt-get install exfat-fuse)"
[ "$(id -u)" = 0 ] || skip "a loop device and a mount need root"
[ -c /dev/fuse ] || skip "/dev/fuse is missing"

work=$(mktemp -d "${TMPDIR:-/tmp}/tornvel-exfat-XXXXXX")
mountpoint="$work/mnt"
loop=""
cleanup() {
  if mountpoint -q "$mountpoint" 2>/dev/null; then
    umount "$mountpoint" 2>/dev/null || umount -l "$mountpoint"
  fi
  if [ -n "$loop" ]; then losetup -d "$loop"; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

truncate -s 64M "$work/image"
mkfs.exfat "$work/image" >"$work/mkfs.log" 2>&1 || skip "mkfs.exfat failed: $(cat "$work/mkfs.log")"
loop=$(losetup -f --show "$work/image" 2>"$work/losetup.log") ||
  skip "no loop device: $(cat "$work/losetup.log")"
mkdir "$mountpoint"
mount.exfat-fuse "$loop" "$mountpoint" >"$work/mount.log" 2>&1 ||
  skip "mount.exfat-fuse failed: $(cat "$work/mount.log")"

# The tests prove something only where second names are refused.
touch "$mountpoint/probe"
if ln "$mountpoint/probe" "$mountpoint/probe-link" 2>/dev/null; then
  echo "$mountpoint takes hard links: not the file system to test" >&2
  exit 1
fi
rm -f "$mountpoint/probe"

echo "exFAT file system on $loop at $mountpoint"
TMPDIR="$mountpoint" "$@"
