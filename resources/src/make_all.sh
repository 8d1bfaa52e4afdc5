#!/bin/sh
# Remakes every generated resource file from the sources in this folder:
#   resources/skin.jpg, resources/quorvan.ico, resources/sounds/*.wav
# Needs python3, rsvg-convert (librsvg2-bin), ImageMagick, espeak-ng and sox.
# Working files go to build/resources-work (or $1).
set -e
cd "$(dirname "$0")/../.."
work="${1:-build/resources-work}"
mkdir -p "$work"
python3 resources/src/make_skin.py "$work/skin"
cp "$work/skin/skin.jpg" resources/skin.jpg
python3 resources/src/make_icon.py resources/quorvan.ico "$work/icon"
python3 resources/src/make_sounds.py resources/sounds "$work/sounds"
python3 resources/src/make_screenshots.py resources/skin.jpg "$work/screenshots"
