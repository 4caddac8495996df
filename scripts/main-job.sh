#!/bin/sh
# Builds the library and the tova command, then turns the bundled example into a workbook.
set -e
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build build --target tova
mkdir -p out
./build/tova new -o out/monthly_sales.xlsx < examples/monthly_sales.txt
