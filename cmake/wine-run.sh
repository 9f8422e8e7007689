#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own prefix: wine-run.sh WINE_ROOT PROGRAM ARGS...
# HOME points into the build folder, so the prefix's Desktop and Documents are scratch folders
# and never the real home folder. A caller's WINEDLLOVERRIDES is added to the usual ones.
set -euo pipefail
root=$1
shift
source "$(dirname "$0")/wine-env.sh" "$root"
"$(dirname "$0")/wine-prefix.sh" "$root"

# Wine hands its standard error to every Windows process the program starts, and such a process
# may outlive the program (a stand-in still sleeping, a helper stuck in start-up). Holding CTest's
# pipe, it would keep a finished test open until the timeout. So the program writes to files,
# streamed out while it runs and no longer once it has ended.
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
: >"$logs/out"
: >"$logs/err"
wine "$@" <&0 >"$logs/out" 2>"$logs/err" &
program=$!
trap 'kill "$program" 2>/dev/null' TERM INT HUP
tail -s 0.1 -n +1 -f --pid="$program" "$logs/out" &
out=$!
tail -s 0.1 -n +1 -f --pid="$program" "$logs/err" >&2 &
err=$!
status=0
wait "$program" || status=$?
wait "$out" "$err" || true
exit "$status"
