#!/bin/sh
# Installs npm's geomagnetism (pinned by package-lock.json) into DIR and asks it for declinations.
#   reference.sh DIR            writes the unit tests' grid to DIR/declinations.txt
#   reference.sh DIR LAT LON    prints today's declination at one site
# Uses the node and npm on PATH; installs Debian's only when there are none.
set -e
here=$(cd "$(dirname "$0")" && pwd)
dir=$1
shift
missing=""
command -v node >/dev/null 2>&1 || missing="nodejs"
command -v npm >/dev/null 2>&1 || missing="$missing npm"
if [ -n "$missing" ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q >/dev/null
  $SUDO apt-get install -y -q --no-install-recommends $missing >/dev/null
fi
mkdir -p "$dir"
# Installed once; again only when the lock file changes, so later runs need no registry.
if [ ! -f "$dir/node_modules/geomagnetism/package.json" ] || ! cmp -s "$here/package-lock.json" "$dir/package-lock.json"; then
  cp "$here/package.json" "$here/package-lock.json" "$dir/"
  npm ci --prefix "$dir" --no-audit --no-fund --loglevel=error >/dev/null
fi
export NODE_PATH="$dir/node_modules"
if [ $# -eq 0 ]; then
  node "$here/declinations.js" >"$dir/declinations.txt.part"
  mv "$dir/declinations.txt.part" "$dir/declinations.txt"
else
  node "$here/declinations.js" "$@"
fi
