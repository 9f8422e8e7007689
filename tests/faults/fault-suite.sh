#!/usr/bin/env bash
# The fault suite under Wine: the real job driver (headless_job.exe, the repair tool without its
# window) and the uninstaller's start (headless_uninstall.exe) meet a faulty network, hostile
# archives, awkward client folders, unsafe places, planted DLLs and programs and stops. Each case
# states what it must show;
# after each, nothing in the prefix outside the case's client folder may have changed (the users'
# folders, C:\Games and the drive root, temporary folder included). Writes OUT/results.md.
#   fault-suite.sh WINE_ROOT HEADLESS_JOB HEADLESS_UNINSTALL EXTRACTOR PATCHER HOLDER MARKER_DLL
#                  FETTLE UNINSTALL SERVER_DIR PACKAGES FIXTURES OUT WEB_SERVER_DIR
set -uo pipefail
wine_root=$1 headless=$2 headless_uninstall=$3 extractor=$4 patcher=$5 holder=$6 marker_dll=$7
fettle=$8 uninstall=$9 server_dir=${10} packages=${11} fixtures=${12} out=${13} web_dir=${14}
here=$(cd "$(dirname "$0")" && pwd)
run() { "$here/../../cmake/wine-run.sh" "$wine_root" "$@"; }
rm -rf "$out"
mkdir -p "$out"

user=$(id -un)
drive_c="$wine_root/prefix/drive_c"
users="$drive_c/users/$user"
www="$server_dir/www/faults"
base="http://127.0.0.1:$(cat "$server_dir/port")/faults"
mkdir -p "$www"
# The snapshot lists C:\Games; it must stand before the first case, also in a fresh prefix.
mkdir -p "$drive_c/Games"
# Where Windows keeps the real tar.exe and powershell.exe, and where the programs start them.
"$fixtures/standins/install-system-standins.sh" "$wine_root/prefix" "$extractor"
export PARCELWRIGHT_CLEANUP_LOG="$out/cleanup.log"

cp "$packages/flat.zip" "$www/flat.zip"
cp "$packages/self-named.zip" "$www/self-named.zip"
cp "$packages/unicode.zip" "$www/unicode.zip"
for kind in zip-slip deep corrupt exe empty many big; do
  python3 "$fixtures/make_hostile_package.py" "$kind" "$www/$kind.zip"
done
python3 "$fixtures/make_hostile_package.py" link-out "$www/link-out.zip" "$users/Desktop"
canary_rel="Games/Canary"
canary="$drive_c/$canary_rel"
python3 "$fixtures/make_hostile_package.py" link-nested "$www/link-nested.zip" "$canary"
python3 "$fixtures/make_hostile_package.py" link-top "$www/link-top.zip" "$canary"
big_sha=$(sha256sum "$www/big.zip" | cut -d' ' -f1)

# --- cases ---------------------------------------------------------------------------------------

rows=() failures=0
# Everything a job could reach but its own client folder ($1, a path under drive_c). The
# extractor stand-in's own scratch files are left out: a killed stand-in cannot tidy up, which
# the real tools do not need to.
snapshot() {
  (cd "$drive_c" && find . -maxdepth 1 -printf '%p\t%y\n'
    find "./users" "./Games" -path "./$1" -prune -o -name 'parcelwright-standin-*' -prune -o \
      -type d -printf '%p\td\n' -o -printf '%p\t%y\t%s\t%T@\t%m\n') 2>/dev/null |
    LC_ALL=C sort
}
begin() { # NAME MUST-SHOW CLIENT (relative to drive_c)
  case_name=$1 case_want=$2 case_client=$3 case_ok=1 case_notes=()
  echo "== $case_name"
  before=$(snapshot "$case_client")
}
expect() { # LABEL GOT WANT
  if [ "$2" != "$3" ]; then
    case_ok=0
    echo "FAIL: $case_name: $1: got '$2', want '$3'"
  fi
}
note() { case_notes+=("$1"); }
finish() {
  local after
  after=$(snapshot "$case_client")
  if [ "$before" != "$after" ]; then
    case_ok=0
    echo "FAIL: $case_name: something outside the client folder changed:"
    diff <(echo "$before") <(echo "$after") | head -n 20
  fi
  local IFS='; '
  rows+=("| $case_name | $case_want | ${case_notes[*]} | $([ $case_ok = 1 ] && echo pass || echo FAIL) |")
  [ $case_ok = 1 ] || failures=$((failures + 1))
}

# A new prefix has no C:\Games yet; made here, it is not the first case's change.
mkdir -p "$drive_c/Games"
client_rel="Games/Fault Client"
client="$drive_c/$client_rel"
client_win='C:\Games\Fault Client'
# A fresh client folder holding the tool, a stale file and a file of the user's.
fresh_client() {
  local folder=${1:-$client}
  rm -rf "$folder"
  mkdir -p "$folder"
  cp "$headless" "$folder/Fettle.exe"
  echo "stale" >"$folder/readme.txt"
  echo "user settings" >"$folder/settings.ini"
}
# Runs the job from Windows folder $1 (mode, URL and options follow); sets job_status,
# job_detail (first line), job_code, job_stop_ms.
job() {
  local folder=$1
  shift
  # Through a file, not a pipe: Wine's server may hold on to a pipe after the program is gone.
  run "$folder\\Fettle.exe" "$@" >"$out/job.out" 2>/dev/null </dev/null
  job_code=$?
  job_out=$(tr -d '\r' <"$out/job.out")
  job_status=$(sed -n 1p <<<"$job_out")
  job_detail=$(sed -n 2p <<<"$job_out")
  job_stop_ms=$(sed -n 's/^stop to end: //p' <<<"$job_out")
  note "\"$job_status\" / \"$job_detail\""
}
expect_failure() { # DETAIL
  expect "status" "$job_status" "Repair failed."
  expect "message" "$job_detail" "$1"
  expect "exit code" "$job_code" "1"
}
expect_complete() {
  expect "status" "$job_status" "Repair complete."
  expect "exit code" "$job_code" "0"
}
untouched() { # the client folder as fresh_client left it
  expect "stale file kept" "$(cat "$client/readme.txt" 2>/dev/null)" "stale"
  expect "user file kept" "$(cat "$client/settings.ini" 2>/dev/null)" "user settings"
}
not_archive="The downloaded package is not a valid ZIP or RAR archive."

echo "#### network"
for row in "connection refused|http://127.0.0.1:9/flat.zip|The server did not respond to the download request." \
  "404|${base%/faults}/status/404|The server returned HTTP 404." \
  "500|${base%/faults}/status/500|The server returned HTTP 500." \
  "body shorter than Content-Length|${base%/faults}/truncate/faults/flat.zip|The download stopped unexpectedly." \
  "redirect loop|${base%/faults}/loop|" \
  "302 without Location|${base%/faults}/nolocation|"; do
  IFS='|' read -r name url message <<<"$row"
  begin "$name" "a failure with a clear message; the client untouched" "$client_rel"
  fresh_client
  job "$client_win" repair "$url"
  if [ -n "$message" ]; then expect_failure "$message"; else
    expect "status" "$job_status" "Repair failed."
    expect "a message" "$([ -n "$job_detail" ] && echo yes)" "yes"
  fi
  untouched
  finish
done

begin "server closes mid-body (no length)" "the damaged package is refused at extraction" "$client_rel"
fresh_client
job "$client_win" repair "${base%/faults}/cut/faults/flat.zip"
expect_failure "ZIP extraction failed."
untouched
finish

begin "204 No Content" "an empty body is not a package" "$client_rel"
fresh_client
job "$client_win" repair "${base%/faults}/status/204"
expect_failure "$not_archive"
untouched
finish

begin "206 with the whole file" "accepted as the package; repair completes" "$client_rel"
fresh_client
job "$client_win" repair "${base%/faults}/status/206/faults/flat.zip"
expect_complete
expect "repaired" "$(cat "$client/readme.txt")" "fixture file readme.txt"
finish

begin "oversized headers (64 KiB)" "a clear outcome: completes or fails with a message" "$client_rel"
fresh_client
job "$client_win" repair "${base%/faults}/bigheaders/faults/flat.zip"
expect "a clear outcome" "$([ "$job_status" = "Repair complete." ] || [ -n "$job_detail" ] && echo yes)" "yes"
finish

begin "stall, then a stop" "the stop ends the job within 2 s; no message; nothing left behind" "$client_rel"
fresh_client
job "$client_win" repair "${base%/faults}/stall/faults/flat.zip" --stop-at download --stop-after 1000
expect "ended promptly" "$([ -n "$job_stop_ms" ] && [ "$job_stop_ms" -lt 2000 ] && echo yes)" "yes"
note "stop to end ${job_stop_ms} ms"
untouched
finish

echo "#### HTTPS (nginx; the test CA trusted in this prefix only)"
web() { echo "$([ "$1" = http ] && echo http || echo https)://localhost:$(cat "$web_dir/${1}_port")$2"; }
port_log() { awk -v p="$(cat "$web_dir/${1}_port")" '$1 == p' "$web_dir/logs/access.log"; }
for row in "a repair over HTTPS|$(web https /faults/flat.zip)|https" \
  "an HTTP URL redirected to HTTPS|$(web http /to-https/faults/flat.zip)|http https"; do
  IFS='|' read -r name url ports <<<"$row"
  begin "$name" "completes; served by nginx over HTTPS" "$client_rel"
  fresh_client
  : >"$web_dir/logs/access.log"
  job "$client_win" repair "$url"
  expect_complete
  expect "repaired" "$(cat "$client/readme.txt")" "fixture file readme.txt"
  expect "user file kept" "$(cat "$client/settings.ini")" "user settings"
  for port in $ports; do
    expect "requests on the $port port" "$(port_log "$port" | awk '{print $2, $3, $NF}' | tr '\n' ' ')" \
      "GET $([ "$port" = http ] && echo /to-https)/faults/flat.zip $([ "$port" = http ] && echo 302 || echo 200) "
  done
  finish
done
for row in "certificate from a CA never trusted|untrusted" \
  "certificate for another host name|wronghost" \
  "expired certificate (January 2020)|expired"; do
  IFS='|' read -r name port <<<"$row"
  begin "HTTPS: $name" "a failure with the send's message; the client untouched" "$client_rel"
  fresh_client
  : >"$web_dir/logs/access.log"
  job "$client_win" repair "$(web "$port" /faults/flat.zip)"
  expect_failure "The server did not respond to the download request."
  untouched
  expect "nothing added to the client" "$(ls -A "$client" | LC_ALL=C sort | tr '\n' ' ')" "Fettle.exe readme.txt settings.ini "
  expect "no request reached the server" "$(port_log "$port" | wc -l | tr -d ' ')" "0"
  finish
done

echo "#### archives"
for row in "an HTML page|${base%/faults}/html" "an executable|$base/exe.zip" "an empty file|$base/empty.zip"; do
  IFS='|' read -r name url <<<"$row"
  begin "not an archive: $name" "refused before any extractor runs" "$client_rel"
  fresh_client
  : >"$out/extractors.log"
  PARCELWRIGHT_STANDIN_LOG="$out/extractors.log" job "$client_win" repair "$url"
  expect_failure "$not_archive"
  expect "no extractor started" "$(wc -l <"$out/extractors.log" | tr -d ' ')" "0"
  untouched
  finish
done

begin "corrupt zip" "both zip extractors fail; a clear message" "$client_rel"
fresh_client
job "$client_win" repair "$base/corrupt.zip"
expect_failure "ZIP extraction failed."
untouched
finish

begin "zip-slip entries (../, absolute, drive letter)" "nothing written outside the client folder" "$client_rel"
fresh_client
job "$client_win" repair "$base/zip-slip.zip"
expect "no escaped file anywhere" "$(find "$drive_c" -name 'escaped-*' -o -name 'absolute-escape*' -o -name 'drive-escape*' 2>/dev/null | grep -v "^$client/" | head -n 3)" ""
note "escaped files: $(find "$drive_c" -name '*escape*' 2>/dev/null | sed "s|$drive_c/||" | tr '\n' ' ')"
finish

echo "canary" >"$users/Desktop/fault-suite-canary.txt"
begin "a link pointing outside" "nothing outside written or removed through the link" "$client_rel"
fresh_client
job "$client_win" repair "$base/link-out.zip"
expect "nothing planted on the Desktop" "$([ -e "$users/Desktop/planted.txt" ] && echo planted)" ""
expect "the Desktop's files kept" "$(cat "$users/Desktop/fault-suite-canary.txt" 2>/dev/null)" "canary"
# Wine's RemoveDirectoryW follows a link to a folder and so cannot remove it (Windows removes the
# link itself); the extraction folder then keeps just the link, and nothing else.
for left in "$users/Temp"/VlmQuorvinRepair_*; do
  [ -e "$left" ] || continue
  expect "only the link left behind" "$(find "$left" -mindepth 1 ! -type d ! -type l | head -n 3)" ""
  expect "the link itself" "$(find "$left" -type l -printf '%P\n')" "data/outside"
  note "Wine left the link data/outside in the extraction folder"
  rm -rf "$left"
done
finish
rm -f "$users/Desktop/fault-suite-canary.txt"

begin "single top folder named like its own entry" "flattened one level only" "$client_rel"
fresh_client
job "$client_win" repair "$base/self-named.zip"
expect_complete
expect "layout" "$(cd "$client" && find Client y.txt -type f | LC_ALL=C sort | tr '\n' ' ')" "Client/deep/z.txt Client/x.txt y.txt "
finish

# Past 260 characters the plain Win32 layer gives up; every path the job hands the system is in
# the \\?\ form, so the deepest file is repaired like any other.
begin "very deep nesting (past 600 characters)" "completes with the deepest file" "$client_rel"
fresh_client
job "$client_win" repair "$base/deep.zip"
expect_complete
expect "deep file" "$(find "$client" -name deep.txt -exec cat {} \;)" "fixture file $(python3 -c 'print("/".join("nested-folder-%06d" % i for i in range(30)))')/deep.txt"
finish

begin "Unicode, apostrophe and typographic-quote names" "completes with every name exact" "$client_rel"
fresh_client
job "$client_win" repair "$base/unicode.zip"
expect_complete
missing=0
while read -r path; do [ -e "$client/$path" ] || missing=$((missing + 1)); done < <(python3 "$fixtures/make_package.py" --list unicode)
expect "every name present" "$missing" "0"
finish

echo "#### links and whole files"
# A canary folder outside the client (and inside the snapshot): links and hard links in the cases
# below lead to it, and it must come out exactly as it went in, with nothing of it in the client.
rm -rf "$canary"
mkdir -p "$canary/inner"
echo "canary file" >"$canary/canary-file.txt"
echo "canary inner" >"$canary/inner/canary-inner.txt"
echo "canary mod bytes" >"$canary/canary-mod.pak"
canary_state() { (cd "$canary" && find . -printf '%P %y %s\n' -type f -exec sha256sum {} \;) | LC_ALL=C sort; }
canary_before=$(canary_state)
canary_kept() {
  expect "canary unchanged" "$(canary_state)" "$canary_before"
  expect "nothing of the canary in the client" "$(find "$client" -name 'canary*' | head -n 3)" ""
}
# Wine's RemoveDirectoryW follows a link to a folder and so cannot remove it; the extraction
# folder then keeps that link alone, never anything it points at.
link_leftovers() { # LINK (relative to the extraction folder)
  for left in "$users/Temp"/VlmQuorvinRepair_*; do
    [ -e "$left" ] || continue
    expect "only the link left behind" "$(find "$left" -mindepth 1 ! -type d ! -type l | head -n 3)" ""
    expect "the link itself" "$(find "$left" -type l -printf '%P\n')" "$1"
    note "Wine left the link $1 in the extraction folder"
    rm -rf "$left"
  done
}

begin "a nested folder link in the package" "the link neither copied nor entered; the rest repaired" "$client_rel"
fresh_client
job "$client_win" repair "$base/link-nested.zip"
expect_complete
expect "package files" "$(cd "$client" && find . -type f ! -name '*.exe' ! -name settings.ini | LC_ALL=C sort | tr '\n' ' ')" "./data/a.pak ./readme.txt "
expect "no link in the client" "$([ -e "$client/data/outside" ] || [ -L "$client/data/outside" ] && echo there)" ""
link_leftovers data/outside
canary_kept
finish

begin "a single top-level folder link" "not flattened, nothing moved out of the folder it names; the package then holds no client file" "$client_rel"
fresh_client
job "$client_win" repair "$base/link-top.zip"
expect_failure "The package holds no client files."
expect "nothing copied" "$(cat "$client/readme.txt")" "stale"
link_leftovers Client
canary_kept
finish

begin "a hard-linked client file" "replaced as an entry; the other link's file keeps its bytes" "$client_rel"
fresh_client
mkdir -p "$client/data"
ln "$canary/canary-mod.pak" "$client/data/a.pak"
job "$client_win" repair "$base/flat.zip"
expect_complete
expect "client file repaired" "$(head -n 1 "$client/data/a.pak")" "fixture file data/a.pak"
expect "links parted" "$(stat -c %h "$canary/canary-mod.pak")" "1"
canary_kept
finish

begin "a stop during a long copy" "ends within 1 s; the old file whole; no partial copy left" "$client_rel"
fresh_client
echo "old big" >"$client/big.pak"
job "$client_win" repair "$base/big.zip" --stop-at files --stop-after 30
note "stop to end ${job_stop_ms:-?} ms"
expect "ended within a second" "$([ -n "$job_stop_ms" ] && [ "$job_stop_ms" -lt 1000 ] && echo yes)" "yes"
expect "old file whole" "$(cat "$client/big.pak")" "old big"
expect "no partial copy" "$(find "$client" -name '*~repair.partial')" ""
finish

echo "#### client folder"
# Windows refuses to move a file over a read-only one; the copy then clears the attribute and
# moves again, so the file is repaired wherever it runs.
begin "read-only target file" "repaired, and read-only no more" "$client_rel"
fresh_client
chmod a-w "$client/readme.txt"
job "$client_win" repair "$base/flat.zip"
expect_complete
expect "repaired" "$(cat "$client/readme.txt")" "fixture file readme.txt"
expect "owner may write" "$(stat -c %A "$client/readme.txt" | cut -c3)" w
chmod u+w "$client/readme.txt"
finish

begin "a folder where the package has a file" "the file is named in the failure; the folder's content kept" "$client_rel"
fresh_client
rm -f "$client/readme.txt"
mkdir -p "$client/readme.txt"
echo "mine" >"$client/readme.txt/keep.txt"
job "$client_win" repair "$base/flat.zip"
expect_failure "Could not repair this file: readme.txt"
expect "folder content kept" "$(cat "$client/readme.txt/keep.txt")" "mine"
finish

begin "a file held open without sharing" "the file is named in the failure; the holder's file intact" "$client_rel"
fresh_client
rm -f "$out/held"
# Started directly, not through run(): a function in the background is a subshell, and its pid
# is not the holder's. A holder left alive keeps Wine's desktop, and with it the standard
# handles of the next test's program, open.
"$here/../../cmake/wine-run.sh" "$wine_root" "$holder" "$client_win\\readme.txt" \
  "Z:${out//\//\\}\\held" </dev/null >/dev/null 2>&1 &
holder_pid=$!
for _ in $(seq 100); do [ -e "$out/held" ] && break; sleep 0.1; done
job "$client_win" repair "$base/flat.zip"
kill "$holder_pid" 2>/dev/null
wait "$holder_pid" 2>/dev/null
expect "holder ended" "$(pgrep -f 'file_holder\.exe.*Fault Client' >/dev/null && echo running)" ""
expect_failure "Could not repair this file: readme.txt"
untouched
expect "no partial copy" "$(find "$client" -name '*~repair.partial')" ""
finish

odd_rel="Games/Tom’s ‘Velmora’ O'Brien Ü 日本"
begin "client folder named with Unicode and quotes" "completes; the tool and the user's file kept" "$odd_rel"
fresh_client "$drive_c/$odd_rel"
job "C:\\Games\\Tom’s ‘Velmora’ O'Brien Ü 日本" repair "$base/flat.zip"
expect_complete
expect "repaired" "$(cat "$drive_c/$odd_rel/readme.txt")" "fixture file readme.txt"
expect "user file kept" "$(cat "$drive_c/$odd_rel/settings.ini")" "user settings"
finish
rm -rf "$drive_c/$odd_rel"

deep_rel="Games/Fault Client"
segment="A folder with quite a long name to make the whole path long"
for _ in 1 2 3 4 5; do deep_rel="$deep_rel/$segment"; done
begin "client folder path past 260 characters" "completes" "$client_rel"
fresh_client "$drive_c/$deep_rel"
job "C:\\${deep_rel//\//\\}" repair "$base/flat.zip"
expect_complete
expect "repaired" "$(cat "$drive_c/$deep_rel/readme.txt")" "fixture file readme.txt"
finish
rm -rf "$client"

odd_temp_rel="users/$user/Temp/Ü ’s O'Temp 日本"
begin "temporary folder named with Unicode and quotes" "completes; the temporary folder left empty" "$client_rel"
mkdir -p "$drive_c/$odd_temp_rel"
fresh_client
before=$(snapshot "$client_rel")
TEMP="C:\\${odd_temp_rel//\//\\}" TMP="C:\\${odd_temp_rel//\//\\}" job "$client_win" repair "$base/flat.zip"
expect_complete
expect "nothing left in it" "$(ls -A "$drive_c/$odd_temp_rel" | wc -l | tr -d ' ')" "0"
finish
rm -rf "$drive_c/$odd_temp_rel"

echo "#### planted DLLs and programs, temporary folder, empty and waiting extractors"
# Wine told to prefer a DLL in the program's folder, as Windows does for any DLL that is not a
# known system DLL. A marker DLL leaves <name>.loaded beside itself when loaded.
plant_dlls() { for dll in winhttp bcrypt gdiplus; do cp "$marker_dll" "$1/$dll.dll"; done; }
loaded_markers() { find "$1" -maxdepth 1 -name '*.loaded' -printf '%f ' 2>/dev/null; }
begin "winhttp, bcrypt and gdiplus DLLs planted beside the tool" "repair completes; no planted DLL loaded" "$client_rel"
fresh_client
plant_dlls "$client"
WINEDLLOVERRIDES="winhttp,bcrypt,gdiplus=n,b" job "$client_win" repair "$base/flat.zip"
expect_complete
expect "planted DLLs loaded" "$(loaded_markers "$client")" ""
finish

begin "the same DLLs beside Fettle.exe and Uninstall.exe" "both start and end; no planted DLL loaded" "$client_rel"
fresh_client
plant_dlls "$client"
cp "$fettle" "$client/Fettle.exe"
cp "$uninstall" "$client/Uninstall.exe"
for program in Fettle Uninstall; do
  # No display here: each loads GDI+, finds no screen for its window and ends.
  DISPLAY= WINEDLLOVERRIDES="winhttp,bcrypt,gdiplus=n,b" \
    timeout 60 "$here/../../cmake/wine-run.sh" "$wine_root" "$client_win\\$program.exe" >/dev/null 2>&1 </dev/null
  note "$program exit $?"
done
expect "planted DLLs loaded" "$(loaded_markers "$client")" ""
finish

begin "a stray tar.exe beside the tool and in the current folder" "the system's tar.exe runs; the stray one never" "$client_rel"
fresh_client
cp "$patcher" "$client/tar.exe"
mkdir -p "$out/cwd"
cp "$patcher" "$out/cwd/tar.exe"
rm -f "$out/stray.log"
: >"$out/extractors.log"
pushd "$out/cwd" >/dev/null  # Wine's current folder is the Unix one, as Z:
PARCELWRIGHT_PATCHER_LOG="$out/stray.log" PARCELWRIGHT_STANDIN_LOG="$out/extractors.log" job "$client_win" repair "$base/flat.zip"
popd >/dev/null
expect_complete
expect "stray tar.exe started" "$(cat "$out/stray.log" 2>/dev/null)" ""
expect "the system's tar.exe extracted" "$(cut -f1 "$out/extractors.log" | tr '\n' ' ')" "tar.exe "
finish

begin "no tar.exe in the system, a stray one beside the tool" "Expand-Archive extracts; the stray tar.exe never runs" "$client_rel"
fresh_client
cp "$patcher" "$client/tar.exe"
rm -f "$out/stray.log"
: >"$out/extractors.log"
"$fixtures/standins/install-system-standins.sh" "$wine_root/prefix" --remove-tar
PARCELWRIGHT_PATCHER_LOG="$out/stray.log" PARCELWRIGHT_STANDIN_LOG="$out/extractors.log" job "$client_win" repair "$base/flat.zip"
"$fixtures/standins/install-system-standins.sh" "$wine_root/prefix" --restore-tar "$extractor"
expect_complete
expect "stray tar.exe started" "$(cat "$out/stray.log" 2>/dev/null)" ""
expect "extractors started" "$(cut -f1 "$out/extractors.log" | tr '\n' ' ')" "powershell.exe "
finish

begin "TEMP and TMP inside the game folder" "the reinstall fails before downloading; the save file kept" "$client_rel"
fresh_client
echo "the player's save" >"$client/save.dat"
mkdir -p "$client/tmp"
# Wine takes TEMP and TMP from the Windows environment: set them in cmd, as a player's would be.
printf '@echo off\r\nset "TEMP=%s\\tmp"\r\nset "TMP=%s\\tmp"\r\n"%s\\Fettle.exe" reinstall %s\r\n' \
  "$client_win" "$client_win" "$client_win" "$base/flat.zip" >"$out/temp-inside.bat"
run cmd /c "Z:${out//\//\\}\\temp-inside.bat" >"$out/job.out" 2>/dev/null </dev/null
job_out=$(tr -d '\r' <"$out/job.out")
note "\"$(sed -n 1p <<<"$job_out")\" / \"$(sed -n 2p <<<"$job_out")\""
expect "status" "$(sed -n 1p <<<"$job_out")" "Repair failed."
expect "message" "$(sed -n 2p <<<"$job_out")" "The temporary folder is missing or inside the game folder. Set TEMP to another folder and try again."
expect "save kept" "$(cat "$client/save.dat" 2>/dev/null)" "the player's save"
expect "nothing in the temporary folder" "$(ls -A "$client/tmp" 2>/dev/null | wc -l | tr -d ' ')" "0"
untouched
finish

begin "an extractor that reports success having extracted nothing" "the reinstall fails; nothing wiped" "$client_rel"
fresh_client
PARCELWRIGHT_STANDIN_EXIT_TAR=0 job "$client_win" reinstall "$base/flat.zip"
expect_failure "The package holds no client files."
untouched
expect "the tool kept" "$([ -f "$client/Fettle.exe" ] && echo yes)" "yes"
finish

begin "an extractor that reads its input until it ends" "it meets the end at once; the repair completes" "$client_rel"
fresh_client
mkfifo "$out/never.fifo"
sleep 300 >"$out/never.fifo" &
holder_of_input=$!
start_ms=$(($(date +%s%N) / 1000000))
PARCELWRIGHT_STANDIN_READ_INPUT=1 timeout 120 "$here/../../cmake/wine-run.sh" "$wine_root" "$client_win\\Fettle.exe" repair "$base/flat.zip" \
  <"$out/never.fifo" >"$out/job.out" 2>/dev/null
job_code=$?
took_ms=$(($(date +%s%N) / 1000000 - start_ms))
kill "$holder_of_input" 2>/dev/null
wait "$holder_of_input" 2>/dev/null
rm -f "$out/never.fifo"
job_out=$(tr -d '\r' <"$out/job.out")
job_status=$(sed -n 1p <<<"$job_out")
note "\"$job_status\"; ${took_ms} ms"
expect_complete
finish

echo "#### safety"
mkdir -p "$out/qdrive/ab"
ln -sfn "$out/qdrive" "$wine_root/prefix/dosdevices/q:"
mkdir -p "$drive_c/Games/Link Source"
ln -sfn "$users/Desktop" "$drive_c/Games/Via Link"
# A place that holds the temporary folder fails the job before it downloads, with that message.
temp_inside="The temporary folder is missing or inside the game folder. Set TEMP to another folder and try again."
safety_places=("a drive root|C:||$temp_inside"
  "a 5-character path|Q:\\ab|$out/qdrive/ab"
  "the Desktop|C:\\users\\$user\\Desktop|$users/Desktop"
  "Documents|C:\\users\\$user\\Documents|$users/Documents"
  "Downloads|C:\\users\\$user\\Downloads|$users/Downloads"
  "a link to the Desktop|C:\\Games\\Via Link|$users/Desktop"
  "AppData|C:\\users\\$user\\AppData|$users/AppData"
  "Local AppData|C:\\users\\$user\\AppData\\Local|$users/AppData/Local"
  "the profile folder|C:\\users\\$user|$users|$temp_inside")
for row in "${safety_places[@]}"; do
  IFS='|' read -r name win unix refusal <<<"$row"
  [ -n "$unix" ] || unix="$drive_c"
  [ -n "$refusal" ] || refusal="Safety check failed. Reinstall can only run from inside the game client folder."
  mkdir -p "$unix"
  begin "reinstall from $name" "refused; nothing removed" "__none__"
  echo "keep" >"$unix/fault-suite-canary.txt"
  cp "$headless" "$unix/Fettle.exe"
  before=$(snapshot "__none__")
  job "$win" reinstall "$base/flat.zip"
  expect "status" "$job_status" "Repair failed."
  expect "message" "$job_detail" "$refusal"
  expect "canary kept" "$(cat "$unix/fault-suite-canary.txt" 2>/dev/null)" "keep"
  finish
  begin "uninstall from $name" "refused; no helper started" "__none__"
  cp "$headless_uninstall" "$unix/Uninstall.exe"
  before=$(snapshot "__none__")
  : >"$out/cleanup.log"
  run "$win\\Uninstall.exe" >"$out/uninstall.out" 2>/dev/null </dev/null
  result=$(tr -d '\r' <"$out/uninstall.out")
  note "\"$result\""
  expect "refused" "$result" "Safety check failed. This uninstaller can only remove its own game folder."
  expect "no helper" "$(wc -l <"$out/cleanup.log" | tr -d ' ')" "0"
  finish
  rm -f "$unix/Fettle.exe" "$unix/Uninstall.exe" "$unix/fault-suite-canary.txt"
done
rm -f "$wine_root/prefix/dosdevices/q:" "$drive_c/Games/Via Link"
rm -rf "$drive_c/Games/Link Source"

begin "uninstall closed before its timer" "the helper is ended with exit code 1; nothing removed" "$client_rel"
fresh_client
cp "$headless_uninstall" "$client/Uninstall.exe"
: >"$out/cleanup.log"
run "$client_win\\Uninstall.exe" --close >"$out/uninstall.out" 2>/dev/null </dev/null
result=$(tr -d '\r' <"$out/uninstall.out" | tr '\n' ' ')
sleep 2
note "\"$result\""
expect "helper ended" "$result" "started helper exit: 1 "
expect "folder kept" "$(cat "$client/settings.ini" 2>/dev/null)" "user settings"
expect "nothing removed by the helper" "$(grep -c '^removed' "$out/cleanup.log")" "0"
finish

echo "#### stops"
for row in "download|${base%/faults}/slow/faults/many.zip?chunk=65536&delay_ms=100||" \
  "verify|$base/big.zip|--sha256|$big_sha" \
  "extract|$base/flat.zip||" \
  "files|$base/many.zip||" \
  "finish|$base/flat.zip||"; do
  IFS='|' read -r stage url option value <<<"$row"
  begin "a stop during $stage" "the job ends within 5 s; no temporary file left" "$client_rel"
  fresh_client
  extra=()
  [ -n "$option" ] && extra=("$option" "$value")
  sleep_ms=""
  [ "$stage" = extract ] && sleep_ms=60000
  PARCELWRIGHT_STANDIN_SLEEP_MS=$sleep_ms job "$client_win" repair "$url" "${extra[@]}" --stop-at "$stage" --stop-after 100
  note "stop to end ${job_stop_ms:-?} ms"
  if [ -n "$job_stop_ms" ]; then
    expect "ended promptly" "$([ "$job_stop_ms" -lt 5000 ] && echo yes)" "yes"
  else
    expect "the job had already ended" "$job_code" "0"
  fi
  expect "no extractor left" "$(pgrep -f 'tar\.exe.*-xf' >/dev/null && echo running)" ""
  finish
done
rm -rf "$client" "$canary"

{
  echo "| Case | Must show | Observed | Result |"
  echo "|---|---|---|---|"
  printf '%s\n' "${rows[@]}"
} >"$out/results.md"
cat "$out/results.md"
echo "fault suite: $((${#rows[@]} - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
