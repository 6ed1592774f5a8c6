#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each of them for a while on a scratch
# copy of its seed corpus, with its dictionary. Fails when any target reports a
# crash, a sanitizer finding, a leak, a timeout or running out of memory.
#
#   scripts/fuzz.sh [seconds-per-target]        (default 30)
#
# Environment:
#   FUZZ_JOBS=N        targets run side by side (default 1; the machine has 2 cores)
#   FUZZ_TARGETS="a b" only these targets (default: every directory of fuzz/corpus)
#   FUZZ_KEEP=1        keep the scratch corpora and logs
#   FUZZ_WORK=DIR      scratch area (default fuzz/corpus-work); each target's
#                      directory in it is emptied before the target runs
#   FUZZ_NO_BUILD=1    use the targets already in build/fuzz
#
# A finding is left in the scratch area, <target>/findings/; reproduce it with
#   build/fuzz/fuzz/<target> fuzz/corpus-work/<target>/findings/crash-...
# and, once fixed, copy it into fuzz/corpus/<target>/ so that it stays a seed.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)

seconds=${1:-30}
jobs=${FUZZ_JOBS:-1}
case "$seconds" in '' | *[!0-9]*) echo "usage: $0 [seconds-per-target]" >&2; exit 2 ;; esac
case "$jobs" in '' | *[!0-9]* | 0) echo "FUZZ_JOBS must be a positive number" >&2; exit 2 ;; esac

if [ -z "${FUZZ_NO_BUILD:-}" ]; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz
fi

targets=${FUZZ_TARGETS:-$(cd fuzz/corpus && ls -d -- */ | tr -d /)}
work=$(realpath -m "${FUZZ_WORK:-$top/fuzz/corpus-work}")
mkdir -p "$work"

# One target: a scratch corpus seeded from the committed one, so that the
# committed seeds stay small and hand-made.
run_target() {
  local target=$1
  local binary="$top/build/fuzz/fuzz/$target"
  local dir="$work/$target"
  rm -rf "$dir"
  mkdir -p "$dir/corpus" "$dir/findings" "$dir/tmp"
  cp -- "$top/fuzz/corpus/$target"/* "$dir/corpus/"
  local dict=()
  [ -f "$top/fuzz/$target.dict" ] && dict=(-dict="$top/fuzz/$target.dict")
  # Absolute paths throughout: the whole-run target changes its working
  # directory. TMPDIR keeps its private directories inside the scratch area.
  TMPDIR="$dir/tmp" ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$binary" "${dict[@]}" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -print_final_stats=1 -artifact_prefix="$dir/findings/" \
    "$dir/corpus" >"$dir/log" 2>&1
}

summary() {
  local target=$1 status=$2
  local log="$work/$target/log"
  local execs
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  printf '%-28s %-6s %12s executions\n' "$target" "$status" "${execs:-?}"
}

failed=0
declare -A pids=()
finish() {
  local target=$1
  if wait "${pids[$target]}"; then
    summary "$target" ok
  else
    summary "$target" FAILED
    failed=1
    echo "---- $target: end of its log (full log: $work/$target/log)"
    grep -E '^(==[0-9]+==|SUMMARY|.*runtime error|artifact_prefix|Test unit written)' \
      "$work/$target/log" | tail -n 20 || tail -n 30 "$work/$target/log"
    ls -1 "$work/$target/findings"
  fi
  unset "pids[$target]"
}

echo "== Fuzzing ${seconds}s per target, $jobs at a time"
running=()
for target in $targets; do
  run_target "$target" &
  pids[$target]=$!
  running+=("$target")
  if [ ${#running[@]} -ge "$jobs" ]; then
    finish "${running[0]}"
    running=("${running[@]:1}")
  fi
done
for target in "${running[@]}"; do finish "$target"; done

if [ "$failed" -ne 0 ]; then
  echo "Fuzzing found a fault; the findings are kept in $work"
  exit 1
fi
if [ -z "${FUZZ_KEEP:-}" ]; then
  for target in $targets; do rm -rf "${work:?}/$target"; done
  rmdir "$work" 2>/dev/null || true
fi
echo "Fuzzing found nothing"
