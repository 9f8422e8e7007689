#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own prefix: wine-run.sh WINE_ROOT PROGRAM ARGS...
# HOME points into the build folder, so the prefix's Desktop and Documents are scratch folders
# and never the real home folder.
set -euo pipefail
root=$1
shift
export WINEPREFIX="$root/prefix" HOME="$root/home" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$(dirname "$0")/wine-prefix.sh" "$root"
exec wine "$@"
