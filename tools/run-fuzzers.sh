#!/bin/sh
# Runs every fuzz target for SECONDS on a working copy of its seed corpus and
# fails when any of them finds a crash, a leak or undefined behaviour.
# Usage: tools/run-fuzzers.sh BUILD_DIR SECONDS
# Working corpora, logs and crash inputs go to fuzz-corpus-work/ (not versioned);
# a crash input belongs in a regression test under tests/image/.
set -eu

if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_DIR SECONDS" >&2
    exit 2
fi
build=$1
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
work="$root/fuzz-corpus-work"

failed=""
for target in fuzz_bmp fuzz_reference fuzz_jpeg fuzz_png fuzz_tiff; do
    binary="$build/fuzz/$target"
    if [ ! -x "$binary" ]; then
        echo "$binary is missing: build with -DHALVERA_FUZZ=ON first" >&2
        exit 2
    fi
    corpus="$work/$target"
    crashes="$work/crashes/$target"
    log="$work/$target.log"
    mkdir -p "$corpus" "$crashes"
    cp "$root/fuzz/corpus/$target/"* "$corpus/"
    # Every seed once as a whole first: the fuzzing below cuts inputs to 8 KB.
    if ! "$binary" "$root/fuzz/corpus/$target/"* >"$log" 2>&1; then
        echo "$target: FAILED on a seed: see $log"
        failed="$failed $target"
        continue
    fi
    printf '%s: fuzzing for %ss... ' "$target" "$seconds"
    if "$binary" -max_total_time="$seconds" -max_len=8192 -timeout=30 \
        -artifact_prefix="$crashes/" "$corpus" >"$log" 2>&1; then
        echo "clean ($(tail -n 1 "$log"))"
    else
        echo "FAILED: see $log and $crashes/"
        failed="$failed $target"
    fi
done

if [ -n "$failed" ]; then
    echo "fuzzing found problems in:$failed" >&2
    exit 1
fi
