#!/usr/bin/env bash
# A short run of one fuzz target, as the test command does it: every seed
# input (regression inputs included), then RUNS inputs mutated from them,
# with a fixed random seed, in a fresh corpus folder that is removed
# afterwards. Fails on a crash, leak, timeout or sanitizer report, and on a
# seed folder that is missing or empty. Prints the coverage reached.
#   fuzz/smoke.sh TARGET RUNS INPUTS_FILE
set -euo pipefail
target=${1:?usage: smoke.sh TARGET RUNS INPUTS_FILE}
runs=${2:?}
inputs=${3:?}
name=$(basename "$target")
args=()
seeds=()
while IFS= read -r line; do
  case $line in
    dict=) ;;
    dict=*) args+=("-dict=${line#dict=}") ;;
    seeds=*) seeds+=("${line#seeds=}") ;;
  esac
done <"$inputs"
for dir in "${seeds[@]}"; do
  if [ ! -d "$dir" ] || [ -z "$(ls -A "$dir")" ]; then
    echo "smoke: seed folder $dir of $name is missing or empty" >&2
    exit 1
  fi
done
[ ${#seeds[@]} -gt 0 ] || { echo "smoke: $name has no seeds" >&2; exit 1; }
build=$(dirname "$(dirname "$target")")
corpus=$(mktemp -d "$build/smoke-$name.XXXXXX")
crashes=$build/smoke-crashes/$name
mkdir -p "$crashes"
trap 'rm -rf "$corpus"' EXIT
log=$corpus.log
status=0
"$target" -seed=1 -runs="$runs" -timeout=25 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$crashes/" "${args[@]}" "$corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?
seeded=$(grep -m1 -E '^#[0-9]+[[:space:]]+INITED' "$log" || true)
last=$(grep -E '^#[0-9]+[[:space:]]+(DONE|pulse|NEW|REDUCE|INITED)' "$log" | tail -n 1 || true)
echo "smoke $name: after the seeds: ${seeded:-?}"
echo "smoke $name: at the end:      ${last:-?}"
if [ $status -ne 0 ]; then
  tail -n 60 "$log" >&2
  echo "smoke: $name failed (exit $status); the input is in $crashes" >&2
fi
rm -f "$log"
exit $status
