#!/usr/bin/env bash
# Runs every test: the host unit tests under AddressSanitizer+UBSan and under ThreadSanitizer,
# then the Windows build's tests under Wine. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

failed=()
run_preset() {
  local preset=$1
  echo "==== $preset ===="
  if cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" &&
    ctest --preset "$preset"; then
    return 0
  fi
  failed+=("$preset")
}

run_preset host-asan
run_preset host-tsan
run_preset win64

if [ ${#failed[@]} -ne 0 ]; then
  echo "Failed: ${failed[*]}"
  exit 1
fi
echo "All test presets passed."
