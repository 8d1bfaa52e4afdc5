#!/bin/sh
# Builds every fuzz target tests/fuzz/*_fuzz.cpp with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer against the portable sources, then runs each for the given number
# of seconds, or with --runs for at least that many executions each (printing the count).
# Fails on any crash or sanitizer report, or on fewer executions than asked for.
# Usage: tools/fuzz.sh [seconds] | tools/fuzz.sh --runs <count>
set -eu
runs=""
seconds="${1:-20}"
if [ "${1:-}" = "--runs" ]; then
  runs="${2:?--runs needs a count}"
  seconds=""
fi
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
for source in core/*.cpp window/*.cpp watch/*.cpp app/*.cpp tuner/*.cpp feedback/*.cpp transponders/*.cpp signallog/*.cpp dishcalc/*.cpp satcheck/*.cpp tunersim/*.cpp; do
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
  # A target's own libFuzzer flags, one line (for example a smaller -max_len to keep it quick).
  options=""
  [ -f "tests/fuzz/$name.options" ] && options=$(cat "tests/fuzz/$name.options")
  if [ -n "$runs" ]; then
    limit="-runs=$runs"
    echo "fuzz: running $name for $runs executions"
  else
    limit="-max_total_time=$seconds"
    echo "fuzz: running $name for ${seconds}s"
  fi
  started=$(date +%s)
  # shellcheck disable=SC2086
  if ! "$out/$name" $limit -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$out/$name-" $dict $options "$corpus" $seeds >"$out/$name.log" 2>&1; then
    echo "fuzz: $name FAILED; last lines of $out/$name.log:"
    tail -n 40 "$out/$name.log"
    status=1
  else
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$name.log")
    echo "fuzz: $name executed ${executed:-?} inputs in $(( $(date +%s) - started ))s"
    grep -E "^stat::peak_rss_mb" "$out/$name.log" | sed "s/^/fuzz: $name /"
    if [ -n "$runs" ] && [ "${executed:-0}" -lt "$runs" ]; then
      echo "fuzz: $name ran fewer than $runs inputs"
      status=1
    fi
  fi
done
exit $status
