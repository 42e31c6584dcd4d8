#!/usr/bin/env bash
# Installs what is missing, builds the test configuration (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test, then builds the fuzz targets and runs
# each one for a short, bounded time over its committed seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLET_SANITIZE=ON -DQUILLET_TESTS=ON
cmake --build build/test -j "$jobs"
(cd build/test && ctest --output-on-failure -j "$jobs")

# Fuzz targets: clang + libFuzzer, each run for FUZZ_SECONDS (default 20) on a copy of its corpus.
if [ "${QUILLET_SKIP_FUZZ:-0}" != "1" ]; then
    bash scripts/run-fuzzers.sh "${FUZZ_SECONDS:-20}"
fi
