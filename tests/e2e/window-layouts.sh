#!/usr/bin/env bash
# Starts the real Fettle.exe from a game folder in the test prefix on a 1920 x 1080 Xvfb screen
# and checks its window: place, size, text, and painted pixels of both button layouts.
# Screenshots stay in SHOTS for a person to look at.
set -euo pipefail
wine_root=$1 single=$2 multi=$3 shots=$4
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$shots"
failures=0 passes=0
check() {
  if [ "$2" = "$3" ]; then passes=$((passes + 1)); else echo "FAIL: $1: got '$2', want '$3'"; failures=$((failures + 1)); fi
}

exec 5< <(Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp 2>/dev/null)
read -r display <&5
export DISPLAY=":$display"
xvfb_pid=$(pgrep -n -f "Xvfb -displayfd")
# Wine's desktop takes its screen from the display its session started on: begin a session on
# this screen, and end it afterwards so later tests start one of their own.
stop_wine() { WINEPREFIX="$wine_root/prefix" wineserver -k 2>/dev/null || true; }
stop_wine
trap 'pkill -f "Games.Window Test" 2>/dev/null || true; stop_wine; kill $xvfb_pid 2>/dev/null || true' EXIT

pixel() {  # colour of screen pixel x y as RRGGBB
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | sed -n 's/.*#\([0-9A-F]\{6\}\).*/\1/p'
}

show() {  # name exe expected-title
  local name=$1 exe=$2 title=$3
  local game="$wine_root/prefix/drive_c/Games/Window Test $name"
  rm -rf "$game"
  mkdir -p "$game"
  cp "$exe" "$game/Fettle.exe"
  "$here/../../cmake/wine-run.sh" "$wine_root" 'C:\Games\Window Test '"$name"'\Fettle.exe' >/dev/null 2>&1 &
  local window=""
  for _ in $(seq 100); do
    window=$(xdotool search --name "^${title}\$" 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "FAIL: no window titled $title"; failures=$((failures + 1)); return; }
  sleep 1.5  # first paint
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
