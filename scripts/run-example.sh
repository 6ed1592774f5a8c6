#!/usr/bin/env bash
# Builds tornvel and migrates one of the shipped example profiles in a scratch
# copy of its folder (build/examples/PRODUCT), so the repository stays clean.
#   scripts/run-example.sh [t5|r5|w5|y5] [extra switches...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
product="${1:-t5}"
shift || true
case "$product" in
  t5) profile=PROFILE.TXT ;;
  r5) profile=SYSAPROF.TXT ;;
  w5) profile=TXPROD.TXT ;;
  y5) profile=Y5PROF.TXT ;;
  *) echo "usage: $0 [t5|r5|w5|y5] [switches...]" >&2; exit 2 ;;
esac
cmake --preset release >/dev/null
cmake --build --preset release --target tornvel >/dev/null
work="$root/build/examples/$product"
rm -rf "$work" && mkdir -p "$work/SQLLIB"
cp -R "$root/examples/$product/." "$work/"
cd "$work"
status=0
"$root/build/release/tornvel" -v "$@" "$profile" "$product" || status=$?
echo
echo "exit code $status; files written under $work/SQLLIB:"
ls -l SQLLIB
exit "$status"
