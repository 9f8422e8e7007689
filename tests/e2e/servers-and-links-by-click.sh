#!/usr/bin/env bash
# The multi-server layout: the EU (mirror) server chosen and the repair fetched from it; then the
# Website and Discord buttons handing their links to the shell, recorded by a browser stand-in.
#   servers-and-links-by-click.sh WINE_ROOT FETTLE EXTRACTOR PATCHER FIXTURES PACKAGES OUT
set -euo pipefail
wine_root=$1 fettle=$2 extractor=$3 patcher=$4 fixtures=$5 packages=$6 out=$7
rm -rf "$out"
mkdir -p "$out/unix-bin"
source "$(dirname "$0")/desktop-session.sh"

make_demo_package "$packages/flat.zip" "$patcher"
mkdir -p "$out/www/demo/mirror"
cp "$out/www/demo/Velmora Client.zip" "$out/www/demo/mirror/Velmora Client.zip"
ln -s "$fixtures/standins/browser-standin.sh" "$out/unix-bin/pw-browser-standin"
export PATH="$out/unix-bin:$PATH"
export PARCELWRIGHT_BROWSER_LOG="$out/browser.log"
start_session
"$e2e_here/../../cmake/wine-run.sh" "$wine_root" reg add 'HKCU\Software\Wine\WineBrowser' \
  /v Browsers /t REG_SZ /d pw-browser-standin /f >/dev/null 2>&1
game="$wine_root/prefix/drive_c/Games/Velmora Servers"
rm -rf "$game"
"$fixtures/standins/install-system-standins.sh" "$wine_root/prefix" "$extractor"
export PARCELWRIGHT_PATCHER_LOG="$out/patcher.log"
start_fettle "$fettle" "Velmora Servers"
shot ready
check "Asia server chosen at first" "$(pixel "$out/ready.png" 128 419)" "FFA640"

echo "== the EU server"
click 598 413
sleep 0.7
shot eu-chosen
check "EU box checked" "$(pixel "$out/eu-chosen.png" 464 419)" "FFA640"
check "Asia box unchecked" "$(pixel "$out/eu-chosen.png" 128 419)" "0B0C0F"
click 430 461
for _ in $(seq 300); do [ -s "$out/patcher.log" ] && break; sleep 0.2; done
sleep 1
shot repaired
check "fetched from the mirror" "$(grep -c '/demo/mirror/Velmora%20Client.zip' "$out/requests.log")" "1"
check "not from the main server" "$(grep -c '"/demo/Velmora%20Client.zip' "$out/requests.log" || true)" "0"
check "repaired" "$([ -f "$game/data/sub/b.pak" ] && echo yes)" "yes"

echo "== Website and Discord"
click 79 531
click 197 531
for _ in $(seq 50); do [ "$(wc -l <"$out/browser.log" 2>/dev/null || echo 0)" -ge 2 ] && break; sleep 0.2; done
check "website opened" "$(grep -c '^https://velmora-online.example/$' "$out/browser.log" 2>/dev/null || true)" "1"
check "discord opened" "$(grep -c '^https://discord.gg/velmora-online$' "$out/browser.log" 2>/dev/null || true)" "1"

echo "servers and links by click: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
