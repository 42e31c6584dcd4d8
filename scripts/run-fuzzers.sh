#!/usr/bin/env bash
# Builds every libFuzzer target under fuzz/ and runs each for the given number of seconds
# (default 20) over a scratch copy of its seed corpus in fuzz/corpus/<target>/.
# Exits non-zero when any target finds a crash; the crashing input is left in build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILLET_FUZZ=ON -DQUILLET_TESTS=OFF -DQUILLET_WERROR=ON -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz -j "$(nproc)"

shopt -s nullglob
status=0
for exe in build/fuzz/fuzz/*/fuzz_*; do
    [ -f "$exe" ] && [ -x "$exe" ] || continue
    name=$(basename "$exe")
    work="build/fuzz/corpus/$name"
    mkdir -p "$work"
    if [ -d "fuzz/corpus/$name" ]; then
        cp -r "fuzz/corpus/$name/." "$work/"
    fi
    echo "== fuzzing $name for ${seconds}s"
    if ! (cd build/fuzz && "../../$exe" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
            -print_final_stats=0 "corpus/$name" >"fuzz-$name.log" 2>&1); then
        echo "!! $name failed; see build/fuzz/fuzz-$name.log"
        tail -40 "build/fuzz/fuzz-$name.log"
        status=1
    else
        grep -E '^(Done|#[0-9]+ +DONE)' "build/fuzz/fuzz-$name.log" | tail -1 || true
    fi
done
exit $status
