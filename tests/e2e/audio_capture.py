"""Recording what the program plays under Wine, and finding beeps and bursts in the recording.

A private PulseAudio server with a null sink takes Wine's output (winepulse.drv, reached through
PULSE_SERVER); parec records the sink's monitor. Python standard library only.
"""
import math
import os
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import wave

RATE = 22050
FRAME_S = 0.005  # analysis step
FRAME = int(RATE * FRAME_S)


class NullSink:
    """A PulseAudio server of our own with one null sink, and a recorder of its monitor."""

    def __init__(self, folder=None):
        self.folder = folder or tempfile.mkdtemp(prefix="qv-pulse-")
        os.makedirs(self.folder, exist_ok=True)
        self.socket = os.path.join(self.folder, "native")
        self.server = None
        self.recorder = None
        self.recording = None

    def _env(self):
        env = dict(os.environ)
        env.update(XDG_RUNTIME_DIR=self.folder, HOME=self.folder, PULSE_SERVER="unix:" + self.socket)
        return env

    def start(self, timeout=10.0):
        if shutil.which("pulseaudio") is None or shutil.which("parec") is None:
            raise RuntimeError("pulseaudio and parec are needed for audio capture")
        log = open(os.path.join(self.folder, "pulseaudio.log"), "wb")
        self.server = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
             "-L", "module-native-protocol-unix socket=%s auth-anonymous=1" % self.socket,
             "-L", "module-null-sink sink_name=nullsink"],
            env=self._env(), stdout=log, stderr=subprocess.STDOUT)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.server.poll() is not None:
                raise RuntimeError("pulseaudio ended at start; see %s/pulseaudio.log" % self.folder)
            probe = subprocess.run(["pactl", "list", "short", "sinks"], env=self._env(),
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
            if probe.returncode == 0 and b"nullsink" in probe.stdout:
                return self
            time.sleep(0.1)
        raise RuntimeError("pulseaudio did not offer the null sink within %.0f s" % timeout)

    def wine_environment(self):
        """Environment overrides that send a Wine program's sound to the null sink."""
        return {"PULSE_SERVER": "unix:" + self.socket, "XDG_RUNTIME_DIR": self.folder,
                "WINEDLLOVERRIDES": "mscoree,mshtml="}

    def start_recording(self, path):
        self.recording = path
        self.recorder = subprocess.Popen(
            ["parec", "--latency-msec=20", "-d", "nullsink.monitor", "--rate=%d" % RATE, "--channels=1",
             "--format=s16le", "--file-format=wav", path],
            env=self._env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.3)  # parec connects before the first sound

    def stop_recording(self):
        if self.recorder is not None:
            self.recorder.send_signal(signal.SIGINT)
            try:
                self.recorder.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.recorder.kill()
                self.recorder.wait()
            self.recorder = None
        return self.recording

    def close(self):
        self.stop_recording()
        if self.server is not None:
            self.server.terminate()
            try:
                self.server.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.server.kill()
                self.server.wait()
            self.server = None


def read_samples(path):
    """Mono 16-bit samples of a WAV file as floats in -1..1 (parec may leave the size unset)."""
    with open(path, "rb") as f:
        data = f.read()
    start = data.find(b"data")
    if start < 0:
        return []
    pcm = data[start + 8:]
    pcm = pcm[:len(pcm) // 2 * 2]
    return [s / 32768.0 for s in struct.unpack("<%dh" % (len(pcm) // 2), pcm)]


def frame_levels(samples):
    """RMS of each FRAME_S step."""
    levels = []
    for i in range(0, len(samples) - FRAME + 1, FRAME):
        chunk = samples[i:i + FRAME]
        levels.append(math.sqrt(sum(x * x for x in chunk) / FRAME))
    return levels


def tone_share(samples, freq):
    """Per step: the share of the step's energy at freq (Goertzel), 0..1."""
    coeff = 2.0 * math.cos(2.0 * math.pi * freq / RATE)
    shares = []
    for i in range(0, len(samples) - FRAME + 1, FRAME):
        s1 = s2 = 0.0
        energy = 0.0
        for x in samples[i:i + FRAME]:
            s0 = x + coeff * s1 - s2
            s2, s1 = s1, s0
            energy += x * x
        power = s1 * s1 + s2 * s2 - coeff * s1 * s2
        shares.append(min(1.0, 2.0 * power / (FRAME * energy)) if energy > 1e-9 else 0.0)
    return shares


def segments(flags, min_gap_steps=1, min_len_steps=1):
    """(start, end) step ranges where flags hold, joining gaps shorter than min_gap_steps."""
    runs = []
    start = None
    for i, on in enumerate(flags + [False]):
        if on and start is None:
            start = i
        elif not on and start is not None:
            runs.append([start, i])
            start = None
    joined = []
    for run in runs:
        if joined and run[0] - joined[-1][1] < min_gap_steps:
            joined[-1][1] = run[1]
        else:
            joined.append(run)
    return [(a, b) for a, b in joined if b - a >= min_len_steps]


def bursts(samples, threshold=0.01, min_gap_s=0.04, min_len_s=0.04):
    """Sounding stretches as (onset_s, end_s)."""
    levels = frame_levels(samples)
    runs = segments([v > threshold for v in levels], int(min_gap_s / FRAME_S), int(min_len_s / FRAME_S))
    return [(a * FRAME_S, b * FRAME_S) for a, b in runs]


def pips(samples, freq, share=0.5, threshold=0.01):
    """Stretches where freq carries most of a sounding step's energy, as (onset_s, end_s)."""
    levels = frame_levels(samples)
    shares = tone_share(samples, freq)
    flags = [lv > threshold and sh > share for lv, sh in zip(levels, shares)]
    runs = segments(flags, 2, 6)
    return [(a * FRAME_S, b * FRAME_S) for a, b in runs]


def group(stretches, max_gap_s):
    """Joins stretches that follow each other within max_gap_s: [(onset_s, end_s, count)]."""
    groups = []
    for onset, end in stretches:
        if groups and onset - groups[-1][1] <= max_gap_s:
            groups[-1] = (groups[-1][0], end, groups[-1][2] + 1)
        else:
            groups.append((onset, end, 1))
    return groups


def intervals(times):
    return [b - a for a, b in zip(times, times[1:])]


def median(values):
    ordered = sorted(values)
    if not ordered:
        return float("nan")
    mid = len(ordered) // 2
    return ordered[mid] if len(ordered) % 2 else (ordered[mid - 1] + ordered[mid]) / 2.0


def duration(path):
    with wave.open(path) as w:
        return w.getnframes() / float(w.getframerate())
