#!/usr/bin/env bash
# Signs a program in place: sign.sh OSSLSIGNCODE PFX EXE [TIMESTAMP_URL]
# The password comes from PARCELWRIGHT_SIGN_PASSWORD, read now (at build time), and reaches
# osslsigncode through a pipe (-readpass on a process substitution, printf being a shell
# builtin): never on a command line, in the CMake cache, a file or the build log. An empty one
# is not passed at all, as osslsigncode refuses an empty password file.
set -euo pipefail
tool=$1 pfx=$2 exe=$3 timestamp=${4:-}
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
[ -n "$timestamp" ] && options+=(-ts "$timestamp") # RFC 3161
rm -f "$exe.signed"
if [ -n "$PARCELWRIGHT_SIGN_PASSWORD" ]; then
  output=$("$tool" "${options[@]}" -readpass <(printf '%s' "$PARCELWRIGHT_SIGN_PASSWORD") \
    -in "$exe" -out "$exe.signed" 2>&1) && signed=1 || signed=0
else
  output=$("$tool" "${options[@]}" -in "$exe" -out "$exe.signed" 2>&1) && signed=1 || signed=0
fi
if [ $signed = 0 ]; then
  rm -f "$exe.signed"
  echo "Signing $name failed (a wrong PARCELWRIGHT_SIGN_PASSWORD for '$pfx', not a PKCS#12" \
    "file, or a time-stamp server that did not answer); osslsigncode said:" >&2
  echo "$output" | sed 's/^/  /' >&2
  exit 1
fi
mv -f "$exe.signed" "$exe"
