#!/bin/sh
# Runs a Windows program under wine for the tests and the build's test
# discovery:   wine-run.sh WINE PROGRAM ARGUMENTS...
# WINEPREFIX and the rest of wine's settings come from the environment.
#
# Now and then, when several programs start at once, wine ends within a few
# milliseconds with a failing exit code and without a byte of output: the
# program never ran (every test program prints a line first thing in main).
# Such a start is tried again, up to three times in all; any other ending,
# output or exit code is passed on exactly as it came.
set -u
wine=$1
shift
scratch=$(mktemp -d "${TMPDIR:-/tmp}/wine-run.XXXXXX") || exit 125
trap 'rm -rf "$scratch"' EXIT
attempt=1
while :; do
  "$wine" "$@" >"$scratch/out" 2>"$scratch/err"
  status=$?
  if [ "$status" -eq 0 ] || [ -s "$scratch/out" ] || [ -s "$scratch/err" ] || [ "$attempt" -ge 3 ]; then
    break
  fi
  echo "wine-run: wine ended with $status before the program printed anything; starting it again" >&2
  attempt=$((attempt + 1))
  sleep 1
done
cat "$scratch/out"
cat "$scratch/err" >&2
exit "$status"
