#!/usr/bin/env bash
# Installs whatever Debian packages are missing (apt-get runs only then, so a second run is
# fast) and builds TolvexApp in build/. With --tests it also installs the test tools and
# builds the sanitizer builds: ASan + UBSan in build-asan/, ThreadSanitizer (the music engine
# and its test alone) in build-tsan/, and the fuzz targets of the input checks (clang, libFuzzer) in
# build-fuzz/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/packages.sh"

wanted="$BUILD_PACKAGES $RUN_PACKAGES"
[ "${1:-}" = "--tests" ] && wanted="$wanted $TEST_PACKAGES"

missing=()
for package in $wanted; do
  dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null | grep -qx installed || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build"
if [ "${1:-}" = "--tests" ]; then
  cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLVEX_SANITIZE=ON >/dev/null
  cmake --build "$root/build-asan"
  cmake -S "$root" -B "$root/build-tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLVEX_THREAD_SANITIZE=ON >/dev/null
  cmake --build "$root/build-tsan"
  CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLVEX_FUZZ=ON >/dev/null
  cmake --build "$root/build-fuzz"
fi
