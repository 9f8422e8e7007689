#!/usr/bin/env bash
# Creates the test prefix once (safe when several tests start together) and keeps a persistent
# wineserver running for the rest of the run, which cuts every later Wine start to a fraction.
set -euo pipefail
root=$1
unset WINEDLLOVERRIDES  # the server and its services get the usual overrides only
source "$(dirname "$0")/wine-env.sh" "$root"
mkdir -p "$root" "$HOME"
exec 9>"$root/.lock"
flock 9
if [ ! -f "$WINEPREFIX/.parcelwright-ready" ]; then
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 9>&-
  # GDI+ draws no text for a missing family; the windows ask for Segoe UI.
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI' /t REG_SZ \
    /d 'Liberation Sans' /f >/dev/null 2>&1 9>&-
  wineserver -w
  touch "$WINEPREFIX/.parcelwright-ready"
fi
exec 9>&-  # no Wine process may inherit the lock
# The server and the services outlive this script, so they get no inherited descriptor: one
# could be the shared Wine lock that `flock` hands its command, held then until the server ends.
close_inherited() {
  for fd in "/proc/$BASHPID/fd"/*; do
    n=${fd##*/}
    if [ "$n" -gt 2 ]; then eval "exec $n>&-"; fi
  done
}
# A second server is refused, harmlessly. The first one's Windows services are started here with
# no output attached: started by a test, they would hold its output open and CTest would wait
# for them for good.
if (close_inherited && exec wineserver -p >/dev/null 2>&1); then
  (close_inherited && exec wine cmd /c exit </dev/null >/dev/null 2>&1) || true
fi
