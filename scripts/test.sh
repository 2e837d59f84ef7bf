#!/usr/bin/env bash
# Sets everything up and runs every test: unit, widget and end-to-end tests on the normal
# build, then the unit and widget tests again on the sanitizer (ASan + UBSan) build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" --tests

status=0
echo "== tests (build/) =="
ctest --test-dir "$root/build" --output-on-failure || status=1
echo "== unit and widget tests under ASan + UBSan (build-asan/) =="
ctest --test-dir "$root/build-asan" --output-on-failure -L unit || status=1
exit $status
