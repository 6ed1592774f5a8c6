#!/usr/bin/env bash
# Line coverage of the product code under src/ by the unit and whole-run
# tests: builds the coverage preset, runs its tests and prints a per-file
# report with the total. An HTML report with the lines themselves is left in
# build/coverage/coverage.html.
#
#   scripts/coverage.sh [minimum-percent]
#
# With a minimum, the script fails when the total line coverage is below it.
set -euo pipefail
cd "$(dirname "$0")/.."

minimum=${1:-}
case "$minimum" in '' | [0-9] | [0-9][0-9] | 100) ;; *) echo "usage: $0 [minimum-percent]" >&2; exit 2 ;; esac

if ! command -v gcovr >/dev/null; then
  echo "Installing gcovr"
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq gcovr
fi

# Counters of an earlier run would add to this one's.
if [ -d build/coverage ]; then find build/coverage -name '*.gcda' -delete; fi
cmake --workflow --preset coverage

# The counts are looked for under build/coverage only: the Windows build's wine
# prefix maps drive Z: to /, through which a search of the whole tree would
# reach other builds' counts on the machine and mix them in.
report=(--root . --object-directory build/coverage --filter 'src/' --exclude '.*_test\.cc$' build/coverage)
gcovr "${report[@]}" --html-details build/coverage/coverage.html >/dev/null
gcovr "${report[@]}" --print-summary | tee build/coverage/summary.txt

if [ -n "$minimum" ]; then
  total=$(sed -n 's/^lines: *\([0-9.]*\)%.*/\1/p' build/coverage/summary.txt)
  if awk -v t="$total" -v m="$minimum" 'BEGIN { exit !(t < m) }'; then
    echo "Line coverage ${total}% is below the minimum of ${minimum}%"
    exit 1
  fi
fi
