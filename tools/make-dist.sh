#!/bin/sh
# Lays out a built program: Quorvan.exe, tunersim.ax and the starter Transponders folder.
set -e
build="$1"
out="$2"
mkdir -p "$out/Transponders"
cp "$build/Quorvan.exe" "$out/"
[ -f "$build/tunersim/tunersim.ax" ] && cp "$build/tunersim/tunersim.ax" "$out/"
if [ -d transponders/starter ]; then
  cp transponders/starter/*.ini "$out/Transponders/" 2>/dev/null || true
fi
