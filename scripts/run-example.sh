#!/usr/bin/env bash
# Builds tornvel and migrates one of the shipped example profiles in a scratch
# copy of its folder (build/examples/PRODUCT), so the repository stays clean.
#   scripts/run-example.sh [r5|t5|w5|y5|tq|wq|yq] [switches...]
# The product may be given in any case; the legacy forms tq, wq and yq run the
# example of t5, w5 and y5 and are handed to tornvel as typed. The switches go
# to tornvel unchanged: -v gives the verbose report, -bd build mode, and so on.
# Only the tool is built (tool preset, build/tool), so GoogleTest is not needed.
# The build's progress goes to standard error (the first build takes about
# 40 s on two cores), so standard output carries only the example's own run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
product="${1:-t5}"
shift || true
case "${product,,}" in
  t5 | tq) example=t5 profile=PROFILE.TXT ;;
  r5) example=r5 profile=SYSAPROF.TXT ;;
  w5 | wq) example=w5 profile=TXPROD.TXT ;;
  y5 | yq) example=y5 profile=Y5PROF.TXT ;;
  *) echo "usage: $0 [r5|t5|w5|y5|tq|wq|yq] [switches...]" >&2; exit 2 ;;
esac
echo "run-example.sh: building build/tool/tornvel (preset tool)..." >&2
cmake --preset tool >/dev/null
cmake --build --preset tool --target tornvel >&2
work="$root/build/examples/$example"
rm -rf "$work" && mkdir -p "$work/SQLLIB"
cp -R "$root/examples/$example/." "$work/"
cd "$work"
status=0
"$root/build/tool/tornvel" "$@" "$profile" "$product" || status=$?
echo
echo "exit code $status; files written under $work/SQLLIB:"
ls -l SQLLIB
exit "$status"
