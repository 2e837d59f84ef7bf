#!/usr/bin/env bash
# Sets everything up and starts the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
exec "$root/build/TolvexApp"
