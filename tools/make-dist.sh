#!/bin/sh
# Lays out a built program: Quorvan.exe, the simulated tuners tunersim.ax and bdasim.ax, the starter Transponders folder with its source note
# and the user guide.
set -e
build="$1"
out="$2"
# Laid out afresh: the folder holds what ships and nothing a run or an older layout left.
rm -rf "$out"
mkdir -p "$out/Transponders"
# The binaries go out stripped; their symbols stay in the build beside each one (Quorvan.exe.debug),
# named in the stripped file's debuglink, so a crash address from a user can still be read.
objcopy=$(sed -n 's/^CMAKE_OBJCOPY:FILEPATH=//p' "$build/CMakeCache.txt")
[ -n "$objcopy" ] || { echo "make-dist: $build/CMakeCache.txt names no objcopy"; exit 1; }
# objcopy writes the time into each PE file it writes: the commit's time keeps two layouts of one
# commit byte for byte the same.
if [ -z "$SOURCE_DATE_EPOCH" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || echo 315532800)
  export SOURCE_DATE_EPOCH
fi
lay_out() {
  "$objcopy" --only-keep-debug "$1" "$1.debug"
  "$objcopy" --strip-all --add-gnu-debuglink="$1.debug" "$1" "$out/$(basename "$1")"
}
lay_out "$build/Quorvan.exe"
for simulator in tunersim bdasim; do
  if [ -f "$build/tunersim/$simulator.ax" ]; then lay_out "$build/tunersim/$simulator.ax"; fi
done
if [ -d transponders/starter ]; then
  cp transponders/starter/*.ini "$out/Transponders/" 2>/dev/null || true
  cp transponders/starter/SOURCE.txt "$out/Transponders/" 2>/dev/null || true
fi
# The user guide beside the program, which the help button opens; its pictures come from make guide.
rm -rf "$out/UserGuide_files"
cp guide/UserGuide.html "$out/"
cp -r guide/UserGuide_files "$out/"
