#!/usr/bin/env bash
# Smoke test of the release packages built by `cmake --workflow --preset
# package`: unpacks the Debian package into a scratch root with dpkg -x, checks
# its files (the manual page shows the version --version shows, the README and
# the examples are there, the estate recipe among them, the bash completion
# offers the product codes), and migrates the shipped database-product example
# (examples/t5) with the installed binary; installs the .rpm into a second scratch root with
# `rpm --root DIR -i --nodeps` and migrates the same example with it; checks
# that the .tar.gz holds a working binary too, and that SHA256SUMS matches.
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
# The .rpm is built when rpmbuild is installed; PACKAGE_SMOKE_RPM=1 (CI) requires it.
rpms=("$packages"/tornvel-*.rpm)
if [ ! -f "${rpms[0]}" ]; then
  [ -z "${PACKAGE_SMOKE_RPM:-}" ] || fail "expected one tornvel-*.rpm in $packages"
  rpms=()
fi
[ ${#rpms[@]} -le 1 ] || fail "expected one tornvel-*.rpm in $packages"
(cd "$packages" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the packages"
for package in "${debs[0]}" "${tars[0]}" "${rpms[@]}"; do
  grep -q "  $(basename "$package")\$" "$packages/SHA256SUMS" || fail "SHA256SUMS lacks $(basename "$package")"
done
version=$(dpkg-deb --field "${debs[0]}" Version)

rm -rf "$work"
mkdir -p "$work/root" "$work/tar"
dpkg -x "${debs[0]}" "$work/root"
root="$work/root"

# The files every installed package holds, under the root it was installed in.
check_installed() {
  local root=$1 kind=$2 file
  for file in usr/bin/tornvel usr/share/man/man1/tornvel.1.gz usr/share/man/man5/tornvel.5.gz \
    usr/share/doc/tornvel/copyright \
    usr/share/doc/tornvel/README.md usr/share/bash-completion/completions/tornvel \
    usr/share/doc/tornvel/examples/{r5/SYSAPROF.TXT,t5/PROFILE.TXT,w5/TXPROD.TXT,y5/Y5PROF.TXT} \
    usr/share/doc/tornvel/examples/estate/{README.md,migrate-estate.sh,estate.txt,profiles/SYSA.TXT}; do
    [ -f "$root/$file" ] || fail "the $kind lacks /$file"
  done
  [ -x "$root/usr/bin/tornvel" ] || fail "/usr/bin/tornvel of the $kind is not executable"
  local page
  for page in man1/tornvel.1.gz man5/tornvel.5.gz; do
    gzip -t "$root/usr/share/man/$page" || fail "the $kind's $page is not a valid gzip file"
  done

  local shown
  shown=$("$root/usr/bin/tornvel" --version) || fail "tornvel --version of the $kind did not exit with 0"
  [ "$shown" = "tornvel $version" ] || fail "tornvel --version shows '$shown', the $kind is $version"
  # The manual pages' title lines name the same version: .TH TORNVEL 1 "date" "tornvel 3.323" ...
  for page in 1 5; do
    zcat "$root/usr/share/man/man$page/tornvel.$page.gz" |
      grep -q "^\\.TH TORNVEL $page \"[^\"]*\" \"$shown\" " ||
      fail "the $kind's manual page tornvel($page) does not show the version '$shown'"
  done
}

# The completion offers the upper-case product codes after a profile name,
# the switches after a dash, and file names elsewhere.
check_completion() {
  local file=$1
  local products switches
  products=$(bash -c 'source "$1"; COMP_WORDS=(tornvel -v PROF.TXT Y); COMP_CWORD=3; _tornvel
    echo "${COMPREPLY[*]}"' sh "$file")
  [ "$products" = "Y5 YQ" ] || fail "completion after 'tornvel -v PROF.TXT Y' offers '$products'"
  switches=$(bash -c 'source "$1"; COMP_WORDS=(tornvel -d); COMP_CWORD=1; _tornvel
    echo "${COMPREPLY[*]}"' sh "$file")
  [ "$switches" = "-d -dh" ] || fail "completion after 'tornvel -d' offers '$switches'"
  # The file of --summary, given apart or split at "=" as bash does, is no
  # positional argument: the product still comes second.
  local split
  for split in "--summary out.jsonl" "--summary = out.jsonl" "--summary=out.jsonl"; do
    products=$(bash -c 'source "$1"; COMP_WORDS=(tornvel $2 PROF.TXT Y); COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
      _tornvel; echo "${COMPREPLY[*]}"' sh "$file" "$split")
    [ "$products" = "Y5 YQ" ] || fail "completion after 'tornvel $split PROF.TXT Y' offers '$products'"
  done
}

# The example run, as a user would do it: in a folder that has SQLLIB, with
# the examples the package installed.
run_example() {
  local root=$1 kind=$2 dir=$3 status=0
  mkdir -p "$dir/SQLLIB"
  cp -R "$root/usr/share/doc/tornvel/examples/t5/." "$dir/"
  (cd "$dir" && SOURCE_DATE_EPOCH=1796633122 TZ=UTC "$root/usr/bin/tornvel" PROFILE.TXT t5) ||
    status=$?
  [ "$status" -eq 0 ] || fail "tornvel PROFILE.TXT t5 of the $kind ended with exit code $status"
  local statements="$dir/SQLLIB/ZT5_UPD.SQL"
  [ -s "$statements" ] || fail "no statements in $statements"
  # 1796633122 seconds in UTC is the run timestamp 1261207084522000.
  grep -q 'LSTDATE = "1261207084522000"' "$statements" || fail "$statements lacks the run timestamp"
  awk 'length($0) > 72 { exit 1 }' "$statements" || fail "$statements has a line over 72 characters"
}

check_installed "$root" "Debian package"
check_completion "$root/usr/share/bash-completion/completions/tornvel"
run_example "$root" "Debian package" "$work/t5"
statements="$work/t5/SQLLIB/ZT5_UPD.SQL"

if [ ${#rpms[@]} -eq 1 ]; then
  rpm_root="$work/rpm-root"
  mkdir -p "$rpm_root"
  rpm --root "$rpm_root" --initdb
  rpm --root "$rpm_root" -i --nodeps --nosignature "${rpms[0]}" || fail "rpm -i of ${rpms[0]} failed"
  rpm --root "$rpm_root" -q tornvel >/dev/null || fail "rpm does not list tornvel as installed"
  [ "$(rpm -qp --queryformat '%{VERSION}' "${rpms[0]}")" = "$version" ] ||
    fail "the .rpm's version differs from the .deb's $version"
  check_installed "$rpm_root" "RPM package"
  run_example "$rpm_root" "RPM package" "$work/t5-rpm"
  cmp -s "$statements" "$work/t5-rpm/SQLLIB/ZT5_UPD.SQL" ||
    fail "the RPM package's tornvel wrote other statements than the Debian package's"
fi

tar -xzf "${tars[0]}" -C "$work/tar"
shown=$("$work/tar"/tornvel-*-Linux/bin/tornvel --version) || fail "the .tar.gz binary failed"
[ "$shown" = "tornvel $version" ] || fail "the .tar.gz binary shows '$shown'"

echo "package smoke passed: $(basename "${debs[0]}") ${rpms:+$(basename "${rpms[0]}") }and $(basename "${tars[0]}") (tornvel $version)"
echo "statement file of the example run: $statements"
