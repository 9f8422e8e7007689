#!/usr/bin/env bash
# Builds the host benchmark driver, makes (or reuses) the data in bench/data, and prints the
# side-by-side table: bench/run.sh [REPETITIONS [PIECE...]] (pieces: passes hash download job)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset host >/dev/null
cmake --build --preset host --target pw_bench >/dev/null
python3 bench/generate.py "$PWD/bench/data"
python3 bench/compare.py "$PWD/build/host/bench/pw_bench" "$PWD/bench/data" "$PWD/tests/fixtures" "${1:-5}" "${@:2}"
