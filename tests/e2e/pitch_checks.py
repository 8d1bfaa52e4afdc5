"""Listening to Pitch mode: the tone's pitch cycle by cycle, when each reading is heard, clicks.

The card's trace counts milliseconds from the simulator's load; a thread that tails the trace file
notes when each line appears, and the earliest appearance beside its count (the least delay)
ties the trace to time.monotonic, which the recording's clock also uses. Python standard library only.
"""
import math
import os
import threading
import time

import audio_capture as audio

LOWEST_HZ, HIGHEST_HZ = 300.0, 1500.0
HARMONICS = [1.0, 0.5, 0.25, 0.12]  # the tone's waveform: a sine and three softer harmonics
PITCH_TOLERANCE = 0.03
SETTLED_CYCLES = 4   # a pitch is heard once this many cycles in a row are within the tolerance
DROPOUT_S = 0.002    # silence this long inside the tone is Wine's stream running dry, not the program


def pitch_hz(reading):
    """300 Hz at 1 to 1500 Hz at 100, evenly in musical steps."""
    if reading <= 0:
        return 0.0
    return LOWEST_HZ * (HIGHEST_HZ / LOWEST_HZ) ** ((min(reading, 100) - 1) / 99.0)


class TraceClock:
    """Tails the card's trace file and notes the monotonic time each line first appears."""

    def __init__(self, path, interval_s=0.002):
        self.path, self.interval_s = path, interval_s
        self.offsets = []  # seen time - trace time, seconds
        self.running = False
        self.thread = threading.Thread(target=self._tail, daemon=True)

    def start(self):
        self.running = True
        self.thread.start()
        return self

    def stop(self):
        self.running = False
        self.thread.join()
        return self

    def _tail(self):
        position, partial = 0, ""
        while self.running:
            if os.path.exists(self.path):
                with open(self.path) as f:
                    f.seek(position)
                    chunk = f.read()
                    position = f.tell()
                seen = time.monotonic()
                partial += chunk
                *lines, partial = partial.split("\n")
                for line in lines:
                    fields = line.split()
                    if fields and fields[0].isdigit():
                        self.offsets.append(seen - int(fields[0]) / 1000.0)
            time.sleep(self.interval_s)

    def offset(self):
        """Monotonic time of the trace's zero: the least delay between writing a line and seeing it."""
        if not self.offsets:
            raise AssertionError("no trace lines seen while tailing %s" % self.path)
        return min(self.offsets)


def level_changes(trace, monotonic_zero, recording_zero):
    """[(recording time, level)] of each ReadSignal whose level differs from the read before it (or from 0)."""
    changes, last = [], 0
    for fields in trace:
        if len(fields) >= 5 and fields[1] == "ReadSignal":
            level = int(fields[3])
            if level != last:
                changes.append((int(fields[0]) / 1000.0 + monotonic_zero - recording_zero, level))
            last = level
    return changes


def cycles(samples):
    """[(time s, frequency Hz)] of each cycle, between upward zero crossings (interpolated); the
    waveform crosses upward once a cycle. A cycle across a silent gap gives a low frequency."""
    crossings = []
    for i in range(1, len(samples)):
        a, b = samples[i - 1], samples[i]
        if a < 0.0 <= b:
            crossings.append((i - 1 + a / (a - b)) / audio.RATE)
    return [(t0, 1.0 / (t1 - t0)) for t0, t1 in zip(crossings, crossings[1:]) if t1 > t0]


def heard_at(pitches, start, end, hz):
    """The first time after start (before end) where SETTLED_CYCLES cycles in a row are within
    the tolerance of hz; None if never."""
    run = []
    for t, f in pitches:
        if t < start or t >= end:
            continue
        run = run + [t] if abs(f / hz - 1.0) <= PITCH_TOLERANCE else []
        if len(run) == SETTLED_CYCLES:
            return run[0]
    return None


def median_pitch(pitches, start, end):
    return audio.median([f for t, f in pitches if start <= t < end])


def steps_heard(changes, pitches, end):
    """For each level change [(recording time, level)]: (level, expected Hz, seconds from the read to the
    new pitch heard or None, the median pitch once settled), each step up to the next one or end."""
    ends = [t for t, _ in changes[1:]] + [end]
    steps = []
    for (read, level), until in zip(changes, ends):
        expected = pitch_hz(level)
        heard = heard_at(pitches, read - 0.1, until, expected)
        settled = median_pitch(pitches, heard + 0.2, until - 0.1) if heard is not None else float("nan")
        steps.append((level, expected, None if heard is None else heard - read, settled))
    return steps


def waveform_step(hz, peak):
    """The largest step between neighbouring samples that the waveform makes at hz and peak."""
    def wave(phase):
        return sum(a * math.sin(2 * math.pi * (k + 1) * phase) for k, a in enumerate(HARMONICS))
    shape = [wave(i / 2000.0) for i in range(2000)]
    top = max(abs(v) for v in shape)
    step = hz / audio.RATE
    return peak / top * max(abs(wave(i / 2000.0 + step) - wave(i / 2000.0)) for i in range(2000))


def clicks(samples, bound, edge=3):
    """Indices where neighbouring samples jump by more than bound, outside Wine's dropouts (a
    stretch of DROPOUT_S or more of silence, which the null sink fills in; its edges, smeared by
    resampling, are left out by edge samples)."""
    gap = int(DROPOUT_S * audio.RATE)
    excluded = set()
    run = 0
    for i, x in enumerate(samples + [1.0]):
        if abs(x) < 1e-4:
            run += 1
            continue
        if run >= gap:
            for centre in (i - run, i):
                excluded.update(range(centre - edge, centre + edge + 1))
        run = 0
    return [i for i in range(1, len(samples))
            if abs(samples[i] - samples[i - 1]) > bound and i not in excluded]
