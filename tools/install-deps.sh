#!/bin/sh
# Installs what building, running and testing need on Debian 12, and nothing that is there.
# Never wine32: with it /usr/bin/wine picks the 32-bit loader, which this kernel cannot run.
set -e
PACKAGES="cmake make g++ googletest clang libclang-rt-14-dev python3
g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
wine wine64 xvfb xdotool x11-utils imagemagick fonts-liberation procps strace
pulseaudio pulseaudio-utils sox tesseract-ocr
chromium tidy dtv-scan-tables libdvbpsi-dev"
missing=""
for package in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing="$missing $package"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends $missing
