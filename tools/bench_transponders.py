#!/usr/bin/env python3
"""Transponder lists benchmark: prints figures, asserts nothing.

1. Native: the portable rules reading 500 transponder files into the satellite list and a
   2000-entry transponder list, beside plain reading of the same bytes (tests/bench).
2. End to end under Wine: the program's start-up with 500 transponder files, and with the starter
   set and a 200 MB file of junk, beside its start-up with the starter set (needs a built dist/
   and the e2e harness; skipped without them).
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.environ.get("QV_BUILD", os.path.join(ROOT, "build"))
DIST = os.environ.get("QV_DIST", os.path.join(ROOT, "dist"))
PORTABLE = ["transponders/transponder_file.cpp", "transponders/satellite_list.cpp", "transponders/satellite_name_cache.cpp",
            "transponders/transponder_parse.cpp", "core/file_io.cpp"]
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


def startup_folder(name, files):
    """A copy of dist/win64 whose Transponders folder holds the given files (None: the starter set)."""
    import quorvan_e2e as e2e
    folder = os.path.join(BUILD, "bench", name)
    shutil.rmtree(folder, ignore_errors=True)
    shutil.copytree(e2e.PROGRAM_DIST, folder)
    if files is not None:
        transponders = os.path.join(folder, "Transponders")
        shutil.rmtree(transponders)
        os.makedirs(transponders)
        for name, content in files.items():
            with open(os.path.join(transponders, name), "wb") as f:
                f.write(content)
    return folder


def startup_bench(runs=10):
    exe = os.path.join(DIST, "win64", "Quorvan.exe")
    if not os.path.exists(exe):
        print("start-up: skipped, no %s (make dist)" % exe)
        return
    sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
    sys.path.insert(0, os.path.join(ROOT, "tools"))
    import quorvan_e2e as e2e
    import startup_timing

    folders = {"starter set": startup_folder("startup-starter", None),
               "500 files": startup_folder("startup-500",
                                           {"%04d.ini" % (i * 7): satellite_file(i * 7, 100) for i in range(500)}),
               "200 MB junk": startup_folder("startup-junk", None)}
    junk = os.path.join(folders["200 MB junk"], "Transponders", "0123.ini")
    with open(junk, "wb") as f:
        f.write(os.urandom(1 << 16))
    os.truncate(junk, 200 << 20)  # sparse: the rest takes no disk
    desktop = e2e.Desktop(1024, 768)
    env = e2e.wine_environment({"DISPLAY": desktop.display})
    subprocess.run(["wineserver", "-p60"], env=env)  # no run pays for the server's start
    subprocess.run(e2e.WINE + ["regsvr32", "/s", os.path.join(folders["starter set"], "tunersim.ax")], env=env,
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    watcher = startup_timing.MapWatcher(desktop.display)
    figures = {name: [] for name in folders}
    try:
        # Alternating, so that a busy moment of the machine falls on both sides alike; the first
        # pair warms the file cache up.
        for k in range(runs + 1):
            for name, folder in folders.items():
                seconds, process, _ = startup_timing.start_and_wait_for_window(
                    watcher, e2e.WINE + [os.path.join(folder, "Quorvan.exe")], folder, env)
                subprocess.run(e2e.WINE + [e2e.DRIVER, "close"], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
                process.wait(30)
                if k > 0:
                    figures[name].append(seconds * 1000)
    finally:
        watcher.close()
        subprocess.run(["wineserver", "-k"], env=env)  # the persistent server, before its screen goes
        desktop.close()
    medians = {name: statistics.median(times) for name, times in figures.items()}
    for name, times in figures.items():
        print("start to window mapped, %-11s: median %5.0f ms (%s)"
              % (name, medians[name], " ".join("%.0f" % t for t in times)))
    print("ratio 500 files / starter set: %.2f of the medians (target at most %.1f)"
          % (medians["500 files"] / medians["starter set"], STARTUP_TARGET))
    print("ratio starter set and 200 MB junk / starter set: %.2f of the medians"
          % (medians["200 MB junk"] / medians["starter set"]))


def main():
    print("== transponder lists ==")
    native_bench()
    startup_bench()


if __name__ == "__main__":
    main()
