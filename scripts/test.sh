#!/usr/bin/env bash
# Installs what is missing, builds the test configuration (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test, then builds the fuzz targets and runs
# each one for a short, bounded time over its committed seed corpus; last it checks that the
# translation catalogues hold every text, builds and checks the Debian package and compile-checks
# the Windows-only files.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLET_SANITIZE=ON -DQUILLET_TESTS=ON -DQUILLET_WERROR=ON
cmake --build build/test -j "$jobs"

ctest_log=build/test/ctest-summary.log
ctest_status=0
(cd build/test && ctest --output-on-failure -j "$jobs") 2>&1 | tee "$ctest_log" || ctest_status=$?
test_count=$(sed -n 's/.* tests failed out of \([0-9]*\).*/\1/p' "$ctest_log" | tail -1)
test_failed=$(sed -n 's/.*, \([0-9]*\) tests failed out of.*/\1/p' "$ctest_log" | tail -1)
test_count=${test_count:-0}
test_failed=${test_failed:-0}
if [ "$ctest_status" -ne 0 ] && [ "$test_failed" -eq 0 ]; then
    test_failed=1
fi

# Fuzz targets: clang + libFuzzer, each run for FUZZ_SECONDS (default 20) on a copy of its corpus.
fuzz_passed=0
fuzz_failed=0
if [ "${QUILLET_SKIP_FUZZ:-0}" != "1" ] && [ "$test_failed" -eq 0 ]; then
    fuzz_log=build/fuzz-summary.log
    mkdir -p build
    fuzz_status=0
    bash scripts/run-fuzzers.sh "${FUZZ_SECONDS:-20}" 2>&1 | tee "$fuzz_log" || fuzz_status=$?
    fuzz_passed=$(grep -c '^== fuzzing' "$fuzz_log" || true)
    fuzz_failed=$(grep -c '^!! ' "$fuzz_log" || true)
    fuzz_passed=$((fuzz_passed - fuzz_failed))
    if [ "$fuzz_status" -ne 0 ] && [ "$fuzz_failed" -eq 0 ]; then
        fuzz_failed=1 # the fuzz build itself failed
    fi
fi

# The translation catalogues, the Debian package and the Windows-only files: each script is one
# check, passed or failed.
checks_passed=0
checks_failed=0
count_check() {
    if "$@"; then
        checks_passed=$((checks_passed + 1))
    else
        checks_failed=$((checks_failed + 1))
    fi
}
count_check bash scripts/check-translations.sh
count_check bash scripts/check-package.sh
count_check bash scripts/check-windows-files.sh

passed=$((test_count - test_failed + fuzz_passed + checks_passed))
failed=$((test_failed + fuzz_failed + checks_failed))
echo "summary: ${passed} passed, ${failed} failed"
[ "$failed" -eq 0 ]
