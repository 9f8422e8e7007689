#!/usr/bin/env bash
# The profile checker on the faults a publisher makes, one broken copy of the shipped profile
# each, then one real configure that must stop on one of them:
#   check-profiles.sh CHECKER SOURCE_DIR SCRATCH [TOOLCHAIN]
set -euo pipefail
checker=$1 source=$2 scratch=$3 toolchain=${4:-}
rm -rf "$scratch"
mkdir -p "$scratch"
good="$source/resources/profiles/package.profile"
failures=0

# expect NAME SED_SCRIPT WANTED_FINDING: the checker must fail and print WANTED_FINDING.
expect() {
  local file="$scratch/$1.profile" output
  sed "$2" "$good" >"$file"
  if output=$("$checker" --quiet "$file" 2>&1); then
    echo "FAIL: $1: the checker accepted it"; failures=$((failures + 1)); return
  fi
  grep -qF -- "$file:$3" <<<"$output" || {
    echo "FAIL: $1: want '$file:$3' in:"; echo "$output"; failures=$((failures + 1)); }
}

"$checker" --quiet "$good" || { echo "FAIL: the shipped profile is refused"; failures=$((failures + 1)); }
expect unknown-key 's/^archiveUrl=/archiveURL=/' \
  "10: error: archiveURL: unknown key; did you mean 'archiveUrl'?"
expect flag 's/^offerDesktopShortcut=.*/offerDesktopShortcut=yes/' \
  "50: error: offerDesktopShortcut: flag value 'yes'"
expect short-hash "s/^archiveSha256=.*/archiveSha256=$(printf '%063d' 0)/" \
  "13: error: archiveSha256: has 63 hex digits"
expect accent 's/^accentHex=.*/accentHex=#12345G/' "21: error: accentHex: '#12345G'"
expect ftp 's|^archiveUrl=https://|archiveUrl= ftp://|' "10: error: archiveUrl: URL 'ftp://"
expect format '1s/.*/format=Parcelwright.v2\r/' "1: error: format: the first line"

if [ -n "$toolchain" ]; then
  # The configure itself stops, naming the file, the line and the key.
  if output=$(cmake -S "$source" -B "$scratch/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DBUILD_TESTING=OFF -DPARCELWRIGHT_PROFILE="$scratch/unknown-key.profile" 2>&1); then
    echo "FAIL: the configure went on with a bad profile"; failures=$((failures + 1))
  elif ! grep -qF "$scratch/unknown-key.profile:10: error: archiveURL" <<<"$output"; then
    echo "FAIL: the configure stopped without naming the fault:"; echo "$output"
    failures=$((failures + 1))
  fi
fi
[ "$failures" -eq 0 ] && echo "profile checks: all faults caught"
[ "$failures" -eq 0 ]
