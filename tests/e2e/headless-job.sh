#!/usr/bin/env bash
# A repair and a reinstall run by the headless job program from C:\Games\Velmora Online in the
# test prefix, with WinHTTP, the tar stand-in, the real registry and the real Uninstall.exe.
set -euo pipefail
wine_root=$1 headless=$2 uninstaller=$3 standin=$4 server_dir=$5 packages=$6 fixtures=$7
here=$(cd "$(dirname "$0")" && pwd)
run() { "$here/../../cmake/wine-run.sh" "$wine_root" "$@"; }
fail() { echo "FAIL: $*"; exit 1; }

prefix="$wine_root/prefix"
game="$prefix/drive_c/Games/Velmora Online"
bin="$wine_root/standins-headless"
rm -rf "$game" "$bin"
mkdir -p "$game"
cp "$headless" "$game/Fettle.exe"
"$fixtures/standins/install-system-standins.sh" "$prefix" "$standin"
mkdir -p "$server_dir/www/e2e"
cp "$packages/single-top.zip" "$server_dir/www/e2e/Velmora Client.zip"
url="http://127.0.0.1:$(cat "$server_dir/port")/e2e/Velmora Client.zip"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Parcelwright.Velmora Online'
run reg delete "$key" /f >/dev/null 2>&1 || true
temp_before=$(ls "$prefix/drive_c/users/$(id -un)/Temp" 2>/dev/null | sort || true)

echo "== repair"
echo "stale" >"$game/readme.txt"
echo "user settings" >"$game/settings.ini"
run 'C:\Games\Velmora Online\Fettle.exe' repair "$url" | tr -d '\r' | tee "$wine_root/headless.out"
grep -qx 'Repair complete.' "$wine_root/headless.out" || fail "repair did not complete"
grep -qx 'Fixed or updated missing/mismatched files.' "$wine_root/headless.out" || fail "detail line"
[ "$(cat "$game/readme.txt")" = "fixture file Client/readme.txt" ] || fail "readme.txt not repaired"
[ -f "$game/data/sub/b.pak" ] || fail "data/sub/b.pak missing"
[ "$(cat "$game/settings.ini")" = "user settings" ] || fail "a client-only file was touched"
cmp -s "$game/Fettle.exe" "$headless" || fail "the tool was overwritten"
cmp -s "$game/Uninstall.exe" "$uninstaller" || fail "Uninstall.exe is not the built uninstaller"

query() { run reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *\(REG_[A-Z]*\) *//p"; }
[ "$(query InstallLocation)" = 'C:\Games\Velmora Online' ] || fail "InstallLocation: $(query InstallLocation)"
[ "$(query UninstallString)" = '"C:\Games\Velmora Online\Uninstall.exe"' ] ||
  fail "UninstallString: $(query UninstallString)"
[ "$(query DisplayName)" = 'Velmora Online' ] || fail "DisplayName: $(query DisplayName)"
[ "$(query DisplayIcon)" = 'C:\Games\Velmora Online\patcher.exe,0' ] || fail "DisplayIcon: $(query DisplayIcon)"
[ "$(query NoModify)" = '0x1' ] || fail "NoModify: $(query NoModify)"
expected_kib=$(( ($(find "$game" -type f -printf '%s\n' | awk '{s+=$1} END {print s+0}') + 1023) / 1024 ))
[ "$(( $(query EstimatedSize) ))" = "$expected_kib" ] || fail "EstimatedSize $(query EstimatedSize) != $expected_kib"
[[ "$(query InstallDate)" =~ ^[0-9]{8}$ ]] || fail "InstallDate: $(query InstallDate)"

echo "== reinstall"
run 'C:\Games\Velmora Online\Fettle.exe' reinstall "$url" | tr -d '\r' | tee "$wine_root/headless.out"
grep -qx 'Reinstall complete.' "$wine_root/headless.out" || fail "reinstall did not complete"
[ ! -e "$game/settings.ini" ] || fail "reinstall kept an old file"
cmp -s "$game/Fettle.exe" "$headless" || fail "the tool was removed or overwritten"
cmp -s "$game/Uninstall.exe" "$uninstaller" || fail "Uninstall.exe not written again"

temp_after=$(ls "$prefix/drive_c/users/$(id -un)/Temp" 2>/dev/null | sort || true)
[ "$temp_before" = "$temp_after" ] || fail "temporary files left: $(comm -13 <(echo "$temp_before") <(echo "$temp_after"))"
echo "== repair from a folder whose path is longer than 260 characters"
segment="A folder with quite a long name to make the whole path long"
deep="$game/$segment/$segment/$segment/$segment/$segment"
mkdir -p "$deep"
cp "$headless" "$deep/Fettle.exe"
windows_deep='C:\Games\Velmora Online'
for _ in 1 2 3 4 5; do windows_deep="$windows_deep\\$segment"; done
[ ${#windows_deep} -gt 260 ] || fail "the deep path is only ${#windows_deep} characters"
run "$windows_deep\\Fettle.exe" repair "$url" | tr -d '\r' | tee "$wine_root/headless.out"
grep -qx 'Repair complete.' "$wine_root/headless.out" || fail "repair from the deep folder did not complete"
[ -f "$deep/data/sub/b.pak" ] || fail "the deep folder was not repaired (a cut module path?)"
[ "$(query InstallLocation)" = "$windows_deep" ] || fail "InstallLocation: $(query InstallLocation)"

run reg delete "$key" /f >/dev/null 2>&1 || true
echo "headless job: 3 passed, 0 failed"
