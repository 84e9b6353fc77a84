#!/usr/bin/env bash
# The Windows lane: cross-builds the program with mingw-w64 (x86_64 to run here, i686 the
# product, compiled and linked only), makes a fresh Wine prefix and runs the seam's contract
# suite on the Win32 backend under Wine, then the two-process scenario (StandInClient.exe and
# Pallion.exe beside each other) with a picture of the display, inside one virtual X display.
# Usage: scripts/wine-lane.sh [BUILD_ROOT]   (default: build-wine)
set -euo pipefail
cd "$(dirname "$0")/.."
root=${1:-build-wine}
mkdir -p "$root"
root=$(cd "$root" && pwd)
start=$(date +%s)

bash scripts/setup.sh wine

wine64=/usr/lib/wine/wine64
jobs=$(nproc)
for arch in x86_64 i686; do
  if [ ! -f "$root/$arch/build.ninja" ]; then
    cmake -S . -B "$root/$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-$arch-mingw.cmake" >"$root/$arch-configure.log"
  fi
done
cmake --build "$root/x86_64" -j "$jobs" --target test_contract PallionHook test_smoke Pallion StandInClient
cmake --build "$root/i686" -j "$jobs" --target Pallion PallionHook
echo "wine lane: built in $(($(date +%s) - start)) s"

# A fresh prefix every run: nothing left over from an earlier run can make it pass.
export WINEPREFIX="$root/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
# The cross-process cases and Pallion load the hook library from the executable's folder.
for file in test_contract.exe test_smoke.exe Pallion.exe StandInClient.exe PallionHook.dll; do
  cp "$root/x86_64/bin/$file" "$root/"
done
rm -f "$root"/smoke-*.png "$root"/*.shot

cat >"$root/run.sh" <<EOF
set -euo pipefail
timeout 120 $wine64 wineboot --init >/dev/null 2>&1
timeout 60 wineserver -w
mkdir -p "\$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/* "\$WINEPREFIX/drive_c/windows/Fonts/"
# No window manager runs here: Wine's own desktop gives top-level windows their frames.
timeout 60 $wine64 reg add 'HKCU\\Software\\Wine\\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
timeout 60 $wine64 reg add 'HKCU\\Software\\Wine\\Explorer\\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
timeout 60 wineserver -w
status=0
timeout 300 $wine64 "$root/test_contract.exe" --gtest_output=xml:"Z:$root/contract.xml" || status=\$?
echo "wine lane: contract suite \$([ \$status -eq 0 ] && echo passed || echo FAILED)"
# The scenario asks for a picture of the display with a file NAME.shot beside it; this answers
# with NAME.png and takes the request away.
(
  while true; do
    for request in "$root"/*.shot; do
      [ -e "\$request" ] || continue
      timeout 20 import -window root "\${request%.shot}.png" && rm -f "\$request"
    done
    sleep 0.2
  done
) &
shooter=\$!
smoke=0
timeout 240 $wine64 "$root/test_smoke.exe" --gtest_output=xml:"Z:$root/smoke.xml" || smoke=\$?
kill \$shooter 2>/dev/null || true
echo "wine lane: two-process scenario \$([ \$smoke -eq 0 ] && echo passed || echo FAILED)"
timeout 30 wineserver -k || true
[ \$status -eq 0 ] && exit \$smoke
exit \$status
EOF
status=0
timeout 540 xvfb-run -a -s "-screen 0 1024x768x24" bash "$root/run.sh" || status=$?
echo "wine lane: $([ $status -eq 0 ] && echo passed || echo FAILED) in $(($(date +%s) - start)) s"
ls "$root"/smoke-*.png 2>/dev/null | sed 's/^/wine lane: picture of the scenario: /' || true
exit $status
