"""Audible feedback as a listener hears it: Wine's sound goes to a PulseAudio null sink of our own,
parec records it, and the recording is checked for which of the program's sounds played and when.

The first sound of a process starts late and onsets jitter, so paces are medians of several periods.
"""
import math
import os
import shutil
import struct
import time
import unittest

import audio_capture as audio
import pitch_checks as pitch
import sound_checks as listen
from quorvan_e2e import LONG, RUNS, QuorvanTest, wait_for

MISSING = [tool for tool in ("pulseaudio", "parec", "pactl", "sox") if shutil.which(tool) is None]
SKIP_REASON = "audio capture needs %s (make deps installs them)" % ", ".join(MISSING)

# Window positions (client pixels).
START_BUTTON = (422, 145)
SOUND_BUTTON = (132, 350)
READING_BUTTON = (207, 350)
LANGUAGE_BUTTON = (60, 350)
DOUBLE_CLICK_STEP = 8   # pixels: two presses further apart than Windows' 4 are never a double click

AUTO, TONE, VOICE, MUTE, BIRDS, PITCH = range(6)
ENGLISH, FRENCH = 0, 5
LEVEL, QUALITY = 0, 1
PACE_SLACK_S = 0.1      # allowed error of a median period
CLICK_SPACING_S = 2.5   # between sound-mode clicks while idle: room for a late first sound
STOP_SLACK_S = 1.0      # a sound asked for just before the thread ended may start this late
# A sound thread that never sleeps takes a whole core on an idle machine and still a good share of
# one on a loaded one; watching costs the program about one per cent.
SPIN_CPU_SHARE = 0.1
PITCH_RAMP = [20, 40, 60, 80]
PITCH_STEP_MS = 1500
# From the card's read to the new pitch heard: the steps' median, since Wine's audio holds up a step now and
# then on a loaded machine (each step must still be heard before the next).
PITCH_LATENCY_S = 0.2
AFTER_STOP_S = 0.1
STOP_REPEATS = 5
WINE_SKIP_EVERY_S = 4.0  # at most one jump this often from Wine's skips in a recording of the tone


def settings_bytes(language=ENGLISH, sound=AUTO, reading=LEVEL):
    """19.2e, 11778 MHz (Ku high band) on LNB2, the given language, sound mode and reading."""
    record = bytearray(256)
    struct.pack_into("<6i", record, 0, language, sound, 2, 192, 11778000, reading)
    struct.pack_into("<6i", record, 80, 0, 0, 0, 0, 1000, 1200)
    return bytes(record)


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")  # utime, stime


def locked(level, quality):
    return [(0, 1, level, quality)]


def tone_starts(pips, min_period_s=0.9):
    """Beeps as [onset, pip count]: pips within min_period_s of a beep's first pip belong to it."""
    beeps = []
    for onset, _ in pips:
        if beeps and onset - beeps[-1][0] < min_period_s:
            beeps[-1][1] += 1
        else:
            beeps.append([onset, 1])
    return beeps


def cycles(onsets, min_period_s):
    """Groups onsets into cycles that start at least min_period_s apart: [[onset, ...], ...]."""
    groups = []
    for onset in onsets:
        if groups and onset - groups[-1][0] < min_period_s:
            groups[-1].append(onset)
        else:
            groups.append([onset])
    return groups


@unittest.skipIf(MISSING, SKIP_REASON)
class SoundTest(QuorvanTest):
    """Base: one private PulseAudio server per class; every run's sound goes to its null sink."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.sink = None
        folder = os.path.join(RUNS, "pulse-" + cls.__name__)
        shutil.rmtree(folder, ignore_errors=True)
        try:
            cls.sink = audio.NullSink(folder).start()
        except Exception:
            cls.desktop.close()
            raise

    @classmethod
    def tearDownClass(cls):
        if cls.sink is not None:
            cls.sink.close()
        super().tearDownClass()

    def open_sound_run(self, script=None, **settings):
        run = self.open_run(script=script, files={"qvnth.dat": settings_bytes(**settings)},
                            environment=self.sink.wine_environment())
        run.start()
        time.sleep(0.5)  # start-up painting settles before the clicks
        return run

    def record(self, run):
        return listen.Recording(self.sink, run.path("sound.wav")).start()

    def click_at(self, run, rec, point, at=None):
        """Clicks at a recording time (when given) and returns the recording time of the click.
        Clicks go alternately left and right of the point, so two quick ones are never a double click
        (which would open the signal log while watching, and lose the second press while idle)."""
        if at is not None:
            self.wait_until(rec, at)
        self.clicks = getattr(self, "clicks", 0) + 1
        clicked = rec.now()
        run.click(point[0] + (DOUBLE_CLICK_STEP if self.clicks % 2 else -DOUBLE_CLICK_STEP), point[1], pause=0)
        return clicked

    def press_at(self, run, rec, point, at):
        """A press with the pointer already in place: the recording time just before the button goes down."""
        run.move(*point)
        self.wait_until(rec, at)
        pressed = rec.now()
        run.desktop.xdotool("click", "1")
        return pressed

    def assertTicks(self, rec, start, end, least, what):
        """Pitch at reading 0: short ticks, at most one a second. Their exact second is the unit tests'
        (Wine's stream, when it runs dry under load, skips what came too late and shifts or drops a tick)."""
        part = rec.samples[listen.seconds_to_index(start):listen.seconds_to_index(end)]
        ticks = [start + onset for onset, _ in audio.bursts(part, listen.SOUNDING, 0.3, audio.FRAME_S)]
        most = math.ceil(end - start)
        self.assertTrue(least <= len(ticks) <= most, "ticks %s: got onsets %s, expected %d to %d"
                        % (what, ["%.2f" % t for t in ticks], least, most))
        gaps = audio.intervals(ticks)
        self.assertTrue(all(gap >= 0.5 for gap in gaps), "ticks %s: got %s s apart, expected about a second"
                        % (what, ["%.2f" % g for g in gaps]))
        self.assertLessEqual(rec.sounding(start, end), 3 * len(ticks), "sounding 5 ms frames of the %d ticks %s"
                             % (len(ticks), what))

    def assertPace(self, onsets, period_s, what):
        periods = audio.intervals(onsets)
        self.assertGreaterEqual(len(periods), 2, "%s: got onsets %s, expected at least three" % (what, onsets))
        got = listen.median(periods)
        self.assertTrue(abs(got - period_s) <= PACE_SLACK_S,
                        "%s: got a median period of %.3f s (periods %s), expected %.2f s"
                        % (what, got, ["%.2f" % p for p in periods], period_s))

    def assertHeard(self, rec, start, end, expected, candidates, what):
        got, _ = listen.recognise(rec.profile(start, end), candidates)
        self.assertGot(got, expected, "%s between %.2f s and %.2f s of the recording" % (what, start, end))

    def assertSilent(self, rec, start, end, what):
        self.assertGot(rec.sounding(start, end), 0, "%s: sounding 5 ms frames between %.2f s and %.2f s"
                       % (what, start, end))

    def beeps(self, rec, start=0.0, end=None):
        pips = [p for p in rec.pips(930) if p[0] >= start and (end is None or p[0] < end)]
        return tone_starts(pips)

    def wait_until(self, rec, moment):
        while rec.now() < moment:
            time.sleep(0.05)

    def assertSpoken(self, rec, spoken, tens, units, language, what):
        """Every cycle after the first (which may start late) says tens, then units 500 ms later."""
        names = listen.digits(language)
        gaps = []
        for cycle in spoken[1:]:
            self.assertHeard(rec, cycle[0], cycle[0] + 0.25, tens, names, "%s: the first digit" % what)
            heard_units = [t for t in cycle[1:] if listen.recognise(rec.profile(t, t + 0.25), names)[0] == units]
            self.assertTrue(heard_units, "%s: got no %s in the cycle at %.2f s (onsets %s)"
                            % (what, units, cycle[0], ["%.2f" % t for t in cycle]))
            gaps.append(heard_units[0] - cycle[0])
        got = listen.median(gaps)
        self.assertTrue(abs(got - 0.5) <= PACE_SLACK_S, "%s: got a median %.3f s from the first digit to the second "
                        "(%s), expected 0.5 s" % (what, got, ["%.2f" % g for g in gaps]))


class SoundFeedbackTest(SoundTest):
    def test_cycling_the_sound_mode_while_idle_previews_each_mode(self):
        run = self.open_sound_run(language=FRENCH, sound=BIRDS)
        rec = self.record(run)
        first = rec.now() + 0.3
        clicks = [self.click_at(run, rec, SOUND_BUTTON, first + k * CLICK_SPACING_S) for k in range(6)]
        ends = clicks[1:] + [clicks[-1] + CLICK_SPACING_S]
        self.wait_until(rec, ends[-1])
        rec.stop()
        previews = listen.zeros() + ["TONE"] + listen.BIRDS
        self.assertGlide(rec, clicks[0], ends[0])
        self.assertHeard(rec, clicks[1], ends[1], "TONE", previews, "preview of Auto")
        self.assertHeard(rec, clicks[2], ends[2], "TONE", previews, "preview of Tone")
        self.assertHeard(rec, clicks[3], ends[3], "FR0", previews, "preview of Voice in French")
        self.assertSilent(rec, clicks[4], ends[4], "preview of Mute")
        calls = cycles(rec.onsets(clicks[5], ends[5]), 0.8)
        self.assertGot(len(calls), 2, "bird calls after choosing Birds (onsets %s)" % calls)
        # One gap is one pair of onsets, which jitter on a loaded machine: the second's wait is the long
        # test's, as the median of eight.
        self.assertHeard(rec, calls[0][0], calls[1][0], "BIRD0", previews, "first call of the Birds preview")
        self.assertHeard(rec, calls[1][0], ends[5], "BIRD1", previews, "second call of the Birds preview")
        for preview in (1, 2):
            beeps = self.beeps(rec, clicks[preview], ends[preview])
            self.assertGot([count >= 3 for _, count in beeps], [True], "beeps of three 930 Hz pips in preview %d "
                           "(%s)" % (preview, beeps))

    def assertGlide(self, rec, start, end):
        """Pitch's preview: one sound of about a second rising from the lowest pitch to the highest."""
        sounds = audio.bursts(rec.samples[listen.seconds_to_index(start):listen.seconds_to_index(end)],
                              listen.SOUNDING, 0.1, 0.1)
        self.assertGot(len(sounds), 1, "sounds of the Pitch preview (%s)" % sounds)
        onset, finish = sounds[0][0] + start, sounds[0][1] + start
        self.assertTrue(abs(finish - onset - 1.0) <= PACE_SLACK_S, "Pitch preview: got %.3f s of sound, expected "
                        "1 s" % (finish - onset))
        heard = [f for t, f in pitch.cycles(rec.samples[listen.seconds_to_index(onset):listen.seconds_to_index(finish)])]
        for got, expected, what in ((listen.median(heard[:20]), pitch.LOWEST_HZ, "first"),
                                    (listen.median(heard[-20:]), pitch.HIGHEST_HZ, "last")):
            self.assertTrue(abs(got / expected - 1) <= 0.1, "Pitch preview: got %.0f Hz in its %s 20 cycles, "
                            "expected about %.0f Hz" % (got, what, expected))
        rising = sum(1 for a, b in zip(heard, heard[10:]) if b > a)
        self.assertGreater(rising, 0.9 * (len(heard) - 10), "Pitch preview: cycles higher than the tenth before "
                           "them, of %d" % (len(heard) - 10))

    def test_pitch_follows_the_level_within_a_fifth_of_a_second_without_clicks(self):
        no_signal_ms = 5000  # the first sound of a process may start a second late
        levels = PITCH_RAMP * 2
        script = [(no_signal_ms + k * PITCH_STEP_MS, 1, level, 10) for k, level in enumerate(levels)]
        run = self.open_sound_run(script=script, sound=PITCH)
        trace = pitch.TraceClock(run.trace_path).start()
        rec = self.record(run)
        pressed = self.click_at(run, rec, START_BUTTON)
        stopped = self.press_at(run, rec, START_BUTTON, pressed + (script[-1][0] + PITCH_STEP_MS) / 1000.0)
        self.wait_until(rec, stopped + 1.0)
        rec.stop()
        trace.stop()
        changes = pitch.level_changes(run.trace(), trace.offset(), rec.wall_at_zero)
        self.assertGot([level for _, level in changes], levels, "levels the card read, in order")
        steps = pitch.steps_heard(changes, pitch.cycles(rec.samples), stopped)
        for (read, _), (level, expected, latency, got) in zip(changes, steps):
            self.assertTrue(latency is not None, "level %d read at %.2f s: got no %.0f Hz after it" % (level, read, expected))
            self.assertTrue(abs(got / expected - 1) <= pitch.PITCH_TOLERANCE, "level %d: got a median pitch of %.1f "
                            "Hz, expected %.1f Hz within 3 %%" % (level, got, expected))
        latencies = [latency for _, _, latency, _ in steps]
        shown = ", ".join("%.0f" % (1000 * t) for t in latencies)
        self.assertLessEqual(listen.median(latencies), PITCH_LATENCY_S, "median time from the card's read to the "
                             "new pitch: got %.3f s (ms: %s), expected at most %.1f s"
                             % (listen.median(latencies), shown, PITCH_LATENCY_S))
        self.assertTicks(rec, pressed, changes[0][0] - 0.1, 2, "before the signal")
        tone = rec.samples[listen.seconds_to_index(changes[0][0]):listen.seconds_to_index(stopped)]
        bound = pitch.waveform_step(pitch.pitch_hz(max(levels)), max(abs(x) for x in tone)) * 1.2
        # A click of the program's own would come with every new reading (8 here) or every buffer; Wine, when
        # its stream runs dry under load, skips the data that came too late, which makes a jump now and then.
        jumps = [listen.seconds_to_index(changes[0][0]) / audio.RATE + i / audio.RATE for i in pitch.clicks(tone, bound)]
        self.assertLessEqual(len(jumps), len(tone) / audio.RATE / WINE_SKIP_EVERY_S, "samples jumping by more than "
                             "%.3f (the waveform's own step at its highest pitch, and a fifth more): got them at %s s"
                             % (bound, ["%.3f" % t for t in jumps[:20]]))
        self.assertSilent(rec, stopped + STOP_SLACK_S / 2, stopped + 1.0, "after the stop")

    def test_pitch_ends_within_a_tenth_of_a_second_of_stop(self):
        # Sound through Wine and the null sink comes later the longer a program runs (a few ms a second,
        # in every mode), so the stops come early in a run of their own.
        run = self.open_sound_run(script=locked(50, 10), sound=PITCH)
        rec = self.record(run)
        stops = [rec.now()]
        for _ in range(STOP_REPEATS + 1):  # the first, whose sound may start late, wakes the process's audio
            started = self.press_at(run, rec, START_BUTTON, stops[-1] + 1.0)
            stops.append(self.press_at(run, rec, START_BUTTON, started + 0.8))
        self.wait_until(rec, stops[-1] + 1.0)
        rec.stop()
        stops = stops[2:]
        sounding = [stop for stop in stops if rec.sounding(stop - 0.3, stop) > 0]  # a watch's sound may start late
        self.assertGreaterEqual(len(sounding), 3, "watches whose tone sounded just before their stop: got %d of %d"
                                % (len(sounding), len(stops)))
        tails = [rec.sounded_until(stop - 0.3, stop + 0.9) - stop for stop in sounding]  # the next start is at 1 s
        shown = ", ".join("%.0f" % (1000 * t) for t in tails)
        self.assertLessEqual(listen.median(tails), AFTER_STOP_S, "median time the tone went on after a stop: got "
                             "%.3f s (ms: %s), expected at most %.1f s" % (listen.median(tails), shown, AFTER_STOP_S))
        for stop in stops:
            self.assertSilent(rec, stop + STOP_SLACK_S / 2, stop + 0.9, "after the stop at %.2f s" % stop)

    def test_tone_mode_beeps_every_one_and_a_half_seconds_until_stopped(self):
        run = self.open_sound_run(script=locked(60, 40), sound=TONE)
        rec = self.record(run)
        pressed = self.click_at(run, rec, START_BUTTON)
        stopped = self.click_at(run, rec, START_BUTTON, pressed + 7.0)
        self.wait_until(rec, stopped + 3.0)
        rec.stop()
        wait_for(lambda: run.state()["combos"]["111"]["visible"], 10, 0.2, "the lists back after stop")
        beeps = self.beeps(rec, pressed, stopped)
        self.assertGreaterEqual(len(beeps), 4, "beeps while watching: got %s, expected at least 4" % beeps)
        self.assertGot([count >= 3 for _, count in beeps], [True] * len(beeps),
                       "beeps of three 930 Hz pips (%s)" % beeps)
        self.assertPace([onset for onset, _ in beeps], 1.5, "Tone mode")
        self.assertHeard(rec, beeps[1][0], beeps[1][0] + 0.9, "TONE", ["TONE"] + listen.digits(ENGLISH)
                         + listen.BIRDS, "a beep while watching")
        late = [onset for onset in rec.onsets(stopped) if onset > stopped + 1.5 + STOP_SLACK_S]
        self.assertGot(late, [], "sounds starting more than one cycle after stop")
        self.assertLessEqual(len(self.beeps(rec, stopped)), 1, "beeps after stop: at most the last cycle's")

    def test_voice_mode_speaks_the_digits_in_a_500_and_800_ms_rhythm(self):
        run = self.open_sound_run(script=locked(57, 40), sound=VOICE, language=FRENCH)
        rec = self.record(run)
        pressed = self.click_at(run, rec, START_BUTTON)
        self.wait_until(rec, pressed + 10.0)  # seven cycles: under load one or two start late
        rec.stop()
        spoken = cycles(rec.onsets(pressed), 1.0)
        self.assertGreaterEqual(len(spoken), 4, "spoken cycles: got %s, expected at least 4" % spoken)
        self.assertPace([cycle[0] for cycle in spoken], 1.3, "Voice mode cycle")
        self.assertSpoken(rec, spoken[:-1], "FR5", "FR7", FRENCH, "57 in French")

    def test_mute_is_silent_and_birds_call_at_random_one_to_two_second_pauses(self):
        run = self.open_sound_run(script=locked(57, 40), sound=MUTE)
        rec = self.record(run)
        pressed = self.click_at(run, rec, START_BUTTON)
        switched = self.click_at(run, rec, SOUND_BUTTON, pressed + 3.0)
        self.wait_until(rec, switched + 8.5)
        rec.stop()
        self.assertSilent(rec, pressed, switched, "Mute while watching a signal of 57")
        calls = cycles(rec.onsets(switched), 0.8)
        self.assertGreaterEqual(len(calls), 5, "bird calls: got %s, expected at least 5" % calls)
        pauses = audio.intervals([call[0] for call in calls[1:]])  # the first call may start late
        self.assertGot([0.9 <= p <= 2.1 for p in pauses], [True] * len(pauses),
                       "pauses between calls within 1.0 to 2.0 s (%s)" % ["%.2f" % p for p in pauses])
        self.assertGreater(max(pauses) - min(pauses), 0.2, "pauses of a random length: got %s"
                           % ["%.2f" % p for p in pauses])
        for start, end in zip([c[0] for c in calls], [c[0] for c in calls[1:]]):
            got, _ = listen.recognise(rec.profile(start, min(end, start + 0.8)), listen.BIRDS + ["TONE"]
                                      + listen.digits(ENGLISH))
            self.assertIn(got, listen.BIRDS, "call at %.2f s: got %s, expected a bird" % (start, got))

    def test_quality_silence_no_previews_while_watching_then_auto_beeps_and_speaks(self):
        run = self.open_sound_run(script=locked(57, 0), sound=MUTE, reading=QUALITY, language=FRENCH)
        rec = self.record(run)
        self.click_at(run, rec, SOUND_BUTTON)  # to Birds; its preview also wakes the process's audio
        pressed = self.click_at(run, rec, START_BUTTON, rec.now() + 2.5)
        modes = [self.click_at(run, rec, SOUND_BUTTON, pressed + 1.0 + 0.5 * k) for k in range(6)]
        # Pitch, Auto, Tone, Voice, Mute, Birds: no preview while watching; then Pitch ticking for 2.5 s
        ticking = self.click_at(run, rec, SOUND_BUTTON, rec.now() + 0.5)
        auto = self.click_at(run, rec, SOUND_BUTTON, ticking + 2.5)
        switched = self.click_at(run, rec, READING_BUTTON, rec.now() + 1.0)
        self.wait_until(rec, switched + 12.0)  # five spoken cycles after the beeps
        rec.stop()
        self.assertSilent(rec, pressed + 0.5, modes[0], "watching the quality of 0 beside a level of 57, in Birds")
        self.assertSilent(rec, modes[1] + 0.3, ticking, "watching the quality of 0 through Auto, Tone, Voice, Mute, "
                          "Birds")
        self.assertSilent(rec, auto + 0.3, switched, "watching the quality of 0 in Auto")
        self.assertTicks(rec, modes[0], modes[1] + 0.3, 0, "in Pitch for half a second at reading 0")
        self.assertTicks(rec, ticking, auto + 0.3, 1, "in Pitch for 2.5 s at reading 0")
        beeps = self.beeps(rec, switched)
        self.assertGot(len(beeps), 3, "Auto beeps after switching to the level of 57 (%s)" % beeps)
        self.assertPace([onset for onset, _ in beeps], 1.4, "Auto mode beeps")
        spoken = cycles(rec.onsets(beeps[-1][0] + 1.0), 1.0)
        self.assertGreaterEqual(len(spoken), 3, "spoken cycles after the beeps: got %s, expected 3 or more" % spoken)
        first = spoken[0][0] - beeps[-1][0]
        self.assertTrue(abs(first - 1.4) <= 2 * PACE_SLACK_S, "Auto mode: got %.3f s from the third beep to the "
                        "speech, expected 1.4 s" % first)
        self.assertPace([cycle[0] for cycle in spoken], 1.3, "Auto mode speech")
        self.assertSpoken(rec, spoken[:-1], "FR5", "FR7", FRENCH, "57 in French after the beeps")


@unittest.skipUnless(LONG, "long")
class LongSoundTest(SoundTest):
    def test_voice_preview_speaks_the_zero_of_every_language_and_birds_wait_a_second(self):
        run = self.open_sound_run(sound=TONE, language=ENGLISH)
        rec = self.record(run)
        previews = listen.zeros() + ["TONE"] + listen.BIRDS
        voice, birds = [], []
        for language in range(8):
            start = self.click_at(run, rec, SOUND_BUTTON, rec.now() + 0.3)         # Voice
            end = self.click_at(run, rec, SOUND_BUTTON, start + 1.6)               # Mute
            voice.append((start, end))
            start = self.click_at(run, rec, SOUND_BUTTON, end + 0.5)               # Birds, a second's wait
            end = self.click_at(run, rec, SOUND_BUTTON, start + 2.0)               # Auto
            birds.append((start, end))
            self.click_at(run, rec, LANGUAGE_BUTTON, rec.now() + 1.2)              # next language
            self.click_at(run, rec, SOUND_BUTTON, rec.now() + 0.3)                 # Tone
            self.wait_until(rec, rec.now() + 2.0)  # its beep is over before the next Voice preview
        rec.stop()
        for language, (start, end) in enumerate(voice):
            self.assertHeard(rec, start, end, listen.zeros()[language], previews, "Voice preview in language %d"
                             % language)
        gaps = []
        for start, end in birds:
            calls = cycles(rec.onsets(start, end), 0.8)
            self.assertGot(len(calls), 2, "bird calls of the Birds preview at %.2f s (onsets %s)" % (start, calls))
            gaps.append(calls[1][0] - calls[0][0])
        got = listen.median(gaps)
        self.assertTrue(abs(got - 1.0) <= PACE_SLACK_S, "Birds preview: got a median %.3f s between the calls (%s), "
                        "expected 1.0 s" % (got, ["%.2f" % g for g in gaps]))

    def test_auto_beeps_again_after_the_signal_drops_to_zero_and_comes_back(self):
        script = [(0, 1, 57, 40), (8000, 0, 0, 0), (11000, 1, 57, 40)]
        run = self.open_sound_run(script=script, sound=BIRDS, language=FRENCH)
        rec = self.record(run)
        self.click_at(run, rec, SOUND_BUTTON)  # to Auto; its preview also wakes the process's audio
        pressed = self.click_at(run, rec, START_BUTTON, rec.now() + 2.5)
        self.wait_until(rec, pressed + 17.0)
        rec.stop()
        beeps = self.beeps(rec, pressed)
        self.assertGot(len(beeps), 6, "beeps: three as the signal comes up and three as it comes back (%s)" % beeps)
        for first in (0, 3):
            self.assertPace([onset for onset, _ in beeps[first:first + 3]], 1.4, "Auto beeps from beep %d" % first)
        after_beeps = beeps[2][0] + 1.0  # a sound still going on here is the beep's tail
        spoken = [t for t in rec.onsets(after_beeps, beeps[3][0]) if t > after_beeps]
        self.assertTrue(spoken, "speech between the two sets of beeps (onsets %s)" % spoken)
        self.assertSilent(rec, spoken[-1] + 1.3, beeps[3][0] - 0.2, "while the signal is lost")

    def test_voice_speaks_a_single_digit_alone_every_1300_ms(self):
        run = self.open_sound_run(script=locked(7, 3), sound=VOICE, language=1)
        rec = self.record(run)
        pressed = self.click_at(run, rec, START_BUTTON)
        self.wait_until(rec, pressed + 8.0)
        rec.stop()
        spoken = cycles(rec.onsets(pressed), 1.0)
        self.assertGreaterEqual(len(spoken), 5, "spoken cycles: got %s, expected at least 5" % spoken)
        self.assertPace([cycle[0] for cycle in spoken], 1.3, "Voice mode cycle of one digit")
        for cycle, following in zip(spoken[1:], spoken[2:]):
            self.assertHeard(rec, cycle[0], following[0], "DE7", listen.digits(1), "the cycle at %.2f s" % cycle[0])
            self.assertSilent(rec, cycle[0] + 0.6, following[0] - 0.1, "after the one digit")

    def test_damaged_sound_mode_stays_silent_and_does_not_burn_a_core(self):
        run = self.open_sound_run(script=locked(57, 40), sound=6)
        rec = self.record(run)
        pressed = self.click_at(run, rec, START_BUTTON)
        self.wait_until(rec, pressed + 1.0)
        cpu_before, wall_before = cpu_seconds(run.process.pid), time.monotonic()
        self.wait_until(rec, pressed + 5.0)
        cpu_share = (cpu_seconds(run.process.pid) - cpu_before) / (time.monotonic() - wall_before)
        counted = self.click_at(run, rec, SOUND_BUTTON)  # 6 counts on to 7, never back to Auto
        self.wait_until(rec, counted + 3.0)
        self.click_at(run, rec, START_BUTTON)
        wait_for(lambda: run.state()["combos"]["111"]["visible"], 10, 0.2, "the lists back after stop")
        self.click_at(run, rec, SOUND_BUTTON, rec.now() + 0.5)  # 7 to 8 while idle: no preview
        self.wait_until(rec, rec.now() + 2.0)
        rec.stop()
        self.assertSilent(rec, pressed, rec.now() - 0.5, "sound modes 6, 7 and 8 with a signal of 57")
        self.assertLess(cpu_share, SPIN_CPU_SHARE, "share of one core used while watching in sound mode 6")
