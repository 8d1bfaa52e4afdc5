#!/bin/sh
# Builds every fuzz target tests/fuzz/*_fuzz.cpp with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer against the portable sources, then runs each for the given number
# of seconds. Fails on any crash or sanitizer report. Usage: tools/fuzz.sh [seconds]
set -eu
seconds="${1:-20}"
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
targets=$(ls tests/fuzz/*_fuzz.cpp 2>/dev/null || true)
[ -n "$targets" ] || { echo "fuzz: no targets"; exit 0; }

out="${QV_BUILD:-$root/build}/fuzz"
mkdir -p "$out/obj"
cxx="${FUZZ_CXX:-clang++}"
flags="-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
includes="-I$root -I$root/tests/unit"

# The portable library: every feature-folder source that is not Win32 glue.
objects=""
for source in app/*.cpp ui/*.cpp tuner/*.cpp feedback/*.cpp transponders/*.cpp signallog/*.cpp dishcalc/*.cpp; do
  [ -f "$source" ] || continue
  case "$source" in *_win32.cpp) continue ;; esac
  object="$out/obj/$(echo "$source" | tr / _).o"
  if [ ! -f "$object" ] || [ "$source" -nt "$object" ] || [ -n "$(find "$(dirname "$source")" -name '*.h' -newer "$object" 2>/dev/null | head -1)" ]; then
    # -fsanitize=fuzzer-no-link: coverage for the fuzzer without a second main.
    $cxx -std=c++20 -g -O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all \
      -fno-omit-frame-pointer $includes -c "$source" -o "$object"
  fi
  objects="$objects $object"
done

status=0
for target in $targets; do
  name=$(basename "$target" .cpp)
  echo "fuzz: building $name"
  # shellcheck disable=SC2086
  $cxx $flags $includes "$target" $objects -o "$out/$name"
  corpus="$out/corpus/$name"
  mkdir -p "$corpus"
  seeds=""
  [ -d "tests/fuzz/corpus/$name" ] && seeds="tests/fuzz/corpus/$name"
  dict=""
  [ -f "tests/fuzz/$name.dict" ] && dict="-dict=tests/fuzz/$name.dict"
  echo "fuzz: running $name for ${seconds}s"
  # shellcheck disable=SC2086
  if ! "$out/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$out/$name-" $dict "$corpus" $seeds >"$out/$name.log" 2>&1; then
    echo "fuzz: $name FAILED; last lines of $out/$name.log:"
    tail -n 40 "$out/$name.log"
    status=1
  else
    grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb" "$out/$name.log" | sed "s/^/fuzz: $name /"
  fi
done
exit $status
