#!/usr/bin/env bash
# Builds both programs for Windows (build/win64/bin/Fettle.exe, which carries
# build/win64/bin/Uninstall.exe), then runs a real repair under Wine: a Fettle built with the
# demo profile starts from a game folder in a Wine prefix on a virtual screen, its "Repair
# Client" button is clicked, and it downloads, extracts and repairs the client from a package
# server on 127.0.0.1; then the Uninstall.exe it wrote is opened and closed. Screenshots land in
# build/win64/demo (scripts/update-readme-images.sh copies them to docs/images/). Installs what
# is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64
build=build/win64
tests/e2e/repair-by-click.sh "$PWD/$build/wine" "$PWD/$build/tests/e2e/fettle_demo.exe" \
  "$PWD/$build/tests/fixtures/extractor_standin.exe" "$PWD/$build/tests/fixtures/patcher_standin.exe" \
  "$PWD/tests/fixtures" "$PWD/$build/packages" "$PWD/$build/demo"
echo
echo "Programs: $build/bin/Fettle.exe and $build/bin/Uninstall.exe"
echo "Screenshots: $build/demo/ready.png, complete.png, failed.png, retried.png, uninstaller.png"
