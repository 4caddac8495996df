#!/bin/sh
# Builds everything and runs every test suite. With "asan" as argument, the
# AddressSanitizer/UndefinedBehaviorSanitizer build is tested instead.
set -e
cd "$(dirname "$0")/.."
preset=${1:-default}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j "$(nproc)"
