#!/usr/bin/env bash
# Runs every fuzz target built in the given folder for a bounded time, seeded from fuzz/corpus.
set -euo pipefail
build=${1:?build folder}
seconds=${Z4_FUZZ_SECONDS:-20}
here=$(cd "$(dirname "$0")" && pwd)
shopt -s nullglob
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$build/fuzz/corpus-$name"
  mkdir -p "$corpus"
  seeds=("$here/corpus/$name")
  [ -d "${seeds[0]}" ] || seeds=()
  echo "fuzzing $name for ${seconds}s"
  log="$build/fuzz/$name.log"
  if ! "$target" -max_total_time="$seconds" -print_final_stats=0 -artifact_prefix="$build/fuzz/$name-" \
      "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "$name found a failing input (kept in $build/fuzz/)"
    exit 1
  fi
  tail -n 1 "$log"
done
