#!/usr/bin/env bash
# Builds Fettle.exe and Uninstall.exe twice from the committed tree (HEAD), in two folders of
# different names under build/reproducible, one after the other, and checks that both builds give
# byte-identical programs. Unsigned builds only: a signature carries its own time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=${PARCELWRIGHT_BUILD_JOBS:-2}
root=$PWD/build/reproducible
rm -rf "$root"
commit=$(git rev-parse --short HEAD)

build_copy() {
  local source=$1 started=$SECONDS
  mkdir -p "$source"
  git archive "$commit" | tar -x -C "$source"
  (cd "$source" && cmake --preset win64 -DBUILD_TESTING=OFF -DPARCELWRIGHT_SIGN_PFX= >/dev/null &&
    cmake --build --preset win64 --parallel "$jobs" --target Fettle Uninstall >/dev/null)
  echo "built $commit in $source in $((SECONDS - started)) s"
}

build_copy "$root/first"
build_copy "$root/the-second-build"
same=0
for program in Fettle.exe Uninstall.exe; do
  a="$root/first/build/win64/bin/$program" b="$root/the-second-build/build/win64/bin/$program"
  if cmp -s "$a" "$b"; then
    echo "$program: identical ($(stat -c %s "$a") bytes, sha256 $(sha256sum "$a" | cut -c1-16)...)"
  else
    echo "$program: DIFFERS in $(cmp -l "$a" "$b" | wc -l) bytes, first at: $(cmp "$a" "$b" | cut -d' ' -f5-)"
    same=1
  fi
done
[ "$same" -eq 0 ] && echo "Reproducible: both builds of $commit gave the same programs."
exit "$same"
