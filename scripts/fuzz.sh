#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz, build/fuzz) and runs each for SECONDS (default 30)
# on its committed seeds plus what earlier runs found. Findings go to build/fuzz/crashes/<target>/
# and the log of each run to build/fuzz/logs/<target>.log. Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
jobs=${PARCELWRIGHT_BUILD_JOBS:-2}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --parallel "$jobs"

failed=()
for seeds in tests/fuzz/corpus/*/; do
  name=$(basename "$seeds")
  binary=build/fuzz/tests/fuzz/$name
  corpus=build/fuzz/corpus/$name
  crashes=build/fuzz/crashes/$name
  log=build/fuzz/logs/$name.log
  mkdir -p "$corpus" "$crashes" "$(dirname "$log")"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
    -artifact_prefix="$crashes/")
  [ -f "tests/fuzz/$name.dict" ] && options+=(-dict="tests/fuzz/$name.dict")
  # New inputs go to the first folder, so the committed seeds stay as they are.
  if "$binary" "${options[@]}" "$corpus" "$seeds" >"$log" 2>&1; then
    echo "fuzz $name: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log" | tail -n1)," \
      "corpus $(find "$corpus" -type f | wc -l) inputs"
  else
    echo "fuzz $name: FAILED; the input is in $crashes/, the end of $log:"
    tail -n 30 "$log"
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "Fuzz targets that failed: ${failed[*]}"
  exit 1
fi
echo "All fuzz targets held their properties for ${seconds} s each."
