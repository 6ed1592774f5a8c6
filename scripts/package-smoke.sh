#!/usr/bin/env bash
# Smoke test of the release packages built by `cmake --workflow --preset
# package`: unpacks the Debian package into a scratch root with dpkg -x, checks
# its files, and migrates the shipped database-product example (examples/t5)
# with the installed binary; then checks that the .tar.gz holds a working
# binary too.
#
#   scripts/package-smoke.sh [package-directory]     (default build/packages)
#
# The run is stamped with SOURCE_DATE_EPOCH=1796633122 in UTC, so the statement
# file it leaves is the same on every platform and every day; its path is
# printed at the end (build/package-smoke/t5/SQLLIB/ZT5_UPD.SQL by default,
# PACKAGE_SMOKE_WORK=DIR moves the scratch area).
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
packages=$(realpath "${1:-build/packages}")
work=$(realpath -m "${PACKAGE_SMOKE_WORK:-$top/build/package-smoke}")

fail() {
  echo "package smoke: $*" >&2
  exit 1
}

# Exactly one package of each kind, so that a stale one is never tested.
debs=("$packages"/tornvel_*.deb)
tars=("$packages"/tornvel-*-Linux.tar.gz)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one tornvel_*.deb in $packages"
[ ${#tars[@]} -eq 1 ] && [ -f "${tars[0]}" ] || fail "expected one tornvel-*-Linux.tar.gz in $packages"
version=$(dpkg-deb --field "${debs[0]}" Version)

rm -rf "$work"
mkdir -p "$work/root" "$work/tar" "$work/t5/SQLLIB"
dpkg -x "${debs[0]}" "$work/root"
root="$work/root"
for file in usr/bin/tornvel usr/share/man/man1/tornvel.1.gz usr/share/doc/tornvel/copyright; do
  [ -f "$root/$file" ] || fail "the package lacks /$file"
done
[ -x "$root/usr/bin/tornvel" ] || fail "/usr/bin/tornvel is not executable"
gzip -t "$root/usr/share/man/man1/tornvel.1.gz" || fail "the manual page is not a valid gzip file"

shown=$("$root/usr/bin/tornvel" --version) || fail "tornvel --version did not exit with 0"
[ "$shown" = "tornvel $version" ] || fail "tornvel --version shows '$shown', the package is $version"

# The example run, as a user would do it: in a folder that has SQLLIB.
cp -R examples/t5/. "$work/t5/"
status=0
(cd "$work/t5" && SOURCE_DATE_EPOCH=1796633122 TZ=UTC "$root/usr/bin/tornvel" PROFILE.TXT t5) ||
  status=$?
[ "$status" -eq 0 ] || fail "tornvel PROFILE.TXT t5 ended with exit code $status"
statements="$work/t5/SQLLIB/ZT5_UPD.SQL"
[ -s "$statements" ] || fail "no statements in $statements"
# 1796633122 seconds in UTC is the run timestamp 1261207084522000.
grep -q 'LSTDATE = "1261207084522000"' "$statements" || fail "$statements lacks the run timestamp"
awk 'length($0) > 72 { exit 1 }' "$statements" || fail "$statements has a line over 72 characters"

tar -xzf "${tars[0]}" -C "$work/tar"
shown=$("$work/tar"/tornvel-*-Linux/bin/tornvel --version) || fail "the .tar.gz binary failed"
[ "$shown" = "tornvel $version" ] || fail "the .tar.gz binary shows '$shown'"

echo "package smoke passed: $(basename "${debs[0]}") and $(basename "${tars[0]}") (tornvel $version)"
echo "statement file of the example run: $statements"
