#!/usr/bin/env bash
# Installs what is missing, builds Quillet (release configuration) and starts it.
# Without a display (no DISPLAY or WAYLAND_DISPLAY) it runs inside a virtual X server.
#
# When no account is set up yet, Quillet starts on a demo mailbox instead: a small POP3 server
# on 127.0.0.1 (quillet-demo-server) with 25 waiting messages and a new one every two minutes,
# and a throw-away settings folder holding one account for it. Both go away when Quillet ends;
# the user's own settings are not touched. QUILLET_DEMO=0 starts Quillet without the demo, to set
# up a first account of one's own.
set -euo pipefail
cd "$(dirname "$0")/.."

bin=build/release/app/quillet
demo_bin=build/release/demo/quillet-demo-server

# True when the settings file Ini names at least one account: "Count" in [Accounts] above 0,
# read the way Quillet reads its settings file (section and key names in any case, the first
# matching key wins, blanks and one pair of quotes around the value dropped, decimal or 0x hex
# within 32 bits).
has_accounts() {
    [ -f "$1" ] || return 1
    awk '
        NR == 1 { sub(/^\357\273\277/, "") }
        {
            sub(/\r$/, "")
            line = $0
            gsub(/^[ \t]+|[ \t]+$/, "", line)
        }
        substr(line, 1, 1) == "[" && index(line, "]") > 0 {
            section = tolower(substr(line, 2, index(line, "]") - 2))
            gsub(/^[ \t]+|[ \t]+$/, "", section)
            next
        }
        section == "accounts" && index(line, "=") > 0 {
            key = tolower(substr(line, 1, index(line, "=") - 1))
            gsub(/[ \t]+$/, "", key)
            if (key != "count")
                next
            value = substr(line, index(line, "=") + 1)
            gsub(/^[ \t]+|[ \t]+$/, "", value)
            if (length(value) >= 2 && (substr(value, 1, 1) == "\"" || substr(value, 1, 1) == "\047") &&
                substr(value, length(value), 1) == substr(value, 1, 1))
                value = substr(value, 2, length(value) - 2)
            positive = 0
            if (value ~ /^0[xX][0-9a-fA-F]+$/) {
                digits = substr(value, 3)
                if (length(digits) <= 8) {
                    sub(/^0+/, "", digits)
                    positive = digits != "" && (length(digits) < 8 || substr(digits, 1, 1) ~ /[0-7]/)
                }
            } else if (value ~ /^\+?[0-9]+$/) {
                digits = value
                sub(/^\+/, "", digits)
                sub(/^0+/, "", digits)
                positive = digits != "" && (length(digits) < 10 || (length(digits) == 10 && digits <= "2147483647"))
            }
            found = 1
            exit
        }
        END { exit (found && positive) ? 0 : 1 }
    ' "$1"
}

accounts_set_up() {
    if [ -n "${QUILLET_SETTINGS_DIR:-}" ]; then
        has_accounts "$QUILLET_SETTINGS_DIR/Quillet.ini"
        return
    fi
    has_accounts "$(dirname "$bin")/Quillet.ini" || has_accounts "$HOME/.config/Quillet/Quillet.ini"
}

run_quillet() {
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        xvfb-run -a "$bin" "$@"
    else
        "$bin" "$@"
    fi
}

bash scripts/install-deps.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLET_TESTS=OFF >/dev/null

if [ "${QUILLET_DEMO:-1}" = 0 ] || accounts_set_up; then
    cmake --build build/release -j "$(nproc)" --target quillet
    run_quillet "$@"
    exit
fi

cmake --build build/release -j "$(nproc)" --target quillet quillet-demo-server

demo_dir=$(mktemp -d "${TMPDIR:-/tmp}/quillet-demo.XXXXXX")
demo_pid=""
stop_demo() {
    if [ -n "$demo_pid" ]; then
        kill "$demo_pid" 2>/dev/null || true
        wait "$demo_pid" 2>/dev/null || true
    fi
    rm -rf "$demo_dir"
}
trap stop_demo EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

"$demo_bin" --port 0 --port-file "$demo_dir/port" --write-settings "$demo_dir" &
demo_pid=$!

# The port file appears once the server listens and the settings file is written.
for _ in $(seq 100); do
    [ -s "$demo_dir/port" ] && break
    if ! kill -0 "$demo_pid" 2>/dev/null; then
        echo "run.sh: the demo mailbox server did not start" >&2
        exit 1
    fi
    sleep 0.1
done
if [ ! -s "$demo_dir/port" ]; then
    echo "run.sh: the demo mailbox server did not report its port" >&2
    exit 1
fi

echo "No account is set up yet: Quillet starts with a demo mailbox on 127.0.0.1:$(cat "$demo_dir/port")."
echo "Its settings are thrown away when Quillet ends; to set up your own account, run: QUILLET_DEMO=0 bash scripts/run.sh"

status=0
QUILLET_SETTINGS_DIR="$demo_dir" run_quillet "$@" || status=$?
exit "$status"
