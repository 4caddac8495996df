#!/bin/sh
# Builds the libFuzzer targets (clang, AddressSanitizer + UBSan) and runs each
# for SECONDS (default 60), seeded from the shared corpus when it is there.
set -e
cd "$(dirname "$0")/.."
seconds=${1:-60}
corpus=../shared/corpus
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
seed() {  # seed DIR PATTERN: copies matching corpus files (small ones) into DIR
    mkdir -p "$1"
    [ -d "$corpus" ] && find "$corpus" -type f -name "$2" -size -512k -exec cp {} "$1" \; 2>/dev/null || true
}
seed "$work/zip" '*.xlsx'
seed "$work/zip" '*.xlsm'
seed "$work/csv" '*.csv'
mkdir -p "$work/text" "$work/statements"
cp examples/*.txt "$work/statements/"
run() {  # run TARGET SEEDS: a crash, leak or hang fails the script with the fuzzer's report
    echo "== $1"
    if ! ./build-fuzz/fuzz/"$1" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=20 \
            -artifact_prefix="$work/" "$work/$2" >"$work/$1.log" 2>&1; then
        tail -n 60 "$work/$1.log"
        exit 1
    fi
    grep -E "^Done" "$work/$1.log"
}
run text_fuzz text
run zip_unpack_fuzz zip
run statements_fuzz statements
run data_source_fuzz csv
