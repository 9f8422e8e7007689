#!/usr/bin/env bash
# Copies the screenshots the last scripts/run.sh took of the real programs (build/win64/demo)
# into docs/images/ for the README. Run it by hand when the windows have changed, and commit the
# images; a run itself never writes into the tree.
set -euo pipefail
cd "$(dirname "$0")/.."
shots=build/win64/demo
mkdir -p docs/images
for pair in ready:fettle-ready complete:fettle-complete failed:fettle-failed \
  uninstaller:uninstaller; do
  from="$shots/${pair%%:*}.png" to="docs/images/${pair#*:}.png"
  [ -f "$from" ] || { echo "$from is missing: run scripts/run.sh first." >&2; exit 1; }
  cp "$from" "$to"
  echo "$to"
done
