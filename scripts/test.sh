#!/usr/bin/env bash
# Runs every test: the host unit tests under AddressSanitizer+UBSan and under ThreadSanitizer,
# each fuzz target for a bounded time (PARCELWRIGHT_FUZZ_SECONDS, default 30), then the Windows
# build's tests under Wine. Installs what is missing first.
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
echo "==== fuzz ===="
scripts/fuzz.sh "${PARCELWRIGHT_FUZZ_SECONDS:-30}" || failed+=(fuzz)
run_preset win64

if [ ${#failed[@]} -ne 0 ]; then
  echo "Failed: ${failed[*]}"
  exit 1
fi
echo "All test presets passed."
