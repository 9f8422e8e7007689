#!/usr/bin/env bash
# Builds the benchmark driver, makes (or reuses) the data in bench/data, and prints the
# side-by-side table (pieces: passes hash download job):
#   bench/run.sh [REPETITIONS [PIECE...]]         the host driver beside the host's tools
#   bench/run.sh --wine [REPETITIONS [PIECE...]]  the Windows driver under Wine beside xcopy and
#                                                 bare Win32 loops, under the shared Wine lock
set -euo pipefail
cd "$(dirname "$0")/.."
wine=0
if [ "${1:-}" = --wine ]; then
  wine=1
  shift
fi
scripts/install-deps.sh
python3 bench/generate.py "$PWD/bench/data"
if [ $wine = 0 ]; then
  cmake --preset host >/dev/null
  cmake --build --preset host --target pw_bench >/dev/null
  python3 bench/compare.py "$PWD/build/host/bench/pw_bench" "$PWD/bench/data" "$PWD/tests/fixtures" "${1:-5}" "${@:2}"
else
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 --target pw_bench pw_bare extractor_standin \
    powershell_standin >/dev/null
  # -o: the lock stays with flock itself, never with a Wine process that outlives the run.
  flock -o /tmp/parcelwright-wine.lock python3 bench/compare_wine.py "$PWD/build/win64" \
    "$PWD/bench/data" "$PWD/tests/fixtures" "$PWD/build/win64/bench-wine" "${1:-5}" "${@:2}"
fi
