#!/usr/bin/env bash
# Installs what is missing, builds Quillet (release configuration) and starts it.
# Without a display (no DISPLAY or WAYLAND_DISPLAY) it runs inside a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLET_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)" --target quillet

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a build/release/app/quillet "$@"
fi
exec build/release/app/quillet "$@"
