#!/usr/bin/env bash
# Installs the Debian packages the build needs, when they are missing.
# `setup.sh wine` installs what the Windows lane needs instead (cross compilers, Wine, a
# virtual X display, and imagemagick for pictures of that display).
set -euo pipefail
packages=(cmake ninja-build g++ make pkg-config googletest libgtest-dev libbenchmark-dev
          libstb-dev fonts-liberation fonts-dejavu-core libcurl4-openssl-dev
          libcpp-httplib-dev clang-14 libclang-rt-14-dev)
if [ "${1:-}" = wine ]; then
  packages=(cmake ninja-build googletest libstb-dev zip g++-mingw-w64-x86-64-posix
            g++-mingw-w64-i686-posix wine wine64 fonts-wine xvfb xauth imagemagick)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run as root (or: sudo apt-get install ${missing[*]})" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
