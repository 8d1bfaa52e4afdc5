#!/usr/bin/env python3
"""Endurance run (make soak, minutes): the real program under Wine on the simulated card, used as an
installer would use it for an afternoon, with figures printed at the start and the end of each part.

1. One program run on the card's panned dish: 300 watch start/stop cycles, READING pressed while
   watching (its paint runs beside the meter's frames), the sound mode moved on after each stop, so
   every one of the six modes is watched 50 times. Its sound goes to a PulseAudio null sink of our own
   (where PulseAudio is installed), so Pitch opens and closes a real sound device each time.
2. One program run on a card script holding an hour of the panned dish compressed: each of the hour's
   180 passes across the satellite (a lock gained, a level rising and falling, the lock lost and the
   card retuned) in 0.8 s, one script line per read of the card (the program reads every 100 ms, so
   shorter lines would go unseen): 2.4 minutes of watching.
3. 100 program starts and closes in one folder.
4. The same on the simulated BDA tuner alone (the maker's card unregistered): 100 watch cycles in one
   program run, then 30 starts and closes, each of which builds, runs, stops and releases the tuner's
   graph (the tuner's trace must end each run with the graph's stop and the filter's last release).

Figures: the Wine process's resident memory (VmRSS), the program's open handles and GDI objects
(counted from outside by the test driver), ReadSignal calls against the time watched, and every
log.txt marker sequence that was not complete. Waits are for conditions on the screen, in the card's
trace or of the process; the only pauses kept are the system's double-click time between two presses
on one button. Exit code 1 when a goal is missed: growth beyond 1 MiB of memory or any in handles or GDI
objects within a program run, a hang, an incomplete marker sequence.
"""
import os
import shutil
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import audio_capture as audio  # noqa: E402
from quorvan_e2e import BUILD, Run, wait_for  # noqa: E402
from test_watching import (DOUBLE_CLICK_GAP, MARKERS, OK, READING, RESTING, SETTINGS_READING,  # noqa: E402
                           SETTINGS_SOUND, SOUND, START, FramebufferDesktop, settings_bytes)
from test_bda import TUNER_NOTE  # noqa: E402

# QV_SOAK_SCALE=0.05 shortens every part for trying the run itself out.
SCALE = float(os.environ.get("QV_SOAK_SCALE", "1"))
WATCH_CYCLES = max(2, int(300 * SCALE))
SOUND_MODES = ["Auto", "Tone", "Voice", "Mute", "Birds", "Pitch"]
PROGRAM_STARTS = max(2, int(100 * SCALE))
HOUR_PASSES = max(2, int(180 * SCALE))         # the panned dish crosses the satellite every 20 s
BDA_WATCH_CYCLES = max(2, int(100 * SCALE))
BDA_PROGRAM_STARTS = max(2, int(30 * SCALE))
LINE_MS = 100              # one script line per read of the card
PASS_LEVELS = [(0, 0, 0), (0, 0, 0), (1, 35, 12), (1, 70, 48), (1, 97, 90), (1, 72, 50), (1, 38, 15), (1, 24, 4)]
MEMORY_GOAL_KIB = 1024
HANG_S = 20                # longer than any start, stop or close may take on a loaded machine
LEAD_IN_MS = 8000          # steady signal first: the script's time runs from the warm-up watch's tune


class Hang(Exception):
    pass


def hour_script():
    lines = ["0 1 50 30\n"]
    for step in range(HOUR_PASSES * len(PASS_LEVELS)):
        lock, level, quality = PASS_LEVELS[step % len(PASS_LEVELS)]
        lines.append("%d %d %d %d\n" % (LEAD_IN_MS + step * LINE_MS, lock, level, quality))
    return "".join(lines)


def resident_kib(run):
    with open("/proc/%d/status" % run.process.pid) as status:
        return next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))


def figures(run):
    counts = run.driver("resources")
    return {"rss": resident_kib(run), "handles": counts["handles"], "gdi": counts["gdi"], "kinds": counts["gdiKinds"]}


def show(label, values):
    print("  %-34s resident %7d KiB, handles %4d, GDI objects %4d" % (label, values["rss"], values["handles"],
                                                                      values["gdi"]), flush=True)


class Trace:
    """The card's trace read as it grows: ReadSignal calls counted once each."""

    def __init__(self, run):
        self.path, self.offset, self.reads, self.last_ms = run.trace_path, 0, 0, None

    def poll(self):
        if not os.path.exists(self.path):
            return self.reads
        with open(self.path) as f:
            f.seek(self.offset)
            text = f.read()
        complete = text[:text.rfind("\n") + 1]
        self.offset += len(complete.encode())
        for line in complete.splitlines():
            fields = line.split()
            if len(fields) > 1:
                self.last_ms = int(fields[0])
                self.reads += fields[1] == "ReadSignal"
        return self.reads


class Soak:
    def __init__(self, desktop):
        self.desktop = desktop
        self.failures = []
        self.marker_faults = []
        self.last_press = {}

    def until(self, condition, what, timeout=HANG_S):
        try:
            return wait_for(condition, timeout, interval=0.02, what=what)
        except AssertionError as error:
            raise Hang(str(error))

    def lists_shown(self, run):
        x, y = run.origin[0] + 340, run.origin[1] + 124  # inside the satellite list: white while it shows
        return all(c > 240 for c in self.desktop.grab(x, y, 1, 1).pixel(0, 0))

    def press(self, run, point):
        # A second press on one button within the double-click time would be a double click.
        wait = DOUBLE_CLICK_GAP - (time.monotonic() - self.last_press.get(point, -DOUBLE_CLICK_GAP))
        if wait > 0:
            time.sleep(wait)
        run.click(*point, pause=0)
        self.last_press[point] = time.monotonic()
        run.move(*RESTING)

    def strip(self, run, box):
        x, y, width, height = box
        return self.desktop.grab(run.origin[0] + x, run.origin[1] + y, width, height).data

    def watch_once(self, run, trace, what, reads=1, reading=False):
        """Start, that many new reads of the card, stop, the lists back. Gives the seconds watched.
        reading: READING is pressed while watching, so the settings strip is painted beside the meter's frames."""
        before = trace.poll()
        self.press(run, START)
        self.until(lambda: not self.lists_shown(run), "the meter after start (%s)" % what)
        started = time.monotonic()
        if reading:
            shown = self.strip(run, SETTINGS_READING)
            self.press(run, READING)
            self.until(lambda: self.strip(run, SETTINGS_READING) != shown, "the other reading (%s)" % what)
        self.until(lambda: trace.poll() >= before + reads, "%d reads of the card (%s)" % (reads, what))
        self.press(run, START)
        watched = time.monotonic() - started
        self.until(lambda: self.lists_shown(run), "the lists after stop (%s)" % what)
        return watched

    def close(self, run, what, log_start=b""):
        run.driver("close")
        try:
            code = run.process.wait(HANG_S)
        except Exception:
            raise Hang("%s did not end within %d s of WM_CLOSE" % (what, HANG_S))
        log = run.read("log.txt") if run.exists("log.txt") else b""
        if code != 0 or log != log_start + MARKERS + OK:
            self.marker_faults.append("%s: exit code %s, log.txt %r" % (what, code, log))

    def compare(self, part, first, last):
        grown = {key: last[key] - first[key] for key in ("rss", "handles", "gdi")}
        kinds = {kind: last["kinds"].get(kind, 0) - first["kinds"].get(kind, 0)
                 for kind in set(first["kinds"]) | set(last["kinds"])}
        print("  growth: resident %+d KiB, handles %+d, GDI objects %+d (%s)" % (
            grown["rss"], grown["handles"], grown["gdi"],
            ", ".join("%s %+d" % (kind, n) for kind, n in sorted(kinds.items()) if n) or "no kind changed"), flush=True)
        if grown["rss"] > MEMORY_GOAL_KIB or grown["handles"] > 0 or grown["gdi"] > 0:
            self.failures.append("%s: growth beyond the goal %r" % (part, grown))

    def open_run(self, name, script=None, sound=3, environment=None, bda=False):
        run = Run(self.desktop, name, script=script, files={"qvnth.dat": settings_bytes(sound=sound)},
                  environment=environment, register_card=not bda, bda=bda)
        self.runs.append(run)
        return run

    def watch_cycles(self):
        print("1. %d watch start/stop cycles on the panned dish, sound mode moved on after each" % WATCH_CYCLES,
              flush=True)
        run = self.open_run("soak-cycles", sound=0, environment=self.sink.wine_environment() if self.sink else None)
        run.start()
        run.move(*RESTING)
        trace = Trace(run)
        show("window shown:", figures(run))
        began = time.monotonic()
        watched = 0
        # The start figures follow one watch in every mode, so they include what each mode's first use
        # sets up once and keeps (Pitch's first sound device brings the system's audio threads).
        warm_cycle = min(len(SOUND_MODES), WATCH_CYCLES)
        for cycle in range(1, WATCH_CYCLES + 1):
            mode = SOUND_MODES[(cycle - 1) % len(SOUND_MODES)]
            # Stops land on different phases of the sound thread: one to five reads watched.
            watched += self.watch_once(run, trace, "cycle %d, %s" % (cycle, mode), reads=1 + cycle % 5, reading=True)
            before = self.strip(run, SETTINGS_SOUND)
            self.press(run, SOUND)
            self.until(lambda: self.strip(run, SETTINGS_SOUND) != before, "the next sound mode after cycle %d" % cycle)
            if cycle == warm_cycle:
                warm = figures(run)
                show("after cycle %d (start):" % cycle, warm)
            elif cycle % 50 == 0:
                show("after cycle %d:" % cycle, figures(run))
        end = figures(run)
        show("after cycle %d (end):" % WATCH_CYCLES, end)
        self.compare("watch cycles", warm, end)
        print("  %d cycles in %.0f s; ReadSignal %d calls in %.1f s watched (%.2f a second)" % (
            WATCH_CYCLES, time.monotonic() - began, trace.poll(), watched, trace.reads / watched), flush=True)
        self.close(run, "watch cycles' run")

    def hour(self):
        script = hour_script()
        script_ms = HOUR_PASSES * len(PASS_LEVELS) * LINE_MS
        print("2. an hour of the panned dish compressed into %.0f s of watching (%d passes, a line per read)" % (
            script_ms / 1000, HOUR_PASSES), flush=True)
        run = self.open_run("soak-hour", script=script)
        run.start()
        run.move(*RESTING)
        trace = Trace(run)
        # One cycle first, so the start figures include what the first watch sets up once.
        self.watch_once(run, trace, "the hour's warm-up")
        start = figures(run)
        show("before the hour (start):", start)
        reads = trace.poll()
        tunes_before = len(run.calls("Tune"))
        # The script's time counts from the card's first tune, in the warm-up watch.
        end_ms = int(run.calls("Tune")[0][0]) + LEAD_IN_MS + script_ms + 1000
        self.press(run, START)
        self.until(lambda: not self.lists_shown(run), "the meter at the hour's start")
        started = time.monotonic()
        self.until(lambda: trace.poll() is not None and trace.last_ms >= end_ms, "the end of the compressed hour",
                   timeout=(LEAD_IN_MS + script_ms) / 1000 + 120)
        middle = figures(run)
        self.press(run, START)
        watched = time.monotonic() - started
        self.until(lambda: self.lists_shown(run), "the lists after the hour")
        end = figures(run)
        show("while watching, at the hour's end:", middle)
        show("after the hour (end):", end)
        self.compare("hour", start, end)
        print("  ReadSignal %d calls in %.1f s watched (%.2f a second); %d tunes (retunes after lost locks)" % (
            trace.poll() - reads, watched, (trace.reads - reads) / watched, len(run.calls("Tune")) - tunes_before),
            flush=True)
        self.close(run, "hour's run")

    def program_starts(self):
        print("3. %d program starts and closes in one folder" % PROGRAM_STARTS, flush=True)
        run = self.open_run("soak-starts")
        first = None
        began = time.monotonic()
        for number in range(1, PROGRAM_STARTS + 1):
            try:
                run.start(timeout=HANG_S)
            except AssertionError as error:
                raise Hang("start %d: %s" % (number, error))
            if number in (1, PROGRAM_STARTS):
                values = figures(run)
                show("start %d, window shown:" % number, values)
                first = first or values
            self.close(run, "start %d" % number)
        print("  %d starts and closes in %.0f s" % (PROGRAM_STARTS, time.monotonic() - began), flush=True)
        if first and values["rss"] - first["rss"] > MEMORY_GOAL_KIB:
            self.failures.append("program starts: the last start's memory %+d KiB over the first's" % (
                values["rss"] - first["rss"]))

    def bda_tuner(self):
        print("4. the BDA tuner: %d watch cycles in one run, then %d starts and closes" % (
            BDA_WATCH_CYCLES, BDA_PROGRAM_STARTS), flush=True)
        run = self.open_run("soak-bda", script="0 1 60 40\n", bda=True)
        run.start()
        run.move(*RESTING)
        trace = Trace(run)
        self.watch_once(run, trace, "the BDA tuner's warm-up")
        start = figures(run)
        show("after the warm-up watch (start):", start)
        for cycle in range(1, BDA_WATCH_CYCLES + 1):
            self.watch_once(run, trace, "BDA cycle %d" % cycle, reads=1 + cycle % 5)
        end = figures(run)
        show("after cycle %d (end):" % BDA_WATCH_CYCLES, end)
        self.compare("BDA watch cycles", start, end)
        self.close(run, "BDA watch cycles' run", TUNER_NOTE)
        for number in range(1, BDA_PROGRAM_STARTS + 1):
            try:
                run.start(timeout=HANG_S)
            except AssertionError as error:
                raise Hang("BDA start %d: %s" % (number, error))
            self.close(run, "BDA start %d" % number, TUNER_NOTE)
        ends = [line[1] for line in run.trace() if line[1] in ("Stop", "Release")]
        print("  graph stops %d and last releases %d in %d program runs" % (
            ends.count("Stop"), ends.count("Release"), BDA_PROGRAM_STARTS + 1), flush=True)
        if ends != ["Stop", "Release"] * (BDA_PROGRAM_STARTS + 1):
            self.failures.append("BDA tuner: the graph was not stopped and released once per run: %r" % ends)

    def main(self):
        self.runs = []
        self.sink = None
        if shutil.which("pulseaudio") and shutil.which("pactl"):
            self.sink = audio.NullSink(os.path.join(BUILD, "soak-pulse")).start()
        else:
            print("no PulseAudio: the watch cycles run without a sound device", flush=True)
        try:
            for part in (self.watch_cycles, self.hour, self.program_starts, self.bda_tuner):
                try:
                    part()
                except Hang as hang:
                    print("  HANG: %s" % hang, flush=True)
                    self.failures.append("hang: %s" % hang)
        finally:
            for run in self.runs:
                run.stop()
            if self.sink:
                self.sink.close()
        print("incomplete marker sequences: %s" % (len(self.marker_faults) if self.marker_faults else "none"))
        for fault in self.marker_faults:
            print("  " + fault)
        for failure in self.failures:
            print("goal missed: " + failure)
        print("soak: %s" % ("goals met" if not self.failures and not self.marker_faults else "goals MISSED"))
        return 1 if self.failures or self.marker_faults else 0


def main():
    if not os.path.exists(os.path.join(ROOT, "tests", "e2e")):
        raise SystemExit("no tests/e2e beside tools")
    desktop = FramebufferDesktop()
    try:
        return Soak(desktop).main()
    finally:
        desktop.close()


if __name__ == "__main__":
    sys.exit(main())
