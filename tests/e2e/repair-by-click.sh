#!/usr/bin/env bash
# Drives the real Fettle.exe like a user on a 1920 x 1080 Xvfb screen, against a package server
# on 127.0.0.1:38517 (the demo profile's address), then opens and closes the Uninstall.exe the
# repair wrote. Screenshots of both windows stay in OUT:
#   repair-by-click.sh WINE_ROOT FETTLE_EXE EXTRACTOR_STANDIN PATCHER_STANDIN FIXTURES PACKAGES OUT
set -euo pipefail
wine_root=$1 fettle=$2 extractor=$3 patcher=$4 fixtures=$5 packages=$6 out=$7
rm -rf "$out"
mkdir -p "$out/www/demo"
source "$(dirname "$0")/desktop-session.sh"

make_demo_package "$packages/flat.zip" "$patcher"
start_session
game="$wine_root/prefix/drive_c/Games/Velmora Demo"
rm -rf "$game"
mkdir -p "$game"
echo "stale" >"$game/readme.txt"
"$fixtures/standins/install-system-standins.sh" "$wine_root/prefix" "$extractor"
export PARCELWRIGHT_PATCHER_LOG="$out/patcher.log"
# Each extraction takes two seconds: time to ask the close question while the job runs.
export PARCELWRIGHT_STANDIN_SLEEP_MS=2000
start_fettle "$fettle" "Velmora Demo"
shot ready

echo "== Repair Client, with the close question open as the job ends"
click 186 418
sleep 0.3
click 836 24
check "close question open" "$([ -n "$(wait_window "Close Repair Tool")" ] && echo yes)" "yes"
for _ in $(seq 150); do [ -f "$game/Uninstall.exe" ] && break; sleep 0.2; done
sleep 1.5  # several timer ticks with the question still open
check "no startup program behind the question" "$(cat "$out/patcher.log" 2>/dev/null | wc -l | tr -d ' ')" "0"
check "close question answered No" "$(answer_box "Close Repair Tool" No && echo yes)" "yes"
for _ in $(seq 300); do [ -s "$out/patcher.log" ] && break; sleep 0.2; done
sleep 1.5  # a few more timer ticks: the launch must not repeat
shot complete
check "startup program launched once" "$(wc -l <"$out/patcher.log" 2>/dev/null | tr -d ' ')" "1"
check "launched from the game folder" "$(sed -n 's/^started in //p' "$out/patcher.log" | tr -d '\r')" 'C:\Games\Velmora Demo'
check "readme.txt repaired" "$(cat "$game/readme.txt")" "fixture file readme.txt"
check "Uninstall.exe written" "$([ -f "$game/Uninstall.exe" ] && echo yes)" "yes"
check "progress bar full" "$(pixel "$out/complete.png" 744 340)" "FFA640"
check "package fetched once" "$(grep -c 'Velmora%20Client.zip' "$out/requests.log")" "1"

echo "== a failed job and Retry"
kill "$server_pid"
wait "$server_pid" 2>/dev/null || true
click 186 418
for _ in $(seq 100); do
  shot failed
  [ "$(pixel "$out/failed.png" 250 400)" = "18191E" ] && break
  sleep 0.3
done
check "Retry shown" "$(pixel "$out/failed.png" 244 418)" "FFA640"
check "Repair Client hidden" "$(pixel "$out/failed.png" 120 400)" "$(pixel "$out/ready.png" 60 400)"
click 332 418
for _ in $(seq 50); do
  shot retried
  [ "$(pixel "$out/retried.png" 100 400)" = "FFA640" ] && break
  sleep 0.1
done
check "job buttons back after Retry" "$(pixel "$out/retried.png" 100 400)" "FFA640"
check "progress bar empty after Retry" "$(pixel "$out/retried.png" 120 340)" "0B0C0F"

echo "== close"
click 836 24
check "close question answered Yes" "$(answer_box "Close Repair Tool" Yes && echo yes)" "yes"
for _ in $(seq 50); do kill -0 "$fettle_pid" 2>/dev/null || break; sleep 0.2; done
check "the program ended" "$(kill -0 "$fettle_pid" 2>/dev/null && echo running || echo ended)" "ended"

echo "== the uninstaller the repair wrote"
"$e2e_here/../../cmake/wine-run.sh" "$wine_root" 'C:\Games\Velmora Demo\Uninstall.exe' >/dev/null 2>&1 &
uninstall_pid=$!
title="Velmora Online Downloader Uninstaller"
check "uninstaller window shown" "$([ -n "$(wait_window "$title")" ] && wait_painted && echo yes)" "yes"
import -window root "$out/screen.png"
convert "$out/screen.png" -crop 680x420+620+330 +repage "$out/uninstaller.png"
press $((620 + 340)) $((330 + 60))  # the first press only activates the window
sleep 0.5
press $((620 + 656)) $((330 + 24))
check "uninstaller close answered Yes" "$(answer_box "Close Uninstaller" Yes && echo yes)" "yes"
for _ in $(seq 50); do kill -0 "$uninstall_pid" 2>/dev/null || break; sleep 0.2; done
check "the uninstaller ended" "$(kill -0 "$uninstall_pid" 2>/dev/null && echo running || echo ended)" "ended"
check "nothing uninstalled" "$([ -f "$game/Uninstall.exe" ] && echo kept)" "kept"

echo "repair by click: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
