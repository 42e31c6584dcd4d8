#!/usr/bin/env bash
# Installs what building, running and testing Quillet needs on Debian 12.
# Idempotent: when every package is present it changes nothing and asks no registry.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-svg-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n qtkeychain-qt6-dev
    dovecot-pop3d openssl python3 dbus-daemon gnome-keyring libsecret-tools
    xvfb xauth xdotool
    dpkg-dev file desktop-file-utils appstream g++-mingw-w64-x86-64-posix
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q "${missing[@]}"
