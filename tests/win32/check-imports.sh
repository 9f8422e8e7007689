#!/usr/bin/env bash
# check-imports.sh OBJDUMP PROGRAM...: fails when a program's import table names any DLL but the
# known system DLLs Windows loads from System32 alone (and comctl32, which the manifest binds to
# its side-by-side copy), or when it is not a GUI program. Every other DLL must be delay-loaded,
# after the program has limited DLL loading to System32.
set -euo pipefail
objdump=$1
shift
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|shlwapi|msvcrt|ws2_32|rpcrt4|imm32|comctl32)\.dll$'
status=0
for program in "$@"; do
  dump=$("$objdump" -p "$program")
  imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
  [ -n "$imports" ] || { echo "$(basename "$program"): no import table found"; status=1; }
  while read -r dll; do
    [ -n "$dll" ] || continue
    if ! grep -qiE "$allowed" <<<"$dll"; then
      echo "$(basename "$program") imports $dll, which Windows would also look for in the program's folder"
      status=1
    fi
  done <<<"$imports"
  if ! grep -qE 'Subsystem\s+00000002' <<<"$dump"; then
    echo "$(basename "$program") is not a GUI (windows subsystem) program"
    status=1
  fi
  echo "$(basename "$program"): $(tr '\n' ' ' <<<"$imports")"
done
exit $status
