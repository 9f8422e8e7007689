#!/usr/bin/env bash
# Builds both programs for Windows: build/win64/bin/Fettle.exe, which carries
# build/win64/bin/Uninstall.exe. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Fettle Uninstall
ls -l build/win64/bin/Fettle.exe build/win64/bin/Uninstall.exe
