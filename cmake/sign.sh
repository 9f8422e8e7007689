#!/usr/bin/env bash
# Signs a program in place with osslsigncode: sign.sh PFX EXE [TIMESTAMP_URL]
# The password comes from PARCELWRIGHT_SIGN_PASSWORD, read now (at build time), and reaches
# osslsigncode through a pipe (-readpass on a process substitution, printf being a shell
# builtin): never on a command line, in the CMake cache, a file or the build log.
set -euo pipefail
pfx=$1 exe=$2 timestamp=${3:-}
name=$(basename "$exe")
if [ ! -r "$pfx" ] || [ -d "$pfx" ]; then
  echo "Signing $name: cannot read the certificate file '$pfx' (PARCELWRIGHT_SIGN_PFX)." >&2
  exit 1
fi
if [ -z "${PARCELWRIGHT_SIGN_PASSWORD+set}" ]; then
  echo "Signing $name: set PARCELWRIGHT_SIGN_PASSWORD in the environment of the build" \
    "(empty for a certificate file without a password)." >&2
  exit 1
fi
options=(sign -pkcs12 "$pfx" -h sha256)
[ -n "$timestamp" ] && options+=(-t "$timestamp")
rm -f "$exe.signed"
if ! output=$(osslsigncode "${options[@]}" -readpass <(printf '%s' "$PARCELWRIGHT_SIGN_PASSWORD") \
  -in "$exe" -out "$exe.signed" 2>&1); then
  rm -f "$exe.signed"
  echo "Signing $name failed: wrong PARCELWRIGHT_SIGN_PASSWORD for '$pfx', not a PKCS#12" \
    "file, or the time-stamp server did not answer. osslsigncode said:" >&2
  echo "$output" | sed 's/^/  /' >&2
  exit 1
fi
mv -f "$exe.signed" "$exe"
