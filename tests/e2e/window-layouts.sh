#!/usr/bin/env bash
# Starts the real Fettle.exe from a game folder in the test prefix on a 1920 x 1080 Xvfb screen
# and checks its window: place, size, text, and painted pixels of both button layouts.
# Screenshots stay in SHOTS for a person to look at.
set -euo pipefail
wine_root=$1 single=$2 multi=$3 shots=$4
mkdir -p "$shots"
source "$(dirname "$0")/desktop-session.sh"
start_screen

show() {  # name exe expected-title
  local name=$1 exe=$2 title=$3
  local game="$wine_root/prefix/drive_c/Games/Window Test $name"
  rm -rf "$game"
  mkdir -p "$game"
  cp "$exe" "$game/Fettle.exe"
  "$e2e_here/../../cmake/wine-run.sh" "$wine_root" 'C:\Games\Window Test '"$name"'\Fettle.exe' >/dev/null 2>&1 &
  local window
  window=$(wait_window "$title")
  [ -n "$window" ] || { echo "FAIL: no window titled $title"; failures=$((failures + 1)); return; }
  wait_painted || { echo "FAIL: $title was not painted"; failures=$((failures + 1)); }
  eval "$(xdotool getwindowgeometry --shell "$window")"
  check "$name position" "$X,$Y" "530,260"
  check "$name size" "${WIDTH}x$HEIGHT" "860x560"
  check "$name window text" "$(xdotool getwindowname "$window")" "$title"
  import -window root "$shots/$name-screen.png"
  convert "$shots/$name-screen.png" -crop 860x560+530+260 +repage "$shots/$name.png"
  pkill -f "Games.Window Test" || true
  for _ in $(seq 50); do
    pgrep -f "Games.Window Test" >/dev/null || break
    sleep 0.1
  done
}

show single "$single" "Fettle.exe"
s="$shots/single.png"
check "title bar" "$(pixel "$s" 400 20)" "0C0D0E"
check "accent rule" "$(pixel "$s" 400 47)" "FFA640"
check "panel" "$(pixel "$s" 100 150)" "111215"
check "Repair Client fill" "$(pixel "$s" 100 400)" "FFA640"
check "Reinstall Game border" "$(pixel "$s" 298 418)" "FFA640"
check "Create Game Shortcut fill" "$(pixel "$s" 510 400)" "18191E"
check "Run Patcher fill" "$(pixel "$s" 346 460)" "18191E"
check "rounded corner" "$(pixel "$shots/single-screen.png" 530 260)" "000000"

show multi "$multi" "Velmora Multi.exe"
m="$shots/multi.png"
check "multi accent rule" "$(pixel "$m" 400 47)" "3AA0FF"
check "Asia box checked" "$(pixel "$m" 128 419)" "3AA0FF"
check "EU box unchecked" "$(pixel "$m" 464 419)" "0B0C0F"
check "Repair Client moved" "$(pixel "$m" 350 445)" "3AA0FF"
# Where "Reinstall Game" stands in the single layout, the multi layout shows the background.
check "no Reinstall Game" "$([ "$(pixel "$m" 430 436)" != 18191E ] && echo hidden)" "hidden"
check "Reinstall Game in the single layout" "$(pixel "$s" 430 436)" "18191E"

echo "window layouts: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
