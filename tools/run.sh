#!/bin/sh
# Starts the built program on the simulated card in the private Wine prefix, from a copy of dist/win64
# in build/run/win64: the settings, logs and notes a run leaves stay there, and dist holds only
# what ships.
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
[ -f "$QV_DIST/win64/Quorvan.exe" ] || { echo "run: no $QV_DIST/win64/Quorvan.exe (make dist)"; exit 1; }
program="$QV_BUILD/run/win64"
mkdir -p "$program"
cp -R "$QV_DIST/win64/." "$program/"

if [ -z "$DISPLAY" ]; then
  exec python3 "$root/tools/run_headless.py"
fi
# The registry keeps the DLL's full path: register it where it stays. Wine starts with address
# randomisation off: see WINE in tests/e2e/quorvan_e2e.py.
setarch -R wine regsvr32 /s "$program/tunersim.ax"
cd "$program"
echo "run: Quorvan on $DISPLAY (prefix $WINEPREFIX)"
exec setarch -R wine Quorvan.exe
