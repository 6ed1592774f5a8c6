#!/usr/bin/env bash
# Reproducibility of the release packages: builds the packages of the last
# commit a second time, from a copy of it in another folder, and compares them
# byte for byte with the packages already built from the checkout.
#
#   scripts/package-repro.sh [package-directory]     (default build/packages)
#
# The first build is the one of `cmake --workflow --preset package` (and, when
# build/windows holds a .zip, of the Windows build's package target); only the
# second is made here, in build/repro (REPRO_WORK=DIR moves it). Both stamp the
# time of the last commit (SOURCE_DATE_EPOCH). Packages that differ are shown
# with diffoscope, installed with apt-get when it is missing and possible.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
first=$(realpath "${1:-build/packages}")
work=$(realpath -m "${REPRO_WORK:-$top/build/repro}")

fail() {
  echo "package repro: $*" >&2
  exit 1
}

if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "package repro: the checkout has changes that are not committed; the copy" \
    "is built from the last commit, so packages built with those changes differ" >&2
fi
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH

# The copy: the last commit's files, in a folder of another name and depth.
copy="$work/second-tree/tornvel"
rm -rf "$work" && mkdir -p "$copy"
git archive --format=tar HEAD | tar -x -C "$copy"
echo "== Second build of the packages, in $copy"
(cd "$copy" && cmake --workflow --preset package >"$work/package.log" 2>&1) ||
  { tail -n 30 "$work/package.log"; fail "the second package build failed"; }
second="$copy/build/packages"

pairs=()
for package in "$first"/tornvel*.deb "$first"/tornvel*.rpm "$first"/tornvel*.tar.gz "$first"/SHA256SUMS; do
  [ -f "$package" ] && pairs+=("$package" "$second/$(basename "$package")")
done
[ ${#pairs[@]} -gt 0 ] || fail "no packages in $first"

# The Windows .zip, when the checkout's Windows build has made one: the copy
# builds only the program and its manual text, without the tests.
win_zips=("$top"/build/windows/tornvel-*-win64.zip)
if [ -f "${win_zips[0]}" ]; then
  echo "== Second build of the Windows .zip"
  (cd "$copy" && cmake --preset windows -DTORNVEL_TESTS=OFF >"$work/windows.log" 2>&1 &&
    cmake --build build/windows -j 2 --target package >>"$work/windows.log" 2>&1) ||
    { tail -n 30 "$work/windows.log"; fail "the second Windows build failed"; }
  pairs+=("${win_zips[0]}" "$copy/build/windows/$(basename "${win_zips[0]}")")
fi

differ=()
for ((i = 0; i < ${#pairs[@]}; i += 2)); do
  a=${pairs[i]} b=${pairs[i + 1]}
  if [ ! -f "$b" ]; then
    differ+=("$a" "$b")
    echo "missing in the second build: $(basename "$a")"
  elif cmp -s "$a" "$b"; then
    echo "identical: $(basename "$a") $(sha256sum "$a" | cut -c1-16)..."
  else
    differ+=("$a" "$b")
    echo "DIFFERENT: $(basename "$a")"
  fi
done
[ ${#differ[@]} -eq 0 ] && { echo "package repro passed: both builds gave the same bytes"; exit 0; }

if ! command -v diffoscope >/dev/null && [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null; then
  echo "Installing diffoscope to show the differences"
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends diffoscope >/dev/null 2>&1 || true
fi
for ((i = 0; i < ${#differ[@]}; i += 2)); do
  [ -f "${differ[i + 1]}" ] || continue
  if command -v diffoscope >/dev/null; then
    diffoscope --text - "${differ[i]}" "${differ[i + 1]}" | head -n 200 || true
  else
    echo "diffoscope is not available: no detail for $(basename "${differ[i]}")"
  fi
done
fail "the two builds gave different packages"
