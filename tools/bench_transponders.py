#!/usr/bin/env python3
"""Transponder lists benchmark: prints figures, asserts nothing.

1. Native: the portable rules reading 500 transponder files into the satellite list and a
   2000-entry transponder list, beside plain reading of the same bytes (tests/bench).
2. End to end under Wine: the program's start-up with 500 transponder files beside its start-up
   with the starter set (needs a built dist/ and the e2e harness; skipped without them).
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.environ.get("QV_BUILD", os.path.join(ROOT, "build"))
DIST = os.environ.get("QV_DIST", os.path.join(ROOT, "dist"))
PORTABLE = ["transponders/transponder_file.cpp", "transponders/satellite_list.cpp",
            "transponders/transponder_parse.cpp", "app/file_io.cpp"]
STARTUP_TARGET = 1.5


def native_bench():
    out = os.path.join(BUILD, "bench")
    os.makedirs(out, exist_ok=True)
    program = os.path.join(out, "transponders_bench")
    sources = ["tests/bench/transponders_bench.cpp"] + PORTABLE
    subprocess.run(["g++", "-std=c++20", "-O2", "-I.", *sources, "-o", program], cwd=ROOT, check=True)
    scratch = tempfile.mkdtemp(prefix="qv-bench-tp-", dir=out)
    try:
        subprocess.run([program, scratch], check=True)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def satellite_file(position, entries):
    lines = ["[SATTYPE]", "1=%04d" % position, "2=Satellite %d" % position, "", "[DVB]", "0=%d" % entries]
    lines += ["%d=%d,%s,27500,34" % (i + 1, 10700 + (i * 7) % 2000, "HV"[i % 2]) for i in range(entries)]
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def startup_bench(runs=5):
    exe = os.path.join(DIST, "win64", "Quorvan.exe")
    if not os.path.exists(exe):
        print("start-up: skipped, no %s (make dist)" % exe)
        return
    sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
    try:
        import quorvan_e2e as e2e
    except ImportError:
        print("start-up: skipped, the e2e harness is not there")
        return
    if not hasattr(e2e, "measure_startup"):
        print("start-up: skipped, the harness has no measure_startup")
        return

    def fill_many(folder):
        for name in os.listdir(folder):
            os.remove(os.path.join(folder, name))
        for i in range(500):
            with open(os.path.join(folder, "%04d.ini" % (i * 7)), "wb") as f:
                f.write(satellite_file(i * 7, 100))

    starter = [e2e.measure_startup() for _ in range(runs)]
    many = [e2e.measure_startup(prepare_transponders=fill_many) for _ in range(runs)]
    s, m = statistics.median(starter), statistics.median(many)
    print("start-up with the starter set: median %.0f ms (%s)" % (s * 1000, " ".join("%.0f" % (x * 1000) for x in starter)))
    print("start-up with 500 files:       median %.0f ms (%s)" % (m * 1000, " ".join("%.0f" % (x * 1000) for x in many)))
    print("ratio %.2f (target at most %.1f)" % (m / s, STARTUP_TARGET))


def main():
    print("== transponder lists ==")
    native_bench()
    startup_bench()


if __name__ == "__main__":
    main()
