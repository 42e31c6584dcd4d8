#!/usr/bin/env bash
# Builds the release benchmark configuration and runs every benchmark under bench/ (the POP3
# one starts its own private Dovecot on 127.0.0.1, which needs root). Not part of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLET_BENCH=ON -DQUILLET_TESTS=OFF >/dev/null
cmake --build build/bench -j "$(nproc)"

for exe in build/bench/bench/*/bench_*; do
    [ -f "$exe" ] && [ -x "$exe" ] || continue
    echo "== $(basename "$exe")"
    "$exe" "$@"
done
