#!/usr/bin/env bash
# check-imports.sh OBJDUMP PROGRAM...: fails when a program imports a DLL that is not part of
# Windows (a toolchain runtime such as libstdc++, libgcc_s or libwinpthread) or is not a GUI
# program.
set -euo pipefail
objdump=$1
shift
system_dlls='^(kernel32|user32|gdi32|gdiplus|comctl32|comdlg32|ole32|oleaut32|shell32|shlwapi|advapi32|winhttp|bcrypt|crypt32|msvcrt|ucrtbase|version|uxtheme|dwmapi|ws2_32|imm32|winmm|ntdll|api-ms-win-[a-z0-9-]+)\.dll$'
status=0
for program in "$@"; do
  dump=$("$objdump" -p "$program")
  while read -r dll; do
    if ! grep -qiE "$system_dlls" <<<"$dll"; then
      echo "$(basename "$program") imports $dll, which is not a Windows system DLL"
      status=1
    fi
  done < <(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
  if ! grep -qE 'Subsystem\s+00000002' <<<"$dump"; then
    echo "$(basename "$program") is not a GUI (windows subsystem) program"
    status=1
  fi
  echo "$(basename "$program"): $(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | tr '\n' ' ')"
done
exit $status
