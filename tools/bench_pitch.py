#!/usr/bin/env python3
"""Pitch mode benchmark: prints figures, asserts nothing.

The program watches in Pitch mode under Wine while the simulated card's script steps the level
through 20, 40, 60 and 80 % every second; its sound goes to a PulseAudio null sink of our own and
is recorded. For each step: the time from the card's trace saying it read the new level to the
tone reaching that level's pitch (within 3 %), and the pitch it settles at. Prints the median and
longest time (target: median at most 150 ms). Then, in a program run of its own (sound through Wine
and the null sink comes a few ms later for every second a program has run, in every mode), ten
starts and stops: how long the tone goes on after the stop button's press (target: nothing heard
100 ms after it). Needs a built dist (make dist), a Wine prefix
(make prefix), PulseAudio and parec; Python standard library only.
"""
import os
import shutil
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import audio_capture as audio  # noqa: E402
import pitch_checks as pitch  # noqa: E402
import quorvan_e2e as e2e  # noqa: E402
import sound_checks as listen  # noqa: E402
from test_sound import PITCH, START_BUTTON, settings_bytes  # noqa: E402

STEPS = 24
STEP_MS = 1000
NO_SIGNAL_MS = 3000  # the first sound of a process may start a second late
LEVELS = [20, 40, 60, 80]
TARGET_MS = 150
STOPS = 10
STOP_TARGET_MS = 100


def open_run(desktop, sink, name, script):
    run = e2e.Run(desktop, name, script=script, files={"qvnth.dat": settings_bytes(sound=PITCH)},
                  environment=sink.wine_environment(), runs=os.path.join(e2e.BUILD, "bench"))
    run.start()
    time.sleep(0.5)
    return run, listen.Recording(sink, run.path("sound.wav"))


def record_steps(desktop, sink):
    script = [(NO_SIGNAL_MS + k * STEP_MS, 1, LEVELS[k % len(LEVELS)], 10) for k in range(STEPS)]
    run, rec = open_run(desktop, sink, "bench-pitch", script)
    try:
        trace = pitch.TraceClock(run.trace_path).start()
        rec.start()
        run.click(*START_BUTTON, pause=0)
        time.sleep((NO_SIGNAL_MS + STEPS * STEP_MS) / 1000.0 + 0.5)
        stopped = press(run, rec)
        time.sleep(0.5)
        rec.stop()
        trace.stop()
    finally:
        run.stop()
    changes = pitch.level_changes(run.trace(), trace.offset(), rec.wall_at_zero)
    return pitch.steps_heard(changes, pitch.cycles(rec.samples), stopped)


def record_stops(desktop, sink):
    """Seconds the tone goes on after each press of stop, of the watches whose tone sounded before it (the
    first start and stop only wake the audio)."""
    run, rec = open_run(desktop, sink, "bench-pitch-stops", [(0, 1, 50, 10)])
    try:
        rec.start()
        stops = []
        for _ in range(STOPS + 1):
            press(run, rec)
            time.sleep(0.8)
            stops.append(press(run, rec))
            time.sleep(1.0)
        rec.stop()
    finally:
        run.stop()
    sounding = [stop for stop in stops[1:] if rec.sounding(stop - 0.3, stop) > 0]  # a watch's sound may start late
    return [rec.sounded_until(stop - 0.3, stop + 0.9) - stop for stop in sounding]


def press(run, rec):
    """A press on the start button with the pointer already there: the recording time just before it."""
    run.move(*START_BUTTON)
    time.sleep(0.05)
    pressed = rec.now()
    run.desktop.xdotool("click", "1")
    return pressed


def main():
    print("== Pitch mode: from the card's read to the tone at the new pitch ==")
    missing = [tool for tool in ("pulseaudio", "parec", "pactl") if shutil.which(tool) is None]
    if missing or not os.path.exists(os.path.join(e2e.PROGRAM_DIST, "Quorvan.exe")):
        print("skipped: needs %s" % (", ".join(missing) or "a built dist (make dist)"))
        return
    desktop = e2e.Desktop()
    sink = audio.NullSink(os.path.join(e2e.BUILD, "bench", "pulse-pitch")).start()
    try:
        steps = record_steps(desktop, sink)
        tails = record_stops(desktop, sink)
    finally:
        sink.close()
        desktop.close()
    heard = [latency * 1000 for _, _, latency, _ in steps if latency is not None]
    off = [abs(got / expected - 1) * 100 for _, expected, latency, got in steps if latency is not None]
    print("  steps heard: %d of %d" % (len(heard), len(steps)))
    if heard:
        print("  latency: median %.0f ms, longest %.0f ms (target: median at most %d ms)"
              % (listen.median(heard), max(heard), TARGET_MS))
        print("  each step (ms): %s" % " ".join("%.0f" % t for t in heard))
        print("  settled pitch: at most %.2f %% from the curve" % max(off))
    tails = [tail * 1000 for tail in tails]
    if not tails:
        print("  tone after a stop's press: no watch sounded before its stop")
        return
    print("  tone after a stop's press: median %.0f ms, longest %.0f ms over %d stops (target: nothing heard "
          "after %d ms) (%s)" % (listen.median(tails), max(tails), len(tails), STOP_TARGET_MS,
                                 " ".join("%.0f" % t for t in tails)))


if __name__ == "__main__":
    sys.exit(main())
