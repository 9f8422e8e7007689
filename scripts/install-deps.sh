#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need and this machine lacks. Safe to
# run again: it installs nothing that is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config git python3
  googletest
  clang libclang-rt-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64
  libcurl4-openssl-dev libssl-dev
  libarchive-tools p7zip-full
  xvfb xdotool imagemagick x11-utils fonts-liberation
  time curl openssl nginx-light
  osslsigncode python3-pefile
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
