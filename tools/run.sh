#!/bin/sh
# Starts the built program (dist/win64) on the simulated card in the private Wine prefix.
# With $DISPLAY it opens there for a person and returns when the program ends; without one it
# runs on a virtual screen, takes screenshots while it drives the program, and closes it.
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
: "${QV_BUILD:=$root/build}"
: "${QV_DIST:=$root/dist}"
: "${WINEPREFIX:=$QV_BUILD/wineprefix}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=;winealsa.drv=}"
export QV_BUILD QV_DIST WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
program="$QV_DIST/win64"
[ -f "$program/Quorvan.exe" ] || { echo "run: no $program/Quorvan.exe (make dist)"; exit 1; }

if [ -z "$DISPLAY" ]; then
  exec python3 "$root/tools/run_headless.py"
fi
# The registry keeps the DLL's full path: register it where it stays.
wine regsvr32 /s "$program/tunersim.ax"
cd "$program"
echo "run: Quorvan on $DISPLAY (prefix $WINEPREFIX)"
exec wine Quorvan.exe
