#!/usr/bin/env bash
# Sets everything up and builds the Debian package build/tolvexapp_<version>_amd64.deb: a
# release build for /usr in build-deb/, packed by CPack's DEB generator, its dependencies
# found by dpkg-shlibdeps. Install it with: sudo apt install ./build/tolvexapp_*_amd64.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

# Debian's hardening flags (fortified functions, stack protector, read-only relocations).
export CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
export LDFLAGS="$(dpkg-buildflags --get LDFLAGS) -Wl,-z,now"
cmake -S "$root" -B "$root/build-deb" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$root/build-deb" --target TolvexApp tolvexwindow tolvexsynth tolvex_packaging_texts
(cd "$root/build-deb" && cpack -G DEB >/dev/null)
cp "$root"/build-deb/package/tolvexapp_*_amd64.deb "$root/build/"
ls "$root"/build/tolvexapp_*_amd64.deb
