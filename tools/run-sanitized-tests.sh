#!/bin/sh
# Runs every test of a build configured with -DHALVERA_SANITIZE=ON and fails
# when a test fails or when any process of the run, a test or a program it
# started, made a sanitizer report.
# Usage: tools/run-sanitized-tests.sh BUILD_DIR JOBS
#
# The address sanitizer's reports (memory faults, leaks) are written to files
# (BUILD_DIR/sanitizer-reports/, printed at the end) rather than to standard
# error: the tests start halvera and halvera-cli as child processes whose
# error output they capture or discard, and a report there, in a run whose
# exit status the test expects to be non-zero anyway, would go unseen.
# GCC's undefined-behaviour runtime, a library of its own, ignores log_path
# beside the address sanitizer and reports to standard error; it stops the
# process too (-fno-sanitize-recover), which fails the test, and its reports
# in the tests' output are looked for in ctest's log as well.
set -eu

if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_DIR JOBS" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
jobs=$2
root=$(cd "$(dirname "$0")/.." && pwd)
reports="$build/sanitizer-reports"

if ! grep -q '^HALVERA_SANITIZE:BOOL=ON$' "$build/CMakeCache.txt" 2>/dev/null; then
    echo "$build is not a sanitized build: configure it with -DHALVERA_SANITIZE=ON" >&2
    exit 2
fi
rm -rf "$reports"
mkdir -p "$reports"

# detect_leaks: memory a test or program loses is a fault too; the
# suppressions name the third-party libraries that keep memory to the end on
# purpose (see the file). check_initialization_order and
# detect_stack_use_after_return catch what the defaults let pass.
ASAN_OPTIONS="log_path=$reports/asan:halt_on_error=1:detect_leaks=1"
ASAN_OPTIONS="$ASAN_OPTIONS:check_initialization_order=1:detect_stack_use_after_return=1"
LSAN_OPTIONS="suppressions=$root/tools/lsan-suppressions.txt:print_suppressions=0"
UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS

status=0
ctest --test-dir "$build" --progress --output-on-failure -j "$jobs" || status=1

log="$build/Testing/Temporary/LastTest.log"
if grep -q "runtime error:" "$log"; then
    grep -n "runtime error:" "$log" >&2
    echo "undefined behaviour reported: see $log" >&2
    status=1
fi
if [ -n "$(ls -A "$reports")" ]; then
    for report in "$reports"/*; do
        echo "=== $report" >&2
        cat "$report" >&2
    done
    echo "sanitizer reports: $(ls "$reports" | wc -l), in $reports" >&2
    status=1
fi
exit "$status"
