#!/usr/bin/env bash
# Compile-checks the code that only a Windows build compiles: every source file that tests
# Q_OS_WIN or _WIN32 (the *_win.cpp files and the Windows branches of the others) goes through
# Debian's mingw-w64 cross compiler with -fsyntax-only against the Windows headers, so that it
# keeps compiling while the project is built and tested on Linux only.
#
# The files include Qt. No Windows build of Qt is at hand, so Qt's own headers are those of
# this system's Qt 6 (the same version the project builds with): with the Windows compiler their
# platform detection takes the Windows path and defines Q_OS_WIN, and they are read as system
# headers, so only warnings in our own code count. What this does not check: Qt's build
# options on Windows (its qconfig.h is the Linux one), moc and uic output, and linking.
#
# Prints "== windows files compile", or "!! windows files: <what>" and exits non-zero.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
    echo "!! windows files: $*"
    exit 1
}

bash scripts/install-deps.sh

cxx=x86_64-w64-mingw32-g++-posix
command -v "$cxx" >/dev/null || fail "$cxx is missing (package g++-mingw-w64-x86-64-posix)"
qt_headers=$(/usr/lib/qt6/bin/qtpaths6 --query QT_INSTALL_HEADERS)
[ -f "$qt_headers/QtCore/qglobal.h" ] || fail "no Qt 6 headers under '$qt_headers'"

flags=(-std=c++20 -fsyntax-only -Wall -Wextra -Werror -DUNICODE -D_UNICODE -DQT_NO_KEYWORDS
    -DQUILLET_VERSION=\"0.0.0\" -I. -isystem "$qt_headers")
for module in "$qt_headers"/Qt*/; do
    flags+=(-isystem "${module%/}")
done

# Without Q_OS_WIN every file below would compile its non-Windows half only.
"$cxx" "${flags[@]}" -x c++ - <<'EOF' || fail "Qt's headers do not define Q_OS_WIN for $cxx"
#include <QtGlobal>
#ifndef Q_OS_WIN
#error Q_OS_WIN is not defined
#endif
EOF

mapfile -t files < <(grep -rlE 'Q_OS_WIN|_WIN32' --include='*.cpp' app notify util crypto mail model check settings dialogs | sort)
[ ${#files[@]} -gt 0 ] || fail "no Windows-only code found"
failed=()
for f in "${files[@]}"; do
    if "$cxx" "${flags[@]}" "$f"; then
        echo "-- $f"
    else
        failed+=("$f")
    fi
done
[ ${#failed[@]} -eq 0 ] || fail "${failed[*]} do not compile"
echo "== windows files compile"
