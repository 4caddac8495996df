#!/bin/sh
# Builds the library and the tova command, then runs the bundled example.
set -e
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build build --target tova
./build/tova version
./build/tova help | head -n 20
