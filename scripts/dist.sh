#!/usr/bin/env bash
# Builds dist/Pallion-<version>.zip: the 32-bit Pallion.exe and its hook library, a readme for
# Windows users and the program folder as a new installation has it.
# Usage: scripts/dist.sh [WINE_BUILD_ROOT] [LINUX_BUILD]   (defaults: build-wine, build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=${1:-build-wine}
linux=${2:-build}
version=$(sed -n 's/^project(Pallion VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "dist: no version in CMakeLists.txt" >&2; exit 1; }

bash scripts/setup.sh wine
if [ ! -f "$root/i686/build.ninja" ]; then
  cmake -S . -B "$root/i686" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-i686-mingw.cmake" >/dev/null
fi
cmake --build "$root/i686" -j "$(nproc)" --target Pallion PallionHook
cmake --build "$linux" -j "$(nproc)" --target pallion-folder

name="Pallion-$version"
stage="dist/$name"
rm -rf "$stage" "dist/$name.zip"
mkdir -p "$stage"
"$linux/bin/pallion-folder" "$stage"
cp "$root/i686/bin/Pallion.exe" "$root/i686/bin/PallionHook.dll" "$stage/"
# Windows users read text with CR LF line ends.
sed 's/$/\r/' scripts/dist/README-Windows.txt >"$stage/ReadMe.txt"
(cd dist && zip -qr "$name.zip" "$name")
echo "dist: dist/$name.zip"
unzip -l "dist/$name.zip"
