#!/usr/bin/env bash
# The translation catalogues hold every text the program shows: lupdate reads the sources into
# a temporary copy of each translations/quillet_<lang>.ts, and the check fails when that copy
# has a message the committed file lacks (new or changed text, left "unfinished"), or the
# committed file has one the sources no longer use ("vanished"). Catalogues keep no source line
# numbers (-locations none), so moving code around changes nothing.
#
#   bash scripts/check-translations.sh            # the check: "== translations complete" or "!! ..."
#   bash scripts/check-translations.sh --update   # writes new texts into the catalogues (untranslated)
set -euo pipefail
cd "$(dirname "$0")/.."

lupdate=/usr/lib/qt6/bin/lupdate
[ -x "$lupdate" ] || lupdate=$(command -v lupdate)
folders=(app dialogs check settings notify mail model util auth)
options=(-locations none -extensions cpp,h,ui -I . -silent)

if [ "${1:-}" = "--update" ]; then
    for ts in translations/quillet_*.ts; do
        "$lupdate" "${options[@]}" -no-obsolete "${folders[@]}" -ts "$ts"
    done
    exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for ts in translations/quillet_*.ts; do
    copy="$work/$(basename "$ts")"
    cp "$ts" "$copy"
    "$lupdate" "${options[@]}" "${folders[@]}" -ts "$copy" >"$work/lupdate.log" 2>&1 ||
        { cat "$work/lupdate.log"; echo "!! translations: lupdate failed on $ts"; exit 1; }
    # The texts lupdate left without a translation, or found no more in the sources.
    missing=$(grep -c 'type="unfinished"' "$copy" || true)
    gone=$(grep -cE 'type="(vanished|obsolete)"' "$copy" || true)
    if [ "$missing" -ne 0 ] || [ "$gone" -ne 0 ]; then
        echo "!! translations: $ts lacks $missing text(s) and holds $gone text(s) no longer used:"
        diff "$ts" "$copy" | grep '^[<>] *<source>' | head -40 || true
        failed=1
    fi
done
[ "$failed" -eq 0 ] || { echo "   run: bash scripts/check-translations.sh --update, then translate"; exit 1; }
echo "== translations complete"
