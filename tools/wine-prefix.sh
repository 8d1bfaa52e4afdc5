#!/bin/sh
# Prepares the private Wine prefix under build/ once; later calls find it ready.
set -e
: "${WINEPREFIX:?}"
[ -f "$WINEPREFIX/.quorvan-ready" ] && exit 0
rm -rf "$WINEPREFIX"
mkdir -p "$(dirname "$WINEPREFIX")"
# Address randomisation off: see WINE in tests/e2e/quorvan_e2e.py.
setarch -R wine wineboot -i >/dev/null 2>&1 || true
wineserver -w
touch "$WINEPREFIX/.quorvan-ready"
