#!/usr/bin/env bash
# The real Uninstall.exe, as a real Fettle repair wrote it into a game folder, driven like a user
# on a 1920 x 1080 Xvfb screen; powershell.exe in the prefix's System32 is a stand-in that
# records its command line and carries out the cleanup script:
#   uninstall-by-click.sh WINE_ROOT FETTLE EXTRACTOR PATCHER FIXTURES PACKAGES OUT
set -euo pipefail
wine_root=$1 fettle=$2 extractor=$3 patcher=$4 fixtures=$5 packages=$6 out=$7
rm -rf "$out"
mkdir -p "$out"
source "$(dirname "$0")/desktop-session.sh"
run() { "$e2e_here/../../cmake/wine-run.sh" "$wine_root" "$@"; }

user=$(id -un)
drive_c="$wine_root/prefix/drive_c"
desktop="$drive_c/users/$user/Desktop"
title="Velmora Online Downloader Uninstaller"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Parcelwright.Velmora Online'
# The uninstaller's window is centred on the screen.
uclick() { press $((620 + $1)) $((330 + $2)); }
# The buttons and the status line, as a signature of their pixels.
crop() { convert "$out/screen.png" -crop 560x90+680+610 +repage "$out/$1.png"; identify -format '%#' "$out/$1.png"; }
window_open() { xdotool search --name "^$title\$" >/dev/null 2>&1 && echo open || echo closed; }
commands() { if [ -f "$out/cleanup.log" ]; then grep -c '^command' "$out/cleanup.log" || true; else echo 0; fi; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

"$fixtures/standins/install-system-standins.sh" "$wine_root/prefix" "$extractor"
# A powershell.exe in the uninstaller's current folder, which a bare name would find first; it
# records nothing in the cleanup log.
mkdir -p "$out/cleanup-bin"
cp "$extractor" "$out/cleanup-bin/powershell.exe"
export PARCELWRIGHT_CLEANUP_LOG="$out/cleanup.log"

# Starts the uninstaller at Windows path $1 and waits for its window; sets uninstall_pid.
start_uninstall() {
  (cd "$out/cleanup-bin" && exec "$e2e_here/../../cmake/wine-run.sh" "$wine_root" "$1") >/dev/null 2>&1 &
  uninstall_pid=$!
  [ -n "$(wait_window "$title")" ] || { echo "FAIL: the uninstaller's window did not appear"; exit 1; }
  wait_painted || { echo "FAIL: the uninstaller's window was not painted"; exit 1; }
  uclick 340 60  # the first press only activates the window
  sleep 0.5
}

close_uninstaller() {
  uclick 656 24
  answer_box "Close Uninstaller" Yes >/dev/null || true
  for _ in $(seq 50); do kill -0 "$uninstall_pid" 2>/dev/null || break; sleep 0.1; done
}

# A refused uninstall: the safety message with Retry and Close, nothing started, and Retry back
# to the ready state.
expect_refusal() {
  local label=$1 exe=$2
  echo "== refused: $label"
  local before
  before=$(commands)
  start_uninstall "$exe"
  shot screen-ready
  import -window root "$out/screen.png"
  local ready failed retried
  ready=$(crop "refused-ready")
  uclick 270 339
  check "$label: confirmed" "$(answer_box "Confirm Uninstall" Yes && echo yes)" "yes"
  sleep 0.7
  import -window root "$out/screen.png"
  failed=$(crop "refused-$(echo "$label" | tr -c 'a-z0-9' '-')")
  check "$label: window stays" "$(window_open)" "open"
  check "$label: nothing started" "$(commands)" "$before"
  check "$label: Retry and the message shown" "$([ "$failed" != "$ready" ] && echo changed)" "changed"
  uclick 270 339
  sleep 0.7
  import -window root "$out/screen.png"
  retried=$(crop "refused-retried")
  check "$label: Retry brings back the ready state" "$retried" "$ready"
  check "$label: Retry starts nothing" "$(commands)" "$before"
  close_uninstaller
  check "$label: closed" "$(kill -0 "$uninstall_pid" 2>/dev/null && echo running || echo ended)" "ended"
}

# With no window manager on the virtual screen, Wine waits two seconds for one to confirm that a
# closing window is gone; Windows closes it at once. Wine is told to place windows itself.
managed() {
  if [ "$1" = off ]; then
    run reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  else
    run reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
  fi
}
managed off

echo "== a real repair writes the uninstaller"
folder="Tom’s Velmora"
game="$drive_c/Games/$folder"
make_demo_package "$packages/flat.zip" "$patcher"
start_session
trap 'managed on; stop_wine; kill $server_pid $xvfb_pid 2>/dev/null || true' EXIT
rm -rf "$game" "$desktop/Velmora Online.lnk"
export PARCELWRIGHT_PATCHER_LOG="$out/patcher.log"
start_fettle "$fettle" "$folder"
click 186 418
for _ in $(seq 300); do [ -s "$out/patcher.log" ] && break; sleep 0.2; done
check "Uninstall.exe written" "$([ -f "$game/Uninstall.exe" ] && echo yes)" "yes"
check "Programs and Features entry" "$(run reg query "$key" /v UninstallString >/dev/null 2>&1 && echo yes)" "yes"
click 836 24
answer_box "Close Repair Tool" Yes >/dev/null || true
for _ in $(seq 50); do kill -0 "$fettle_pid" 2>/dev/null || break; sleep 0.2; done
echo "shortcut" >"$desktop/Velmora Online.lnk"

# Copies of the written uninstaller where it must refuse to run.
mkdir -p "$drive_c/Games/Renamed"
cp "$game/Uninstall.exe" "$drive_c/Games/Renamed/Remover.exe"
expect_refusal "no Uninstall.exe beside it" 'C:\Games\Renamed\Remover.exe'
cp "$game/Uninstall.exe" "$drive_c/Uninstall.exe"
expect_refusal "a drive root" 'C:\Uninstall.exe'
rm -f "$drive_c/Uninstall.exe"
mkdir -p "$out/qdrive/ab"
cp "$game/Uninstall.exe" "$out/qdrive/ab/Uninstall.exe"
ln -sfn "$out/qdrive" "$wine_root/prefix/dosdevices/q:"
expect_refusal "a 5-character path" 'Q:\ab\Uninstall.exe'
rm -f "$wine_root/prefix/dosdevices/q:"
cp "$game/Uninstall.exe" "$desktop/Uninstall.exe"
expect_refusal "the Desktop" "C:\\users\\$user\\Desktop\\Uninstall.exe"
rm -f "$desktop/Uninstall.exe"
check "the Desktop kept" "$(cat "$desktop/Velmora Online.lnk")" "shortcut"

echo "== Uninstall answered No, a close answered No, then Uninstall answered Yes"
start_uninstall "C:\\Games\\$folder\\Uninstall.exe"
shot uninstall-ready
uclick 270 339
check "uninstall question answered No" "$(answer_box "Confirm Uninstall" No && echo yes)" "yes"
uclick 424 339
check "close question answered No" "$(answer_box "Close Uninstaller" No && echo yes)" "yes"
sleep 0.5
check "window kept" "$(window_open)" "open"
check "nothing started" "$(commands)" "0"
uclick 270 339
check "uninstall question answered Yes" "$(answer_box "Confirm Uninstall" Yes && echo yes)" "yes" &
answered=$!
for _ in $(seq 200); do [ "$(commands)" = 1 ] && break; sleep 0.02; done
started=$(now_ms)
while [ "$(window_open)" = open ] && [ $(($(now_ms) - started)) -lt 3000 ]; do sleep 0.02; done
gone=$(($(now_ms) - started))
wait $answered || true
check "window gone within about a second of the start" "$([ $gone -le 1000 ] && echo yes || echo "no ($gone ms)")" "yes"
for _ in $(seq 100); do grep -q '^done' "$out/cleanup.log" 2>/dev/null && break; sleep 0.1; done
check "the uninstaller ended first" "$(kill -0 "$uninstall_pid" 2>/dev/null && echo running || echo ended)" "ended"

quoted_folder="C:\\Games\\Tom’’s Velmora"
script="\$ErrorActionPreference='SilentlyContinue'; Start-Sleep -Milliseconds 1200; \
Remove-Item -LiteralPath 'C:\\users\\$user\\Desktop\\Velmora Online.lnk' -Force -ErrorAction SilentlyContinue; \
Remove-Item -LiteralPath '$quoted_folder' -Recurse -Force -ErrorAction SilentlyContinue; \
Remove-Item -LiteralPath 'Registry::HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Parcelwright.Velmora Online' -Recurse -Force -ErrorAction SilentlyContinue; \
Add-Type -AssemblyName PresentationFramework; \
if (Test-Path -LiteralPath '$quoted_folder') { [System.Windows.MessageBox]::Show('Some game client files could not be removed. Please close the game and patcher, then try again.', 'Uninstall Failed', 'OK', 'Warning') | Out-Null } \
else { [System.Windows.MessageBox]::Show('The game client and folder have been removed from this PC.', 'Uninstall Complete', 'OK', 'Information') | Out-Null }"
expected="powershell.exe -NoProfile -ExecutionPolicy Bypass -WindowStyle Hidden -Command \"$script\""
field() { sed -n "s/^$1\t//p" "$out/cleanup.log" | tr -d '\r' | sed -n "${2:-1}p"; }
check "command line" "$(field command)" "$expected"
check "started in the temporary folder" "$(field cwd)" "C:\\users\\$user\\Temp"
check "script carried out" "$(field done)" "ok"
check "outcome" "$(field message)" "Uninstall Complete	The game client and folder have been removed from this PC."
check "game folder removed" "$([ -e "$game" ] && echo present || echo removed)" "removed"
check "shortcut removed" "$([ -e "$desktop/Velmora Online.lnk" ] && echo present || echo removed)" "removed"
check "Programs and Features entry removed" "$(run reg query "$key" >/dev/null 2>&1 && echo present || echo removed)" "removed"

echo "== a folder whose name looks like PowerShell"
hostile="Velmora'; Remove-Item -Recurse -Force 'Keep"
mkdir -p "$drive_c/Games/$hostile/data" "$drive_c/Games/Keep" "$drive_c/users/$user/Temp/Keep"
cp "$drive_c/Games/Renamed/Remover.exe" "$drive_c/Games/$hostile/Uninstall.exe"
echo "client" >"$drive_c/Games/$hostile/data/client.pak"
echo "keep" >"$drive_c/Games/Keep/canary.txt"
echo "keep" >"$drive_c/users/$user/Temp/Keep/canary.txt"
: >"$out/cleanup.log"
start_uninstall "C:\\Games\\$hostile\\Uninstall.exe"
uclick 270 339
check "hostile: confirmed" "$(answer_box "Confirm Uninstall" Yes && echo yes)" "yes"
for _ in $(seq 100); do grep -q '^done' "$out/cleanup.log" 2>/dev/null && break; sleep 0.1; done
check "hostile: the name stayed one literal" "$(field removed)" "C:\\Games\\$hostile"
check "hostile: script carried out" "$(field done)" "ok"
check "hostile: folder removed" "$([ -e "$drive_c/Games/$hostile" ] && echo present || echo removed)" "removed"
check "hostile: neighbours kept" "$(cat "$drive_c/Games/Keep/canary.txt" "$drive_c/users/$user/Temp/Keep/canary.txt" | tr '\n' ' ')" "keep keep "
rm -rf "$drive_c/Games/Renamed" "$drive_c/Games/Keep" "$drive_c/users/$user/Temp/Keep"

echo "uninstall by click: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
