#!/usr/bin/env bash
# The desktop install: `cmake --install` into a fresh prefix puts the game, a valid desktop
# entry and the 64 x 64 icon the build drew in place. Usage: e2e_install.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
fail() { echo "FAIL: $*"; exit 1; }
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" > "$prefix.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$prefix.log")"
rm -f "$prefix.log"
game=$prefix/bin/orbitrants
entry=$prefix/share/applications/orbitrants.desktop
icon=$prefix/share/icons/hicolor/64x64/apps/orbitrants.png
[ -x "$game" ] || fail "no executable $game"
[ -f "$entry" ] || fail "no desktop entry $entry"
[ -f "$icon" ] || fail "no icon $icon (see the build's warning about the desktop icon)"

for line in "Name=Orbitrants" "Exec=orbitrants" "Icon=orbitrants" "Terminal=false" \
    "Categories=Game;ArcadeGame;" "Type=Application"; do
    grep -qxF "$line" "$entry" || fail "the desktop entry lacks '$line'"
done
if command -v desktop-file-validate > /dev/null; then
    out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $out"
    [ -z "$out" ] || fail "desktop-file-validate warns: $out"
else
    echo "note: desktop-file-validate missing (package desktop-file-utils); keys checked only"
fi

# A PNG's header: the signature, then IHDR with width, height, bit depth 8, colour type 6
# (RGBA).
header=$(od -An -tx1 -N26 "$icon" | tr -d ' \n')
[ "${header:0:16}" = 89504e470d0a1a0a ] || fail "the icon is not a PNG"
[ "${header:24:8}" = 49484452 ] || fail "the icon's PNG has no IHDR first"
[ "${header:32:16}" = 0000004000000040 ] || fail "the icon is not 64 x 64: ${header:32:16}"
[ "${header:48:4}" = 0806 ] || fail "the icon is not 8-bit RGBA: ${header:48:4}"
# A blank 64 x 64 picture compresses to well under 200 bytes; the lit ship does not.
size=$(stat -c %s "$icon")
[ "$size" -gt 400 ] || fail "the icon is nearly empty ($size bytes)"
echo "PASS: installed the game, its desktop entry and a 64 x 64 RGBA icon ($size bytes)"
