"""Listening to recordings of the program: which of its sounds played, when, and the recording's clock.

Under load Wine's audio stream runs dry now and then and the null sink fills the gap with silence,
so a sound may come out stretched and in pieces. What stays true is its mix of frequencies: each
sound is recognised by its average spectrum over the frames that sound, compared with the program's
own recordings (resources/sounds, decoded with sox), and times are measured as onsets of sounds.
Python standard library only (sox decodes the ADPCM recordings).
"""
import math
import os
import subprocess
import time

import audio_capture as audio
from quorvan_e2e import ROOT, RUNS

SOUNDS = os.path.join(ROOT, "resources", "sounds")
LANGUAGE_PREFIXES = ["EN", "DE", "RU", "IT", "CH", "FR", "PL", "PR"]  # by language index
BIRDS = ["BIRD0", "BIRD1", "BIRD2", "BIRD3"]
SOUNDING = 0.01          # frame RMS above which a frame counts as sound
PROFILE_STEP_HZ = 150
PROFILE_BANDS = 39       # 150 .. 5850 Hz
PROFILE_FRAME = 220      # 10 ms


def seconds_to_index(t):
    return max(0, int(round(t * audio.RATE)))


class Recording:
    """parec's recording of the null sink, with a clock that turns wall times into recording times."""

    def __init__(self, sink, path):
        self.sink, self.path = sink, path
        self.samples = None
        self.wall_at_zero = None

    def start(self, timeout=15.0):
        self.sink.start_recording(self.path)
        # parec may take a while to connect under load; tie the clock to the first data it writes.
        deadline = time.monotonic() + timeout
        while True:
            size = os.path.getsize(self.path) if os.path.exists(self.path) else 0
            if size > 8192:
                now = time.monotonic()
                with open(self.path, "rb") as f:
                    head = f.read(256)
                data_start = head.find(b"data") + 8
                self.wall_at_zero = now - (size - data_start) / 2.0 / audio.RATE
                return self
            if time.monotonic() > deadline:
                raise AssertionError("parec wrote no sound data within %.0f s" % timeout)
            time.sleep(0.02)

    def now(self):
        """The recording time of this moment."""
        return time.monotonic() - self.wall_at_zero

    def stop(self):
        self.sink.stop_recording()
        self.samples = audio.read_samples(self.path)
        return self

    def sounding(self, start=0.0, end=None):
        """Frames (FRAME_S each) that sound between two recording times."""
        levels = audio.frame_levels(self.samples[seconds_to_index(start):
                                                 None if end is None else seconds_to_index(end)])
        return sum(1 for level in levels if level > SOUNDING)

    def sounded_until(self, start, end):
        """The end of the last sounding frame between two recording times; start when none sounds."""
        first = seconds_to_index(start) // audio.FRAME
        levels = audio.frame_levels(self.samples[first * audio.FRAME:seconds_to_index(end)])
        sounding = [k for k, level in enumerate(levels) if level > SOUNDING]
        return (first + sounding[-1] + 1) * audio.FRAME_S if sounding else start

    def onsets(self, start=0.0, end=None, quiet_s=0.04):
        """Times where sound begins after at least quiet_s of silence."""
        offset = seconds_to_index(start)
        part = self.samples[offset:None if end is None else seconds_to_index(end)]
        return [start + onset for onset, _ in audio.bursts(part, SOUNDING, quiet_s, 0.02)]

    def profile(self, start, end):
        return profile(self.samples[seconds_to_index(start):seconds_to_index(end)])

    def pips(self, freq):
        return audio.pips(self.samples, freq)


def profile(samples):
    """Average power spectrum of the sounding frames, in dB relative to the total; None if silent."""
    coefficients = [2.0 * math.cos(2.0 * math.pi * PROFILE_STEP_HZ * (k + 1) / audio.RATE)
                    for k in range(PROFILE_BANDS)]
    totals = [0.0] * PROFILE_BANDS
    frames = 0
    for i in range(0, len(samples) - PROFILE_FRAME + 1, PROFILE_FRAME):
        frame = samples[i:i + PROFILE_FRAME]
        if math.sqrt(sum(x * x for x in frame) / PROFILE_FRAME) < SOUNDING:
            continue
        frames += 1
        for k, c in enumerate(coefficients):
            s1 = s2 = 0.0
            for x in frame:
                s1, s2 = x + c * s1 - s2, s1
            totals[k] += s1 * s1 + s2 * s2 - c * s1 * s2
    whole = sum(totals)
    if frames == 0 or whole <= 0:
        return None
    return [10.0 * math.log10(v / whole + 1e-6) for v in totals]


def distance(a, b):
    return math.sqrt(sum((x - y) ** 2 for x, y in zip(a, b)) / len(a))


_templates = {}


def template(name):
    """The profile of one of the program's recordings, decoded from resources/sounds."""
    if name not in _templates:
        folder = os.path.join(RUNS, "sound-templates")
        os.makedirs(folder, exist_ok=True)
        decoded = os.path.join(folder, name + ".wav")
        subprocess.run(["sox", os.path.join(SOUNDS, name + ".wav"), "-r", str(audio.RATE), "-c", "1", "-b", "16",
                        "-e", "signed-integer", decoded], check=True)
        _templates[name] = profile(audio.read_samples(decoded))
    return _templates[name]


def recognise(heard, candidates):
    """The candidate whose recording sounds most like heard, and how far the next best is behind
    (in dB): (name, margin). ("silence", 0) when nothing sounded."""
    if heard is None:
        return "silence", 0.0
    ranked = sorted((distance(heard, template(name)), name) for name in candidates)
    return ranked[0][1], ranked[1][0] - ranked[0][0]


def zeros():
    return [prefix + "0" for prefix in LANGUAGE_PREFIXES]


def digits(language):
    return ["%s%d" % (LANGUAGE_PREFIXES[language], d) for d in range(10)]


def median(values):
    return audio.median(values)
