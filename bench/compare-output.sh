#!/usr/bin/env bash
# Checks that two tornvel binaries behave the same on the generated inputs:
# same exit code, same console output, same files in SQLLIB, for every product,
# every profile size present and several switch sets (plain, verbose, threshold
# file without warnings, build mode). Used to confirm that a speed change keeps
# the output byte for byte.
#
#   bench/compare-output.sh OLD_BINARY NEW_BINARY [INPUT_DIR]
#
# INPUT_DIR defaults to bench/out/inputs (written by bench/run.sh or
# bench/generate.py). Exit code 0 when everything is identical.
set -euo pipefail
cd "$(dirname "$0")/.."

old=$(realpath "$1")
new=$(realpath "$2")
inputs=$(realpath "${3:-bench/out/inputs}")
scratch=$(pwd)/bench/out/compare
export SOURCE_DATE_EPOCH=1796633122 TZ=UTC LC_ALL=C

declare -A control=([t5]=ZT5PROD.TXT [w5]=ZWQPROD.TXT [y5]=ZYQPROD.TXT [r5]=ZR5PROD.TXT)
switch_sets=("" "-v" "-dh -nw" "-bd")

run_one() {  # binary dir product profile switches...
  local binary=$1 dir=$2 product=$3 profile=$4
  shift 4
  rm -rf "$dir"
  mkdir -p "$dir/SQLLIB"
  cp "$inputs/${control[$product]}" "$dir/"
  local rc=0
  (cd "$dir" && "$binary" "$@" "$profile" "$product" >console.txt) || rc=$?
  echo "$rc" >"$dir/exit-code.txt"
}

# Each product's smallest profile again with awkward bytes: CR LF line ends, a
# lone carriage return, NUL bytes and lines longer than the line limit.
mkdir -p "$scratch/mangled"
for product in t5 w5 y5 r5; do
  smallest=$(ls "$inputs/$product"-*.txt 2>/dev/null | sort -t- -k2 -n | head -1)
  [ -n "$smallest" ] || continue
  python3 - "$smallest" "$scratch/mangled/$product-mangled.txt" <<'PY'
import sys
with open(sys.argv[1], "rb") as source, open(sys.argv[2], "wb") as target:
    for number, line in enumerate(source):
        body = line.rstrip(b"\n")
        if number % 200 == 7:
            body += b" " + b"x" * 1500
        if number % 50 == 3:
            body = body[:4] + b"\0" + body[4:]
        if number % 97 == 5:
            body = body[:2] + b"\r" + body[2:]
        target.write(body + (b"\r\n" if number % 3 == 0 else b"\n"))
PY
done

failures=0
checked=0
for product in t5 w5 y5 r5; do
  for profile in "$inputs/$product"-*.txt "$scratch/mangled/$product"-mangled.txt; do
    [ -f "$profile" ] || continue
    for switches in "${switch_sets[@]}"; do
      # shellcheck disable=SC2086  # the switch set is split on purpose
      run_one "$old" "$scratch/old" "$product" "$profile" $switches
      # shellcheck disable=SC2086
      run_one "$new" "$scratch/new" "$product" "$profile" $switches
      checked=$((checked + 1))
      if diff -r -q "$scratch/old" "$scratch/new" >/dev/null; then
        echo "same      $product $(basename "$profile") ${switches:-(no switches)}"
      else
        echo "DIFFERENT $product $(basename "$profile") ${switches:-(no switches)}"
        diff -r -q "$scratch/old" "$scratch/new" | sed 's/^/          /' || true
        failures=$((failures + 1))
      fi
    done
  done
done
rm -rf "$scratch"
echo "$((checked - failures)) of $checked runs identical"
[ "$failures" -eq 0 ]
