#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# With --packaging: those that make package and the installer test need besides.
set -euo pipefail

if [ "${1:-}" = "--packaging" ]; then
  packages=(nsis zip unzip)
else
  # python3-pil draws the skin pictures; fonts-wine gives wine the skins' Tahoma, and
  # the pictures their captions.
  packages=(cmake make g++ googletest g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
            binutils-mingw-w64-x86-64 wine wine64 xvfb xauth xdotool imagemagick clang-format
            python3-pil fonts-wine)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
