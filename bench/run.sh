#!/usr/bin/env bash
# Measures tornvel on large generated profiles and checks the performance goals.
#
#   bench/run.sh            build, generate inputs (once), time, print PASS/FAIL
#
# Environment:
#   BENCH_RUNS=N            timed runs per command (default 5; medians are shown)
#   BENCH_PRODUCTS=t5,w5    a subset of t5,w5,y5,r5 (default all four)
#   BENCH_PEER=PATH         the plain-list peer awk script
#                           (default ../shared/bench/plain-list-peer.awk)
#   BENCH_CLOCK=cpu|wall    the time the goals are judged on (default cpu:
#                           processor time; see bench/measure.py)
#
# Builds build/bench/tornvel with the bench preset (Release) when needed,
# writes 100k, 1M and 2M-line profiles per product into bench/out/inputs (kept
# until bench/generate.py changes) and runs bench/measure.py on them, with a
# work directory per product under bench/out/work. Exit code 0 when every goal
# passes, 1 when one fails, 2 when a run could not be made.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${BENCH_RUNS:-5}
clock=${BENCH_CLOCK:-cpu}
products=${BENCH_PRODUCTS:-t5,w5,y5,r5}
peer=${BENCH_PEER:-../shared/bench/plain-list-peer.awk}
inputs=bench/out/inputs
work=bench/out/work

echo "== Building build/bench/tornvel (bench preset)"
cmake --preset bench >/dev/null
cmake --build --preset bench --target tornvel

echo "== Inputs in $inputs"
stamp="$(sha1sum bench/generate.py | cut -d' ' -f1) 100000 1000000 double"
if [ "$(cat "$inputs/STAMP" 2>/dev/null)" != "$stamp" ]; then
  rm -rf "$inputs"
  python3 bench/generate.py "$inputs" --lines 100000 1000000 --double
  echo "$stamp" >"$inputs/STAMP"
else
  echo "up to date"
fi

peer_args=()
if [ -f "$peer" ]; then
  peer_args=(--peer "$peer")
else
  echo "warning: peer script $peer not found; the T5 peer goal will fail"
fi

echo "== Timing"
rm -rf "$work"
python3 bench/measure.py --tornvel build/bench/tornvel --inputs "$inputs" --work "$work" \
  --runs "$runs" --clock "$clock" --products "$products" "${peer_args[@]}"
