#!/usr/bin/env bash
# A reinstall answered No and then Yes, the shortcut question answered Yes and the .lnk read back
# by the shell, then a close during an extraction, all through the real Fettle.exe on a virtual
# screen: reinstall-by-click.sh WINE_ROOT FETTLE EXTRACTOR PATCHER READ_LINK FIXTURES PACKAGES OUT
set -euo pipefail
wine_root=$1 fettle=$2 extractor=$3 patcher=$4 read_link=$5 fixtures=$6 packages=$7 out=$8
rm -rf "$out"
mkdir -p "$out"
source "$(dirname "$0")/desktop-session.sh"
run() { "$e2e_here/../../cmake/wine-run.sh" "$wine_root" "$@"; }

make_demo_package "$packages/flat.zip" "$patcher"
start_session
game="$wine_root/prefix/drive_c/Games/Velmora Reinstall"
desktop="$wine_root/prefix/drive_c/users/$(id -un)/Desktop"
temp="$wine_root/prefix/drive_c/users/$(id -un)/Temp"
rm -rf "$game" "$desktop/Velmora Online.lnk"
mkdir -p "$game/old"
echo "from the old client" >"$game/old/leftover.dat"
"$fixtures/standins/install-system-standins.sh" "$wine_root/prefix" "$extractor"
export PARCELWRIGHT_PATCHER_LOG="$out/patcher.log"
export PARCELWRIGHT_STANDIN_LOG="$out/extractors.log"
start_fettle "$fettle" "Velmora Reinstall"

echo "== Reinstall answered No"
click 392 418
check "reinstall question answered No" "$(answer_box "Confirm Reinstall" No && echo yes)" "yes"
sleep 1
check "nothing downloaded" "$(cat "$out/requests.log" 2>/dev/null | grep -c 'Velmora%20Client.zip' || true)" "0"
check "old client kept" "$(cat "$game/old/leftover.dat")" "from the old client"

echo "== Reinstall answered Yes, then the shortcut"
click 392 418
check "reinstall question answered Yes" "$(answer_box "Confirm Reinstall" Yes && echo yes)" "yes"
check "shortcut question answered Yes" "$(answer_box "Create Game Shortcut" Yes && echo yes)" "yes"
for _ in $(seq 50); do [ -s "$out/patcher.log" ] && break; sleep 0.2; done
sleep 1
shot reinstalled
check "old client removed" "$([ -e "$game/old" ] && echo present || echo removed)" "removed"
check "the tool kept" "$(cmp -s "$fettle" "$game/Fettle.exe" && echo same)" "same"
check "startup program launched once after the question" "$(wc -l <"$out/patcher.log" | tr -d ' ')" "1"
run "$read_link" 'C:\users\'"$(id -un)"'\Desktop\Velmora Online.lnk' | tr -d '\r' >"$out/link.txt" || true
check "link target" "$(sed -n 1p "$out/link.txt")" 'C:\Games\Velmora Reinstall\patcher.exe'
check "link working folder" "$(sed -n 2p "$out/link.txt")" 'C:\Games\Velmora Reinstall'
check "link description" "$(sed -n 3p "$out/link.txt")" "Velmora Online Downloader launcher"
check "shortcut button disabled" "$(pixel "$out/reinstalled.png" 504 418)" "323037"

echo "== close during an extraction"
click 836 24
answer_box "Close Repair Tool" Yes >/dev/null || true
for _ in $(seq 50); do kill -0 "$fettle_pid" 2>/dev/null || break; sleep 0.2; done
export PARCELWRIGHT_STANDIN_SLEEP_MS=60000
: >"$out/extractors.log"
start_fettle "$fettle" "Velmora Reinstall"
click 186 418
for _ in $(seq 100); do [ -s "$out/extractors.log" ] && break; sleep 0.2; done
check "an extractor is running" "$(cut -f1 "$out/extractors.log" | head -n1)" "tar.exe"
click 836 24
check "close question answered Yes" "$(answer_box "Close Repair Tool" Yes && echo yes)" "yes"
for _ in $(seq 50); do kill -0 "$fettle_pid" 2>/dev/null || break; sleep 0.2; done
check "the program ended" "$(kill -0 "$fettle_pid" 2>/dev/null && echo running || echo ended)" "ended"
sleep 0.5
check "the extractor was killed" "$(pgrep -f 'tar\.exe.*-xf' >/dev/null && echo running || echo gone)" "gone"
check "no temporary folder left" "$(ls "$temp" 2>/dev/null | grep -c '^VlmQuorvinRepair_' || true)" "0"

echo "reinstall and close by click: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
