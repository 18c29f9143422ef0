#!/usr/bin/env bash
# Builds the packages for Windows users into build/dist/: the setup program
# Tunebalk-<version>-setup.exe (NSIS) and Tunebalk-<version>-portable.zip (tunebalk.exe and
# LEESMIJ.txt). Uses build/windows, configuring it first when it is missing; the version is
# the one of the CMake project.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

say() { echo "[package] $*"; }

build=build/windows
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset windows -B "$build" -DTB_WERROR=ON
fi
# Configures again first when CMakeLists.txt changed, so the cache has the current version.
cmake --build "$build" -j"${TB_JOBS:-2}" --target tunebalk
exe=$build/bin/tunebalk.exe

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
if ! [[ "$version" =~ ^[0-9]+(\.[0-9]+){0,3}$ ]]; then
    say "no usable project version in $build/CMakeCache.txt: '$version'" >&2
    exit 1
fi
# Windows version resources want four numbers.
version4=$version
while [ "$(tr -cd . <<<"$version4" | wc -c)" -lt 3 ]; do version4+=.0; done

dist=build/dist
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
rm -rf "$dist"
mkdir -p "$dist"

# Text for Windows users: CRLF line ends.
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' packaging/LEESMIJ.txt >"$stage/LEESMIJ.txt"
cp "$exe" "$stage/tunebalk.exe"

setup=$dist/Tunebalk-$version-setup.exe
makensis -V2 -INPUTCHARSET UTF8 \
    -DVERSION="$version" -DVERSION4="$version4" -DEXE="$PWD/$exe" \
    -DICON="$PWD/art/tunebalk.ico" -DOUTFILE="$PWD/$setup" packaging/tunebalk.nsi
say "$setup"

zipfile=$dist/Tunebalk-$version-portable.zip
(cd "$stage" && zip -q -X "$OLDPWD/$zipfile" tunebalk.exe LEESMIJ.txt)
say "$zipfile"
