#!/usr/bin/env bash
# Sets everything up, builds the Debian package, and runs every test: the format check, then
# unit, widget and end-to-end tests on the normal build (the package's among them), the unit
# and widget tests again under ASan + UBSan, the music engine's test under ThreadSanitizer, and a
# few seconds of each fuzz target of the input checks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" --tests
"$root/scripts/package.sh"

status=0
echo "== format (clang-format) =="
# Every C++ file of the source tree, found without git: a source tarball has no history.
(cd "$root" && find . \( -path './build*' -o -name .git \) -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 clang-format --dry-run -Werror) || status=1
echo "== tests (build/) =="
ctest --test-dir "$root/build" --output-on-failure || status=1
echo "== unit and widget tests under ASan + UBSan (build-asan/) =="
ctest --test-dir "$root/build-asan" --output-on-failure -L unit || status=1
echo "== the music engine under ThreadSanitizer (build-tsan/) =="
ctest --test-dir "$root/build-tsan" --output-on-failure || status=1
echo "== fuzz targets of the input checks, a few seconds each (build-fuzz/) =="
ctest --test-dir "$root/build-fuzz" --output-on-failure || status=1
exit $status
