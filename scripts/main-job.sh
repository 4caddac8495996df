#!/bin/sh
# Builds the library and the tova command, then runs the bundled statement
# file (fonts, fills, borders, formats, a merge, a validation list, a CSV load
# and formulas) into a workbook.
set -e
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build build --target tova
mkdir -p out
./build/tova run examples/monthly_report.txt -o out/monthly_report.xlsx
