#!/usr/bin/env bash
# Drives the real Fettle.exe like a user on a 1920 x 1080 Xvfb screen, against a package server
# on 127.0.0.1:38517 (the demo profile's address):
#   repair-by-click.sh WINE_ROOT FETTLE_EXE EXTRACTOR_STANDIN PATCHER_STANDIN FIXTURES PACKAGES OUT
set -euo pipefail
wine_root=$1 fettle=$2 extractor=$3 patcher=$4 fixtures=$5 packages=$6 out=$7
here=$(cd "$(dirname "$0")" && pwd)
port=38517
rm -rf "$out"
mkdir -p "$out/www/demo"
failures=0 passes=0
check() {
  if [ "$2" = "$3" ]; then passes=$((passes + 1)); else echo "FAIL: $1: got '$2', want '$3'"; failures=$((failures + 1)); fi
}
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | sed -n 's/.*#\([0-9A-F]\{6\}\).*/\1/p'; }
shot() { import -window root "$out/screen.png"; convert "$out/screen.png" -crop 860x560+530+260 +repage "$out/$1.png"; }
# A press held briefly, as a hand would: Wine drops a click whose down and up arrive together.
press() {
  xdotool mousemove --sync "$1" "$2"
  sleep 0.2
  xdotool mousedown 1
  sleep 0.15
  xdotool mouseup 1
}
click() { press $((530 + $1)) $((260 + $2)); }

# The package: the fixture client with a real startup program stand-in as patcher.exe.
python3 - "$packages/flat.zip" "$patcher" "$out/www/demo/Velmora Client.zip" <<'PY'
import sys, zipfile
source, patcher, target = sys.argv[1:]
with zipfile.ZipFile(source) as old, zipfile.ZipFile(target, "w") as new:
    for item in old.infolist():
        if item.filename != "patcher.exe":
            new.writestr(item, old.read(item.filename))
    new.write(patcher, "patcher.exe")
PY

exec 5< <(Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp 2>/dev/null)
read -r display <&5
export DISPLAY=":$display"
xvfb_pid=$(pgrep -n -f "Xvfb -displayfd")
python3 "$fixtures/package_server.py" --root "$out/www" --port "$port" --port-file "$out/port" \
  --log "$out/requests.log" </dev/null >"$out/server.out" 2>&1 &
server_pid=$!
stop_wine() { WINEPREFIX="$wine_root/prefix" wineserver -k 2>/dev/null || true; }
stop_wine
trap 'stop_wine; kill $server_pid $xvfb_pid 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -f "$out/port" ] && break; sleep 0.1; done

game="$wine_root/prefix/drive_c/Games/Velmora Demo"
rm -rf "$game"
mkdir -p "$game"
cp "$fettle" "$game/Fettle.exe"
echo "stale" >"$game/readme.txt"
"$fixtures/standins/install-win-standins.sh" "$extractor" "$out/bin" tar.exe powershell.exe
export WINEPATH="Z:${out//\//\\}\\bin"
export PARCELWRIGHT_PATCHER_LOG="$out/patcher.log"
"$here/../../cmake/wine-run.sh" "$wine_root" 'C:\Games\Velmora Demo\Fettle.exe' >/dev/null 2>&1 &
fettle_pid=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --name '^Fettle.exe$' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "FAIL: the window did not appear"; exit 1; }
sleep 1.5
click 100 150  # the first press only activates the window
sleep 0.5
shot ready

echo "== Repair Client"
click 186 418
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
sleep 1
shot retried
check "job buttons back after Retry" "$(pixel "$out/retried.png" 100 400)" "FFA640"
check "progress bar empty after Retry" "$(pixel "$out/retried.png" 120 340)" "0B0C0F"

echo "== close"
click 836 24
box=""
for _ in $(seq 50); do
  box=$(xdotool search --name '^Close Repair Tool$' 2>/dev/null | head -n1 || true)
  [ -n "$box" ] && break
  sleep 0.2
done
check "close question asked" "$([ -n "$box" ] && echo yes)" "yes"
shot closing
if [ -n "$box" ]; then
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$box")"
  press $((X + WIDTH / 2 - 30)) $((Y + HEIGHT - 20))  # "Yes"
fi
for _ in $(seq 50); do kill -0 "$fettle_pid" 2>/dev/null || break; sleep 0.2; done
check "the program ended" "$(kill -0 "$fettle_pid" 2>/dev/null && echo running || echo ended)" "ended"

echo "repair by click: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
