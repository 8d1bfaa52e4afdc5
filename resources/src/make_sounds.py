#!/usr/bin/env python3
"""Makes the sound recordings in resources/sounds/.

Digits: espeak-ng speaks each digit, sox trims the silence, fits the word into
MAX_WORD seconds (the voice cycle plays the units digit 500 ms after the tens digit, so a
longer word would be cut off), brings every word to one loudness and encodes MS-ADPCM
at 22050 Hz. TONE: sox synthesis, PCM at 8000 Hz, exactly 7024 samples. Birds: synthesised
here (frequency-swept partials with smooth envelopes), encoded like the digits. FOUND and WRONG,
the satellite check's sounds: sox synthesis, PCM at 22050 Hz; a short rising chime high above
the beep, and three low buzzes below every other sound.

Usage: make_sounds.py OUT_DIR WORK_DIR
"""
import math
import os
import struct
import subprocess
import sys
import wave

LANGUAGES = [("EN", "en"), ("DE", "de"), ("RU", "ru"), ("IT", "it"),
             ("CH", "cmn"), ("FR", "fr"), ("PL", "pl"), ("PR", "pt")]
RATE = 22050
MIN_WORD, MAX_WORD = 0.22, 0.47     # seconds, padding included
TARGET_RMS_DB = -17.0               # one loudness for every word and bird
BIRD_RMS_DB = -20.0                 # birds sing where the ear is most sensitive
PEAK_ROOM_DB = 3.0                  # headroom left for the ADPCM coder
ADPCM = ["-r", str(RATE), "-c", "1", "-e", "ms-adpcm"]


def run(args, capture=False):
    # sox dithers with a fresh random seed each run unless told to repeat itself.
    if args[0] == "sox":
        args = ["sox", "-R"] + args[1:]
    return subprocess.run(args, check=True, capture_output=capture, text=True)


def stats(path):
    """(duration s, RMS dB, peak dB) as sox measures them."""
    out = run(["sox", path, "-n", "stats"], capture=True).stderr
    values = {}
    for line in out.splitlines():
        parts = line.rsplit(None, 1)
        if len(parts) == 2:
            values[parts[0].strip()] = parts[1]
    return float(values["Length s"]), float(values["RMS lev dB"]), float(values["Pk lev dB"])


def level(src, dst, target=None):
    """Gain to the common RMS, with sox's limiter keeping the peaks below full scale.

    The ADPCM coder overshoots sharp peaks by a few dB, so the limiter works PEAK_ROOM_DB
    above the target and everything is turned down by that much afterwards."""
    _, rms, _ = stats(src)
    target = TARGET_RMS_DB if target is None else target
    run(["sox", src, dst, "gain", "-l", "%.2f" % (target + PEAK_ROOM_DB - rms),
         "gain", "%.2f" % -PEAK_ROOM_DB])


def make_digit(voice, digit, out_path, work):
    raw = os.path.join(work, "raw.wav")
    trimmed = os.path.join(work, "trimmed.wav")
    fitted = os.path.join(work, "fitted.wav")
    leveled = os.path.join(work, "leveled.wav")
    run(["espeak-ng", "-v", voice, "-s", "165", "-p", "42", "-w", raw, str(digit)])
    # A gentle high-pass and de-essing shelf take the buzz and hiss out of the synthetic voice.
    run(["sox", raw, "-r", str(RATE), "-c", "1", "-b", "16", trimmed,
         "highpass", "90", "treble", "-3", "6000",
         "silence", "1", "0.01", "0.4%", "reverse", "silence", "1", "0.01", "0.4%", "reverse"])
    length, _, _ = stats(trimmed)
    word = MAX_WORD - 0.04
    if length > word:
        run(["sox", trimmed, fitted, "tempo", "-s", "%.4f" % (length / word)])
    else:
        run(["sox", trimmed, fitted])
    length, _, _ = stats(fitted)
    tail = max(0.02, MIN_WORD - 0.02 - length)
    level(fitted, leveled)
    run(["sox", leveled] + ADPCM + [out_path, "fade", "t", "0.005", "-0", "0.01",
                                    "pad", "0.02", "%.3f" % tail])


def make_tone(out_path, work):
    """Three pips of 930 Hz, 0.1 s each, starting 0.16 s apart, then a 1390 Hz note
    that ends at 0.7 s; silence up to 7024 samples (14048 data bytes)."""
    pcm = ["-r", "8000", "-c", "1", "-b", "16", "-e", "signed-integer"]
    pip = os.path.join(work, "pip.wav")
    gap = os.path.join(work, "gap.wav")
    note = os.path.join(work, "note.wav")
    run(["sox", "-n"] + pcm + [pip, "synth", "0.1", "sine", "930", "sine", "1860",
                               "remix", "1v0.88,2v0.12", "fade", "h", "0.006", "0.1", "0.012", "gain", "-n", "-7"])
    run(["sox", "-n"] + pcm + [gap, "trim", "0", "0.06"])
    run(["sox", "-n"] + pcm + [note, "synth", "0.22", "sine", "1390", "sine", "2780",
                               "remix", "1v0.88,2v0.12", "fade", "h", "0.006", "0.22", "0.05", "gain", "-n", "-7"])
    run(["sox", pip, gap, pip, gap, pip, gap, note] + pcm +
        [out_path, "pad", "0", "0.3", "trim", "0s", "7024s"])


def make_cue(notes, out_path, work):
    """Notes (length s, Hz, gap after s) joined, each a sine with a little of its octave."""
    pcm = ["-r", str(RATE), "-c", "1", "-b", "16", "-e", "signed-integer"]
    parts = []
    for k, (length, freq, gap) in enumerate(notes):
        note = os.path.join(work, "cue%d.wav" % k)
        run(["sox", "-n"] + pcm + [note, "synth", "%.3f" % length, "sine", str(freq), "sine", str(2 * freq),
                                   "remix", "1v0.85,2v0.15", "fade", "h", "0.008", "%.3f" % length, "0.02",
                                   "gain", "-n", "-8", "pad", "0", "%.3f" % gap])
        parts.append(note)
    run(["sox"] + parts + pcm + [out_path])


# The position the stream names is the chosen one: two quick rising notes.
FOUND = [(0.09, 1760, 0.03), (0.14, 2350, 0.0)]
# It is another satellite: three low buzzes, longer than any other sound's notes.
WRONG = [(0.12, 500, 0.05), (0.12, 500, 0.05), (0.20, 440, 0.0)]


# Birds: each call is a list of notes (start s, length s, f0 Hz, f1 Hz, vibrato Hz, depth Hz).
BIRDS = [
    # two rising "tweets" and a falling tail
    [(0.00, 0.08, 3100, 4700, 0, 0), (0.13, 0.08, 3200, 4900, 0, 0),
     (0.26, 0.16, 4800, 3300, 38, 180)],
    # a quick descending trill
    [(0.03 * k * 1.6, 0.042, 5200 - 230 * k, 3900 - 180 * k, 0, 0) for k in range(10)],
    # a clear two-note whistle, high then lower
    [(0.00, 0.20, 3950, 3900, 6, 25), (0.26, 0.30, 3300, 3180, 6, 25)],
    # a warble that ends in a chip
    [(0.00, 0.40, 2700, 3400, 24, 420), (0.47, 0.05, 4600, 3600, 0, 0)],
]


def synth_bird(notes):
    length = max(start + dur for start, dur, *_ in notes) + 0.02
    samples = [0.0] * int(length * RATE)
    for start, dur, f0, f1, vib, depth in notes:
        n = int(dur * RATE)
        phase = 0.0
        first = int(start * RATE)
        for i in range(n):
            t = i / n
            freq = f0 * (f1 / f0) ** t + depth * math.sin(2 * math.pi * vib * i / RATE)
            phase += 2 * math.pi * freq / RATE
            envelope = math.sin(math.pi * t) ** 0.6 * (1 - 0.3 * t)
            value = math.sin(phase) + 0.18 * math.sin(2 * phase + 0.4) + 0.06 * math.sin(3 * phase)
            samples[first + i] += 0.55 * envelope * value
    return samples


def write_pcm(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", max(-32767, min(32767, int(s * 32767))))
                               for s in samples))


def make_bird(notes, out_path, work):
    raw = os.path.join(work, "bird.wav")
    leveled = os.path.join(work, "bird_leveled.wav")
    write_pcm(raw, synth_bird(notes))
    level(raw, leveled, BIRD_RMS_DB)
    run(["sox", leveled] + ADPCM + [out_path, "pad", "0.01", "0.01"])


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else "resources/sounds"
    work = sys.argv[2] if len(sys.argv) > 2 else "build/sounds"
    os.makedirs(out_dir, exist_ok=True)
    os.makedirs(work, exist_ok=True)
    for prefix, voice in LANGUAGES:
        for digit in range(10):
            path = os.path.join(out_dir, "%s%d.wav" % (prefix, digit))
            make_digit(voice, digit, path, work)
            print("%s %.3f s" % (path, stats(path)[0]))
    make_tone(os.path.join(out_dir, "TONE.wav"), work)
    for k, notes in enumerate(BIRDS):
        path = os.path.join(out_dir, "BIRD%d.wav" % k)
        make_bird(notes, path, work)
        print("%s %.3f s" % (path, stats(path)[0]))
    for name, notes in (("FOUND", FOUND), ("WRONG", WRONG)):
        path = os.path.join(out_dir, name + ".wav")
        make_cue(notes, path, work)
        print("%s %.3f s" % (path, stats(path)[0]))


if __name__ == "__main__":
    main()
