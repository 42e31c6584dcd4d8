#!/usr/bin/env bash
# Builds Quillet as released (Release, no tests) in build/package, installs it into a private
# DESTDIR and validates what a desktop reads there (the menu entry and the AppStream metainfo),
# then builds the Debian package with CPack, checks its control data and contents, extracts it
# into a throw-away root and runs the extracted program.
# Prints "== package checks passed", or "!! package check failed: <what>" and exits non-zero.
# QUILLET_JOBS sets the build's parallel jobs (default: all processors).
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
    echo "!! package check failed: $*"
    exit 1
}
trap 'fail "command failed (line $LINENO): $BASH_COMMAND"' ERR

bash scripts/install-deps.sh

build=build/package
destdir=$PWD/$build/destdir
app_id=org.example.Quillet
version=$(sed -n 's/^project(Quillet VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "no project version in CMakeLists.txt"

echo "-- building the release configuration in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLET_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build" -j "${QUILLET_JOBS:-$(nproc)}"

echo "-- installing into $destdir"
rm -rf "$destdir"
DESTDIR=$destdir cmake --install "$build" >/dev/null

expected=(
    usr/bin/quillet
    usr/share/applications/quillet.desktop
    "usr/share/metainfo/$app_id.metainfo.xml"
    usr/share/icons/hicolor/scalable/apps/quillet.svg
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/quillet.png")
done
for f in "${expected[@]}"; do
    [ -f "$destdir/$f" ] || fail "the installed tree lacks /$f"
done
[ -x "$destdir/usr/bin/quillet" ] || fail "/usr/bin/quillet is not executable"
desktop=$destdir/usr/share/applications/quillet.desktop
metainfo=$destdir/usr/share/metainfo/$app_id.metainfo.xml
grep -qx 'Icon=quillet' "$desktop" || fail "the menu entry does not name the installed icon"
grep -qx 'Exec=quillet' "$desktop" || fail "the menu entry does not start the installed program"
grep -q '<launchable type="desktop-id">quillet.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not name the installed menu entry"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"

echo "-- validating the menu entry and the metainfo"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"

echo "-- building the Debian package"
rm -f "$build"/quillet_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/quillet_"$version"_*.deb)
[ -f "${debs[0]}" ] || fail "cpack made no quillet_${version}_*.deb"
deb=${debs[0]}

info=$(dpkg-deb --info "$deb")
echo "$info"
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = quillet ] || fail "package name is not quillet"
[ "$(field Version)" = "$version" ] || fail "package version is not $version"
[ "$(field Section)" = mail ] || fail "package section is not mail"
depends=$(field Depends)
for dep in libc6 libqt6core6 libqt6widgets6 libqt6network6 libqt6svg6 qt6-qpa-plugins libqt6keychain1 \
    libsecret-1-0; do
    grep -q "\(^\|, \)$dep\( \|,\|$\)" <<<"$depends" || fail "Depends lacks $dep: $depends"
done

contents=$(dpkg-deb --contents "$deb")
echo "$contents"
for f in "${expected[@]}"; do
    grep -q " \./$f\$" <<<"$contents" || fail "the package lacks /$f"
done

# Every dependency must be one that this system's package manager can satisfy.
apt-get install --simulate -q "./$deb" >/dev/null || fail "apt-get cannot satisfy the package's dependencies"

echo "-- running the program extracted from the package"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
shown=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/quillet" --version)
[ "$shown" = "Quillet $version" ] || fail "quillet --version printed '$shown'"
help=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/quillet" --help)
grep -q -- '--settings-dir' <<<"$help" || fail "quillet --help does not list the options"
echo "$shown"

echo "== package checks passed"
