#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
# SHELLFEM_SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
build="$root/build"
flags=()
if [ "${SHELLFEM_SANITIZE:-0}" = 1 ]; then
  build="$root/build-sanitize"
  flags+=(-DSHELLFEM_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
cmake -S "$root" -B "$build" "${flags[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"
cd "$build" && ctest --output-on-failure -j "$(nproc)"
