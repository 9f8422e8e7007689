# Shared by the click-driven end-to-end scripts (sourced, not run): a 1920 x 1080 Xvfb screen, a
# Wine session on it, the package server on the demo profile's port, and a hand on the mouse.
# Needs: wine_root, and for start_session fixtures and out, set by the caller.

e2e_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
demo_port=38517
failures=0 passes=0

check() {
  if [ "$2" = "$3" ]; then passes=$((passes + 1)); else echo "FAIL: $1: got '$2', want '$3'"; failures=$((failures + 1)); fi
}
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | sed -n 's/.*#\([0-9A-F]\{6\}\).*/\1/p'; }
shot() { import -window root "$out/screen.png"; convert "$out/screen.png" -crop 860x560+530+260 +repage "$out/$1.png"; }
# A press held briefly, as a hand would: Wine drops a click whose down and up arrive together.
# The wait is for the pointer to stand at the place: `mousemove --sync` waits for a movement,
# which never comes when the pointer is already there (a second press on a message box button),
# so each such press waited 15 to 20 s for nothing.
press() {
  xdotool mousemove "$1" "$2"
  for _ in $(seq 100); do
    [ "$(xdotool getmouselocation --shell | head -n2 | tr '\n' ' ')" = "X=$1 Y=$2 " ] && break
    sleep 0.02
  done
  sleep 0.2
  xdotool mousedown 1
  sleep 0.15
  xdotool mouseup 1
}
click() { press $((530 + $1)) $((260 + $2)); }

stop_wine() { WINEPREFIX="$wine_root/prefix" wineserver -k 2>/dev/null || true; }

# A virtual screen of its own, and a Wine session begun on it: Wine's desktop takes its size from
# the display its session started on. The session is ended again on exit.
start_screen() {
  exec 5< <(Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp 2>/dev/null)
  read -r display <&5
  export DISPLAY=":$display"
  xvfb_pid=$(pgrep -n -f "Xvfb -displayfd")
  server_pid=""
  stop_wine
  trap 'stop_wine; kill $server_pid $xvfb_pid 2>/dev/null || true' EXIT
  # The prefix (10 to 20 s to make on a busy machine) and the session's server, ready before any
  # program starts, so no window wait also covers them.
  "$e2e_here/../../cmake/wine-prefix.sh" "$wine_root"
}

# The screen, and the package server on the demo profile's port.
start_session() {
  start_screen
  python3 "$fixtures/package_server.py" --root "$out/www" --port "$demo_port" \
    --port-file "$out/port" --log "$out/requests.log" </dev/null >"$out/server.out" 2>&1 &
  server_pid=$!
  for _ in $(seq 50); do [ -f "$out/port" ] && break; sleep 0.1; done
}

# The window titled $1, waited for; its first press only activates it.
wait_window() {
  local window=""
  for _ in $(seq 100); do
    window=$(xdotool search --name "^$1\$" 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.2
  done
  echo "$window"
}

# Waits until the screen's centre, which both programs' windows cover, shows a painted window:
# its images and text give far more colours than an unpainted frame.
wait_painted() {
  for _ in $(seq 100); do
    [ "$(import -window root png:- | convert - -crop 400x200+760+440 -format %k info:)" -gt 100 ] &&
      return 0
    sleep 0.1
  done
  return 1
}

# Answers the message box titled $1 with "Yes" or "No" ($2); false when no box appeared.
answer_box() {
  local box
  box=$(wait_window "$1")
  [ -n "$box" ] || return 1
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$box")"
  local x=$((X + WIDTH / 2 - 30))
  [ "$2" = "No" ] && x=$((X + WIDTH / 2 + 34))
  press "$x" $((Y + HEIGHT - 20))  # activates the box, or answers it when it had the focus
  # The second press comes a second later at the earliest: sooner, two presses on
  # one place can make a double click.
  box_gone "$1" 10 && return 0
  press "$x" $((Y + HEIGHT - 20))
  box_gone "$1" 50
}

# Whether the window titled $1 is gone within $2 tenths of a second.
box_gone() {
  for _ in $(seq "$2"); do
    xdotool search --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Places the program in a game folder of the prefix and starts it; sets fettle_pid.
start_fettle() {
  local exe=$1 folder=$2
  mkdir -p "$wine_root/prefix/drive_c/Games/$folder"
  cp "$exe" "$wine_root/prefix/drive_c/Games/$folder/Fettle.exe"
  "$e2e_here/../../cmake/wine-run.sh" "$wine_root" "C:\\Games\\$folder\\Fettle.exe" >/dev/null 2>&1 &
  fettle_pid=$!
  [ -n "$(wait_window Fettle.exe)" ] || { echo "FAIL: the window did not appear"; exit 1; }
  wait_painted || { echo "FAIL: the window was not painted"; exit 1; }
  click 100 150
  sleep 0.5
}

# The package the demo profile downloads: the fixture client with a real startup program
# stand-in as patcher.exe.
make_demo_package() {
  mkdir -p "$out/www/demo"
  python3 - "$1" "$2" "$out/www/demo/Velmora Client.zip" <<'PY'
import sys, zipfile
source, patcher, target = sys.argv[1:]
with zipfile.ZipFile(source) as old, zipfile.ZipFile(target, "w") as new:
    for item in old.infolist():
        if item.filename != "patcher.exe":
            new.writestr(item, old.read(item.filename))
    new.write(patcher, "patcher.exe")
PY
}
