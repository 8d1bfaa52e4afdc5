#!/usr/bin/env python3
"""make bench: prints figures from one run, asserts nothing.

1. Start-up: the median time from starting Quorvan.exe under Wine (with the shipped Transponders
   folder) to its window being mapped, beside the same for floorwindow.exe (the floor: a bare
   window that first decodes the skin JPEG from memory through OleLoadPicture, as every start-up to the
   skinned window must) and barewindow.exe (a program that only opens a 512 x 384 popup), runs
   alternating, with a warm wineserver; Quorvan / floor (target at most 1.3), Quorvan / bare
   window, and the peak memory of each (VmHWM of the Wine process while it runs). Then where
   Quorvan's start-up time goes: the program built with QV_STARTUP_TRACE (build/win64-trace, made
   by make bench) notes the time each start-up step ended; medians of each step over as many runs.
2. The transponder lists benchmark (tools/bench_transponders.py).
3. The watching benchmark (tools/bench_watch.py).
4. Pitch mode's latency from the card's read to the tone's new pitch (tools/bench_pitch.py).
"""
import os
import shutil
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "tools"))
import quorvan_e2e as e2e  # noqa: E402
import startup_timing  # noqa: E402

RUNS = 20  # the floor alone varies by a sixth between runs of 10 on this shared machine
RATIO_TARGET = 1.3  # Quorvan / floor
QUORVAN, FLOOR, BARE = "Quorvan.exe", "floorwindow.exe", "barewindow.exe"
TOOLS = os.path.join(e2e.BUILD, "win64", "tools")
TRACED = os.path.join(e2e.BUILD, "win64-trace", "Quorvan.exe")
TRACE_FILE = "startup_trace.txt"


def prepare_folder():
    """A copy of dist/win64 with the floor and bare windows beside Quorvan.exe."""
    folder = os.path.join(e2e.BUILD, "bench", "startup")
    shutil.rmtree(folder, ignore_errors=True)
    shutil.copytree(e2e.PROGRAM_DIST, folder)
    for program in (FLOOR, BARE):
        shutil.copy(os.path.join(TOOLS, program), folder)
    return folder


def close(desktop, process, window, program):
    """WM_CLOSE: the test driver for Quorvan, Alt+F4 (which the system turns into WM_CLOSE) for the bare window."""
    env = e2e.wine_environment({"DISPLAY": desktop.display})
    if program == QUORVAN:
        subprocess.run(e2e.WINE + [e2e.DRIVER, "close"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    else:
        desktop.xdotool("windowfocus", "--sync", window)
        desktop.xdotool("key", "alt+F4")
    try:
        process.wait(20)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def one_start(desktop, watcher, folder, program):
    env = e2e.wine_environment({"DISPLAY": desktop.display})
    seconds, process, window = startup_timing.start_and_wait_for_window(
        watcher, e2e.WINE + [os.path.join(folder, program)], folder, env)
    time.sleep(1.0)  # let start-up finish (the tuner opens after the window shows)
    peak = startup_timing.peak_memory_kib(process.pid)
    close(desktop, process, window, program)
    return seconds, peak


def read_trace(path, started):
    """[(step, ms after the start)] from the traced program's notes."""
    with open(path) as trace:
        return [(step, (int(us) / 1e6 - started) * 1000) for step, us in (line.split() for line in trace)]


def startup_breakdown(desktop, watcher):
    """Medians of each start-up step of the traced program, with the map as the X server saw it."""
    if not os.path.exists(TRACED):
        return ["breakdown skipped: needs %s (make bench builds it)" % TRACED]
    folder = os.path.join(e2e.BUILD, "bench", "startup-trace")
    shutil.rmtree(folder, ignore_errors=True)
    shutil.copytree(e2e.PROGRAM_DIST, folder)
    shutil.copy(TRACED, os.path.join(folder, QUORVAN))
    env = e2e.wine_environment({"DISPLAY": desktop.display})
    steps = {}
    for run in range(RUNS + 1):  # the first warms up
        trace_path = os.path.join(folder, TRACE_FILE)
        if os.path.exists(trace_path):
            os.remove(trace_path)
        started = time.time()
        seconds, process, window = startup_timing.start_and_wait_for_window(
            watcher, e2e.WINE + [os.path.join(folder, QUORVAN)], folder, env)
        e2e.wait_for(lambda: os.path.exists(trace_path) and os.path.getsize(trace_path) > 0, 20, interval=0.05,
                     what=TRACE_FILE)
        time.sleep(0.2)
        close(desktop, process, window, QUORVAN)
        if run == 0:
            continue
        previous, shown = 0.0, 0.0
        for step, at in read_trace(trace_path, started) + [("mapped", seconds * 1000)]:
            steps.setdefault(step, []).append(at - (shown if step == "mapped" else previous))
            previous = at
            shown = at if step == "shown" else shown
    lines = ["where Quorvan's start-up goes (traced build, medians of %d runs, ms from the end of the step before;"
             " entry: from the start under Wine; mapped: after shown):" % RUNS]
    return lines + ["  %-13s %6.1f" % (step, statistics.median(durations)) for step, durations in steps.items()]


def startup_bench():
    print("== start-up: Quorvan beside the floor and a bare window ==")
    needed = [os.path.join(TOOLS, FLOOR), os.path.join(TOOLS, BARE), os.path.join(e2e.PROGRAM_DIST, QUORVAN)]
    if not all(map(os.path.exists, needed)):
        print("skipped: needs %s (make dist)" % ", ".join(needed))
        return
    folder = prepare_folder()
    desktop = e2e.Desktop(1024, 768)
    env = e2e.wine_environment({"DISPLAY": desktop.display})
    # A persistent wineserver for the whole benchmark, so no run pays for its start.
    subprocess.run(["wineserver", "-p60"], env=env)
    # Wine's own helper processes start here and inherit these streams: keep them quiet.
    subprocess.run(e2e.WINE + ["regsvr32", "/s", os.path.join(folder, "tunersim.ax")], env=env, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    watcher = startup_timing.MapWatcher(desktop.display)
    figures = {QUORVAN: [], FLOOR: [], BARE: []}
    peaks = {QUORVAN: [], FLOOR: [], BARE: []}
    try:
        breakdown = startup_breakdown(desktop, watcher)
        for program in figures:  # warm-up: file cache and the server's state
            one_start(desktop, watcher, folder, program)
        for _ in range(RUNS):
            for program in figures:
                seconds, peak = one_start(desktop, watcher, folder, program)
                figures[program].append(seconds * 1000)
                peaks[program].append(peak)
    finally:
        watcher.close()
        subprocess.run(["wineserver", "-k"], env=env)  # the persistent server, before its screen goes
        desktop.close()
    medians = {program: statistics.median(times) for program, times in figures.items()}
    for program, times in figures.items():
        print("%-15s start to window mapped: median %5.0f ms, fastest %5.0f ms (%s)" %
              (program, medians[program], min(times), " ".join("%.0f" % t for t in times)))
    for base, target in ((FLOOR, " (target at most %.1f)" % RATIO_TARGET), (BARE, "")):
        print("ratio Quorvan / %s: %.2f of the medians%s, %.2f of the fastest" %
              (base[:-4], medians[QUORVAN] / medians[base], target, min(figures[QUORVAN]) / min(figures[base])))
    print("peak memory, VmHWM of the Wine process 1 s after its window showed (resident, Wine's DLLs included):")
    for program, values in peaks.items():
        print("  %-15s median %6.1f MiB (%.1f-%.1f)" % (program, statistics.median(values) / 1024,
                                                       min(values) / 1024, max(values) / 1024))
    print("  Quorvan adds %.1f MiB to the bare window" % ((statistics.median(peaks[QUORVAN]) -
                                                          statistics.median(peaks[BARE])) / 1024))
    print("\n".join(breakdown))


def run_script(name):
    sys.stdout.flush()
    result = subprocess.run([sys.executable, os.path.join(ROOT, "tools", name)], cwd=ROOT)
    if result.returncode != 0:
        print("%s ended with code %d" % (name, result.returncode))


def main():
    startup_bench()
    run_script("bench_transponders.py")
    run_script("bench_watch.py")
    run_script("bench_pitch.py")
    return 0


if __name__ == "__main__":
    sys.exit(main())
