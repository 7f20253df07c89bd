#!/usr/bin/env bash
# The desktop install and the Debian package. `cmake --install` into a fresh prefix puts the
# game, its manual page, a valid desktop entry and AppStream metainfo, the licence and the
# icons the build drew at every size in place. `cpack -G DEB` packs the same files under /usr
# with the libraries they need as dependencies; unpacked with dpkg-deb, the game answers
# --version and --help and runs headless. Usage: e2e_install.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
fail() { echo "FAIL: $*"; exit 1; }
scratch=$(mktemp -d)
trap 'kill "${game_pid:-}" 2>/dev/null || true; rm -rf "$scratch"' EXIT
id=org.orbitrants.orbitrants
sizes=(16 32 48 64 128 256)

cmake --install "$build" --prefix "$scratch/prefix" > "$scratch/install.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$scratch/install.log")"

# The size and pixel format from a PNG's header: the signature, then IHDR with width, height,
# bit depth 8 and colour type 6 (RGBA).
check_icon() {  # path, size
    [ -f "$1" ] || fail "no icon $1 (see the build's warning about the desktop icons)"
    local header want
    header=$(od -An -tx1 -N26 "$1" | tr -d ' \n')
    want=$(printf '%08x%08x' "$2" "$2")
    [ "${header:0:16}" = 89504e470d0a1a0a ] || fail "$1 is not a PNG"
    [ "${header:24:8}" = 49484452 ] || fail "$1: no IHDR first"
    [ "${header:32:16}" = "$want" ] || fail "$1 is not $2 x $2: ${header:32:16}"
    [ "${header:48:4}" = 0806 ] || fail "$1 is not 8-bit RGBA: ${header:48:4}"
}

# The installed tree under `root` (a prefix, or /usr in the package, which keeps the game in
# /usr/games as Debian does) has every file.
check_tree() {  # root, folder of the executable
    local root=$1
    [ -x "$root/$2/orbitrants" ] || fail "no executable $root/$2/orbitrants"
    local entry=$root/share/applications/$id.desktop
    [ -f "$entry" ] || fail "no desktop entry $entry"
    for line in "Name=Orbitrants" "Exec=orbitrants" "Icon=$id" "Terminal=false" \
        "Categories=Game;ArcadeGame;" "Type=Application"; do
        grep -qxF "$line" "$entry" || fail "the desktop entry lacks '$line'"
    done
    grep -qx "Keywords=.*;" "$entry" || fail "the desktop entry has no Keywords"
    [ -f "$root/share/metainfo/$id.metainfo.xml" ] || fail "no AppStream metainfo"
    [ -f "$root/share/man/man6/orbitrants.6.gz" ] || fail "no manual page"
    grep -q "Zlib" "$root/share/doc/orbitrants/copyright" || fail "no zlib licence in the docs"
    for size in "${sizes[@]}"; do
        check_icon "$root/share/icons/hicolor/${size}x$size/apps/$id.png" "$size"
    done
}
check_tree "$scratch/prefix" bin

prefix=$scratch/prefix
if command -v desktop-file-validate > /dev/null; then
    out=$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1) ||
        fail "desktop-file-validate: $out"
    [ -z "$out" ] || fail "desktop-file-validate warns: $out"
else
    echo "note: desktop-file-validate missing (package desktop-file-utils); keys checked only"
fi
if command -v appstreamcli > /dev/null; then
    out=$(appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml" 2>&1) ||
        fail "appstreamcli validate: $out"
    # Issues are listed one a line as "E:", "W:", "I:" or "P:" (pedantic) and the tag.
    ! grep -q "^[EWIP]: " <<< "$out" || fail "appstreamcli validate warns: $out"
    grep -qF "<release version=\"$(cat "$build/desktop/version.txt")\"" \
        "$prefix/share/metainfo/$id.metainfo.xml" || fail "the metainfo lacks this release"
else
    echo "note: appstreamcli missing (package appstream); metainfo not validated"
fi
if command -v man > /dev/null; then
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man6/orbitrants.6.gz" 2>&1 >/dev/null) ||
        fail "man: $out"
    [ -z "$out" ] || fail "the manual page warns: $out"
fi

# The package, from this build's install.
version=$(cat "$build/desktop/version.txt")
(cd "$build" && cpack -G DEB -B "$scratch/pkg") > "$scratch/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$scratch/cpack.log")"
deb=$scratch/pkg/orbitrants_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb: $(ls "$scratch/pkg")"
[ "$(dpkg-deb -f "$deb" Package)" = orbitrants ] || fail "the package is not named orbitrants"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version $(dpkg-deb -f "$deb" Version)"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the package is not in section games"
depends=$(dpkg-deb -f "$deb" Depends)
# dpkg-shlibdeps names the libraries the executable links, with versions; the OpenGL library
# that SDL opens at run time is declared by hand.
for lib in libc6 libstdc++6 libsdl2-2.0-0 libepoxy0 libgl1; do
    [[ ", $depends," =~ ", $lib"( \([^\)]*\))?, ]] || fail "Depends lacks $lib: $depends"
done
[[ "$depends" =~ libsdl2-2\.0-0\ \(\>=\ [0-9] ]] || fail "Depends not from dpkg-shlibdeps: $depends"
dpkg-deb -x "$deb" "$scratch/root"
check_tree "$scratch/root/usr" games
if [ -n "$(find "$scratch/root" -path "$scratch/root/usr" -prune -o -type f -print)" ]; then
    fail "the package puts files outside /usr"
fi
[ ! -e "$scratch/root/usr/bin" ] || fail "the package keeps /usr/bin: $(ls "$scratch/root/usr/bin")"

# The unpacked game answers what a package manager and a player ask, and plays headless.
game=$scratch/root/usr/games/orbitrants
[ "$("$game" --version)" = "orbitrants $version" ] || fail "--version: $("$game" --version)"
help=$("$game" --help) || fail "--help: status $?"
grep -q "Escape is the only way out" <<< "$help" || fail "--help: $help"
status=0
"$game" --frobnicate > "$scratch/out" 2> "$scratch/err" || status=$?
[ "$status" -eq 2 ] || fail "an unknown argument gives status $status"
[ ! -s "$scratch/out" ] && [ "$(wc -l < "$scratch/err")" -eq 1 ] ||
    fail "an unknown argument: not one line on stderr: $(cat "$scratch/out" "$scratch/err")"
SDL_VIDEODRIVER=offscreen ORBITRANTS_TRACE=$scratch/trace.csv "$game" 2> "$scratch/err" &
game_pid=$!
rows() { if [ -f "$scratch/trace.csv" ]; then wc -l < "$scratch/trace.csv"; else echo 0; fi; }
for _ in $(seq 1200); do
    [ "$(rows)" -ge 60 ] && break
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null || fail "the unpacked game ended: $(cat "$scratch/err")"
kill "$game_pid"
wait "$game_pid" 2>/dev/null || true
game_pid=
[ "$(rows)" -ge 60 ] || fail "the unpacked game played no second"

if command -v lintian > /dev/null; then
    lintian --tag-display-limit 0 "$deb" > "$scratch/lintian.log" 2>&1 || true
    ! grep -q "^E: " "$scratch/lintian.log" || fail "lintian errors: $(cat "$scratch/lintian.log")"
    grep "^W: " "$scratch/lintian.log" || true
else
    echo "note: lintian missing (package lintian); the package is not linted"
fi
echo "PASS: installed and packaged the game ($(basename "$deb"), Depends: $depends)," \
    "its manual, desktop entry, metainfo, licence and ${#sizes[@]} icon sizes; the unpacked game runs"
