#!/usr/bin/env bash
# Signs a build with a throwaway certificate made here with openssl, in build/signing: both
# programs are built signed, both signatures and that of the Uninstall.exe embedded in Fettle.exe
# (RCDATA 203, taken out with python3-pefile) are verified, the password is looked for in every
# file of the build, a certificate file without a password signs with the password left empty,
# and a wrong password and an unreadable certificate file must stop the build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=${PARCELWRIGHT_BUILD_JOBS:-2}
root=$PWD/build/signing
build=$root/build
rm -rf "$root"
mkdir -p "$root"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

export PARCELWRIGHT_SIGN_PASSWORD="throwaway-$RANDOM-$RANDOM"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Parcelwright Test Publisher" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$root/key.pem" -out "$root/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$root/key.pem" -in "$root/cert.pem" -out "$root/test.pfx" \
  -passout env:PARCELWRIGHT_SIGN_PASSWORD
rm "$root/key.pem"

started=$SECONDS
cmake -S . -B "$build" -G Ninja --toolchain "$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DPARCELWRIGHT_SIGN_PFX="$root/test.pfx" >/dev/null
cmake --build "$build" --parallel "$jobs" --target Fettle Uninstall >"$root/build.log"
echo "signed build in $((SECONDS - started)) s"

verify() {
  if osslsigncode verify -CAfile "$root/cert.pem" -in "$1" >"$root/verify.log" 2>&1; then
    echo "$2: signature verified"
  else
    fail "$2: signature not verified:"; cat "$root/verify.log"
  fi
}
verify "$build/bin/Uninstall.exe" Uninstall.exe
verify "$build/bin/Fettle.exe" Fettle.exe
/usr/bin/python3 - "$build/bin/Fettle.exe" "$root/embedded-Uninstall.exe" <<'PY'
import sys, pefile
pe = pefile.PE(sys.argv[1])
rcdata = next(e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries if e.id == 10)
entry = next(e for e in rcdata.directory.entries if e.id == 203)
data = entry.directory.entries[0].data.struct
open(sys.argv[2], "wb").write(pe.get_data(data.OffsetToData, data.Size))
PY
verify "$root/embedded-Uninstall.exe" "the Uninstall.exe embedded in Fettle.exe"
cmp -s "$root/embedded-Uninstall.exe" "$build/bin/Uninstall.exe" ||
  fail "the embedded Uninstall.exe is not the signed one"
if grep -rlF -- "$PARCELWRIGHT_SIGN_PASSWORD" "$build" "$root"/*.log; then
  fail "the password is written in the files above"
fi

# expect_stop WHAT MESSAGE: a relink of Uninstall.exe must fail and say MESSAGE.
expect_stop() {
  rm -f "$build/bin/Uninstall.exe"
  if cmake --build "$build" --target Uninstall >"$root/stop.log" 2>&1; then
    fail "$1: the build went on"
  elif grep -qF -- "$2" "$root/stop.log"; then
    echo "$1: the build stopped with: $(grep -F -- "$2" "$root/stop.log" | head -n1)"
  else
    fail "$1: the build stopped without saying why:"; cat "$root/stop.log"
  fi
}
PARCELWRIGHT_SIGN_PASSWORD=wrong expect_stop "wrong password" "Signing Uninstall.exe failed"

# A certificate file without a password, signed with the password left empty.
openssl pkcs12 -export -in "$root/cert.pem" -inkey <(openssl pkcs12 -in "$root/test.pfx" -nodes \
  -nocerts -passin env:PARCELWRIGHT_SIGN_PASSWORD 2>/dev/null) -out "$root/open.pfx" -passout pass:
cmake -DPARCELWRIGHT_SIGN_PFX="$root/open.pfx" "$build" >/dev/null
rm -f "$build/bin/Uninstall.exe"
if PARCELWRIGHT_SIGN_PASSWORD='' cmake --build "$build" --target Uninstall >"$root/open.log" 2>&1; then
  verify "$build/bin/Uninstall.exe" "Uninstall.exe signed with a certificate file without a password"
else
  fail "a certificate file without a password and an empty password:"; cat "$root/open.log"
fi
cmake -DPARCELWRIGHT_SIGN_PFX="$root/missing.pfx" "$build" >/dev/null
expect_stop "unreadable certificate file" "cannot read the certificate file"

[ "$failures" -eq 0 ] && echo "Signing: both programs and the embedded uninstaller verified."
[ "$failures" -eq 0 ]
