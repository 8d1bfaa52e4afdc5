"""Watching the signal with the simulated card: tuning, polling, the meter, stopping, and the main
window's buttons (language, sound mode, reading, minimise, dragging, double click).

The screen is an Xvfb with its framebuffer in a file, read directly: a screenshot through the X
server takes a second on a loaded machine. A stop takes milliseconds, so the tests that look for
"Please wait ..." press stop while the card is inside a slow read (a script line's fifth number),
which the stop must wait for.
"""
import mmap
import os
import shutil
import struct
import subprocess
import tempfile
import time
import unittest

from quorvan_e2e import (LONG, WINDOW_HEIGHT, WINDOW_WIDTH, Desktop, Image, QuorvanTest, end_wine_session,
                         read_text, skin_picture, wait_for)

MARKERS = b"".join(b"%d;" % n + b"\0" * (4 - len(b"%d;" % n)) for n in range(12))
OK = b"ok;\0"

# Window places (client pixels).
START = (422, 145)
CLOSE = (465, 25)
MINIMISE = (420, 25)
LANGUAGE = (60, 350)
SOUND = (132, 350)
READING = (205, 350)
SORT = (57, 120)
ADD = (60, 175)
ABOUT = (450, 295)
HELP = (376, 295)
DISH_ALIGNMENT = (297, 295)
BACKGROUND = (480, 240)      # in no hot region and on no control
RESTING = (300, 250)         # where the pointer waits: no hover image, no control
# Two presses on one place within the system's double-click time make a double click.
DOUBLE_CLICK_GAP = 0.6
# How long the card takes for one ReadSignal in the scripts that make it slow (ms).
SLOW_READ_MS = 2500

SATELLITE_192 = 192
KU_HIGH_TRANSPONDER = "11778,V,27500,34"

# The meter (client pixels) and the skin blocks it copies.
METER_AREA = (80, 80, 385, 130)
BAR_X = 87
BAR_SKIN = (0, 428)
BAR_HEIGHT = 42
FULL_BAR = 286
LEVEL = {"bar_y": 98, "box": (180, 98, 90, 42), "marker": (338, 103, 40, 24)}
QUALITY = {"bar_y": 166, "box": (180, 166, 90, 42), "marker": (338, 168, 40, 24)}
START_BUTTON = (395, 115, 60, 65)
GREEN_START_SKIN = (512, 65)
STATUS_BOX = (64, 20, 384, 60)
LIST_PROBE = (340, 124)      # inside the satellite list: white while it shows
SETTINGS_NAME = (20, 282, 80, 20)
SETTINGS_FLAG = (48, 305, 20, 15)
SETTINGS_SOUND = (100, 302, 70, 18)
SETTINGS_READING = (170, 302, 75, 18)
FLAG_SKIN = [(532, 355), (512, 355), (512, 340), (532, 340), (532, 325), (512, 325), (552, 355), (552, 340)]

VALUE_COLOUR = (230, 240, 250)
ZERO_COLOUR = (220, 0, 0)
MARKER_COLOUR = (0, 0, 255)
STATUS_COLOUR = (200, 0, 0)


PITCH = 5  # the sound mode


def settings_bytes(language=0, sound=3, lnb=2, position=SATELLITE_192, frequency=11778000, reading=0):
    """A settings record; sound Mute by default so the runs stay quiet and quick."""
    record = bytearray(256)
    struct.pack_into("<6i", record, 0, language, sound, lnb, position, frequency, reading)
    struct.pack_into("<6i", record, 80, 0, 0, 0, 0, 1000, 1200)
    return bytes(record)


def settings_fields(record):
    return struct.unpack_from("<6i", record, 0)


def dialogs(run):
    return [d for d in run.state()["dialogs"] if d["class"] == "#32770" and d["visible"]]


def near(pixel, colour, tolerance=40):
    return all(abs(a - b) <= tolerance for a, b in zip(pixel, colour))


class FramebufferDesktop(Desktop):
    """Xvfb keeping its screen in an XWD file that this process maps and reads without X round trips."""

    def __init__(self, width=1024, height=768):
        end_wine_session()
        self.fbdir = tempfile.mkdtemp(prefix="qv-fb-")
        self.width, self.height = width, height
        self.start_server("-fbdir", self.fbdir)
        path = os.path.join(self.fbdir, "Xvfb_screen0")
        wait_for(lambda: os.path.exists(path) and os.path.exists("/tmp/.X11-unix/X%d" % self.number),
                 timeout=15, what="Xvfb on " + self.display)
        self.wait_answering()
        self.file = open(path, "rb")
        self.map = mmap.mmap(self.file.fileno(), 0, access=mmap.ACCESS_READ)
        header = struct.unpack(">25I", self.map[:100])
        header_size, bits_per_pixel, self.stride, ncolours = header[0], header[11], header[12], header[19]
        assert bits_per_pixel == 32, "expected a 32-bit framebuffer, got %d" % bits_per_pixel
        self.offset = header_size + 12 * ncolours

    def grab(self, x, y, width, height):
        """Screen pixels as an Image (the file holds B, G, R, unused per pixel)."""
        rows = []
        for row in range(y, y + height):
            start = self.offset + row * self.stride + 4 * x
            raw = self.map[start:start + 4 * width]
            rgb = bytearray(3 * width)
            rgb[0::3], rgb[1::3], rgb[2::3] = raw[2::4], raw[1::4], raw[0::4]
            rows.append(bytes(rgb))
        return Image(width, height, b"".join(rows))

    def close(self):
        self.map.close()
        self.file.close()
        Desktop.close(self)
        shutil.rmtree(self.fbdir, ignore_errors=True)


class Meter:
    """Reads the meter out of a window image, comparing it with the skin blocks it is drawn from."""

    def __init__(self, test, image):
        self.test, self.image, self.skin = test, image, test.skin

    def bar_width(self, row):
        """Width of the gradient bar, from its rows below the digits; the rest must be the plain background."""
        widths = set()
        for y in range(row["bar_y"] + 37, row["bar_y"] + BAR_HEIGHT):
            source_y = BAR_SKIN[1] + y - row["bar_y"]
            width = 0
            while width < 300 and self.image.pixel(BAR_X + width, y) == self.skin.pixel(BAR_SKIN[0] + width, source_y):
                width += 1
            rest = [x for x in range(BAR_X + width, BAR_X + FULL_BAR)
                    if self.image.pixel(x, y) != self.skin.pixel(x, y)]
            if rest:
                return None  # neither bar nor background: not a meter frame
            widths.add(width)
        return widths.pop() if len(widths) == 1 else None

    def underlying(self, row, x, y, bar):
        if x < BAR_X + bar:
            return self.skin.pixel(BAR_SKIN[0] + x - BAR_X, BAR_SKIN[1] + y - row["bar_y"])
        return self.skin.pixel(x, y)

    def glyphs(self, row, colour):
        """The value text in the row's box: (glyph masks left to right, pixels near the colour, centre x)."""
        bar = self.bar_width(row) or 0
        x0, y0, width, height = row["box"]
        ink = {}
        coloured = 0
        for y in range(y0, y0 + height):
            for x in range(x0, x0 + width):
                pixel = self.image.pixel(x, y)
                if sum(abs(a - b) for a, b in zip(pixel, self.underlying(row, x, y, bar))) > 90:
                    ink[(x, y)] = True
                    coloured += near(pixel, colour)
        columns = sorted({x for x, _ in ink})
        groups, current = [], []
        for x in columns:
            if current and x != current[-1] + 1:
                groups.append(current)
                current = []
            current.append(x)
        if current:
            groups.append(current)
        masks = [frozenset((x - g[0], y - y0) for (x, y) in ink if g[0] <= x <= g[-1]) for g in groups]
        centre = (columns[0] + columns[-1]) / 2 if columns else None
        return masks, coloured, centre

    def marker_pixels(self, row):
        return self.image.count(lambda p: near(p, MARKER_COLOUR, 60), row["marker"])

    def start_button(self):
        x, y, width, height = START_BUTTON
        shown = self.image.crop(x, y, width, height)
        if shown.differing_pixels(self.skin.crop(GREEN_START_SKIN[0], GREEN_START_SKIN[1], width, height)) == 0:
            return "green"
        if shown.differing_pixels(self.skin.crop(x, y, width, height)) == 0:
            return "red"
        return "other"


def same_glyph(a, b):
    """Two glyph masks are the same character when they overlap almost entirely ('9' and '0' share 80%)."""
    return len(a & b) >= 0.9 * len(a | b)


class WatchingCase(QuorvanTest):
    @classmethod
    def setUpClass(cls):
        cls.desktop = FramebufferDesktop(*cls.screen_size)
        cls.skin = skin_picture()

    def window_image(self, run):
        return self.desktop.grab(run.origin[0], run.origin[1], WINDOW_WIDTH, WINDOW_HEIGHT)

    def meter(self, run):
        return Meter(self, self.window_image(run))

    def open_watch_run(self, script, settings=None, **options):
        run = self.open_run(script=script, files={"qvnth.dat": settings or settings_bytes()}, **options)
        run.start()
        run.move(*RESTING)
        return run

    def choose_ku_high_band_on_lnb2(self, run):
        """The user's choice through the lists: satellite 19.2e, a Ku high-band transponder, LNB2."""
        satellites = run.items(111)
        run.driver("select", 111, next(i for i, s in enumerate(satellites) if s["data"] == SATELLITE_192), "notify")
        transponders = run.items(112)
        run.driver("select", 112, next(i for i, t in enumerate(transponders) if t["text"] == KU_HIGH_TRANSPONDER))
        run.driver("select", 110, 2, "notify")

    def lists_shown(self, run):
        return all(c > 240 for c in self.window_image(run).pixel(*LIST_PROBE))

    def press_start(self, run):
        run.click(*START, pause=0)
        run.move(*RESTING)

    def wait_meter(self, run, condition, what, timeout=6):
        """Polls the window until condition(Meter) holds; on a timeout keeps the last picture in the run folder."""
        def check():
            meter = self.meter(run)
            return meter if condition(meter) else None
        try:
            return wait_for(check, timeout, interval=0.1, what=what)
        except AssertionError as error:
            self.window_image(run).save(run.path("timeout.png"))
            raise AssertionError("%s (window kept in %s)" % (error, run.path("timeout.png")))

    def stop_during_a_slow_read(self, run):
        """Presses stop while the card is inside a ReadSignal that lasts seconds; gives the most
        status-red pixels seen while the stop waits for it."""
        reads = len(run.calls("ReadSignal"))
        wait_for(lambda: len(run.calls("ReadSignal")) > reads, 15, what="a ReadSignal to return")
        # The next read begins 100 ms after that one returned and lasts SLOW_READ_MS: pressing in its
        # middle leaves a loaded machine the most room on both sides.
        time.sleep(SLOW_READ_MS / 2000)
        return self.stop_and_watch_the_status_box(run)

    def stop_and_watch_the_status_box(self, run, timeout=15):
        """Presses start while watching; polls the screen until the lists are back.
        Gives the most status-red pixels seen in the status box meanwhile."""
        self.press_start(run)
        most = 0
        deadline = time.monotonic() + timeout
        while not self.lists_shown(run):
            if time.monotonic() > deadline:
                raise AssertionError("the lists did not come back within %d s of pressing stop" % timeout)
            box = self.window_image(run).crop(*STATUS_BOX)
            most = max(most, box.count(lambda p: near(p, STATUS_COLOUR)))
            time.sleep(0.02)
        return most


class WatchTest(WatchingCase):
    def test_start_tunes_polls_meters_loses_lock_and_stops(self):
        # Level 50 with no quality, then lock lost, then a perfect signal (ms after the first Tune).
        run = self.open_watch_run(script=[(0, 1, 50, 0), (5000, 0, 0, 0), (10000, 1, 100, 100, SLOW_READ_MS)],
                                  settings=settings_bytes(lnb=0, position=130, frequency=11000000))
        self.choose_ku_high_band_on_lnb2(run)
        idle_start_button = self.meter(run).start_button()
        self.press_start(run)

        # Tuned with the Ku oscillators, the tone (11778 MHz > 11699) and LNB2, then polled.
        wait_for(lambda: len(run.calls("ReadSignal")) >= 3, 10, what="three ReadSignal calls")
        calls = [line[1:] for line in run.trace()]
        self.assertGot(calls[:3], [["SetLnbFrequencies", "1", "10600", "9750"], ["Tune", "11778", "27500", "0", "1", "2"],
                                   ["ReadSignal", "1", "50", "0"]], "first card calls after start")
        state = run.state()["combos"]
        self.assertGot([(state[c]["visible"], state[c]["enabled"]) for c in ("110", "111", "112")],
                       [(True, False), (False, False), (False, False)], "LNB, satellite, transponder lists (visible, enabled)")

        meter = self.wait_meter(run, lambda m: m.bar_width(LEVEL) == 143, "the level bar of 50")
        self.assertGot(meter.start_button(), "green", "start button with signal")
        self.assertGot(idle_start_button, "red", "start button before watching")
        level_text, level_coloured, level_centre = meter.glyphs(LEVEL, VALUE_COLOUR)
        zero_text, zero_coloured, _ = meter.glyphs(QUALITY, ZERO_COLOUR)
        self.assertGot(len(level_text), 3, "glyphs in the level box ('50%')")
        self.assertGot(len(zero_text), 2, "glyphs in the quality box ('0%')")
        self.assertTrue(level_coloured > 60, "got %d pixels of the value colour in the level box" % level_coloured)
        self.assertTrue(zero_coloured > 40, "got %d red pixels in the quality box" % zero_coloured)
        self.assertTrue(abs(level_centre - 225) <= 3, "level text centred at x %s, expected 225" % level_centre)
        self.assertGot([same_glyph(level_text[i], zero_text[j]) for i, j in ((0, 0), (1, 0), (2, 1))],
                       [False, True, True], "'5', '0', '%' of the level against '0', '0', '%' of the quality")
        self.assertGot(meter.bar_width(QUALITY), 0, "quality bar while the quality is 0")
        self.assertGot(meter.marker_pixels(QUALITY), 0, "blue pixels of SQ before any quality was seen")
        reads = [int(line[0]) for line in run.calls("ReadSignal")]
        gaps = sorted(b - a for a, b in zip(reads, reads[1:]))
        # Never faster than the 100 ms pace; how close to it a loaded machine keeps is the benchmark's figure.
        self.assertTrue(gaps and min(gaps) >= 90, "got ReadSignal intervals %s ms, expected none under 100 ms" % gaps)
        # The meter's first frame may reach the screen before the repaint that hides the hint.
        self.wait_meter(run, lambda m: m.image.crop(22, 50, 100, 25).differing_pixels(self.skin.crop(22, 50, 100, 25)) == 0,
                        "the start hint to go while watching", timeout=5)
        self.assertTrue(self.window_image(run).crop(122, 50, 200, 20).differing_pixels(self.skin.crop(122, 50, 200, 20)) > 50,
                        "no satellite name at the top while watching")

        # Lock lost: zeroed and retuned in the same cycle; the level was seen, the quality never.
        meter = self.wait_meter(run, lambda m: m.marker_pixels(LEVEL) > 20, "the blue SL", timeout=10)
        self.assertGot(meter.start_button(), "red", "start button with both readings 0")
        self.assertGot(meter.marker_pixels(QUALITY), 0, "blue pixels of SQ when quality was never seen")
        lost_text, lost_red, _ = meter.glyphs(LEVEL, ZERO_COLOUR)
        self.assertGot(len(lost_text), 2, "glyphs in the level box after losing lock ('0%')")
        self.assertTrue(lost_red > 40, "got %d red pixels in the level box after losing lock" % lost_red)
        self.assertGot(meter.bar_width(LEVEL), 0, "level bar after losing lock")
        trace = [line[1:] for line in run.trace()]
        lost = next(i for i, line in enumerate(trace) if line[:2] == ["ReadSignal", "0"])
        self.assertGot(trace[lost + 1:lost + 3], [["SetLnbFrequencies", "1", "10600", "9750"],
                                                  ["Tune", "11778", "27500", "0", "1", "2"]],
                       "calls after the first unlocked ReadSignal")

        # Locked again with 100 and 100: the quality shows as 99.
        meter = self.wait_meter(run, lambda m: m.bar_width(LEVEL) == 286, "the full level bar", timeout=10)
        self.assertGot(meter.bar_width(QUALITY), 283, "quality bar for a card quality of 100 (shown as 99)")
        full_text, _, _ = meter.glyphs(LEVEL, VALUE_COLOUR)
        capped_text, _, _ = meter.glyphs(QUALITY, VALUE_COLOUR)
        self.assertGot(len(full_text), 4, "glyphs of '100%'")
        self.assertGot(len(capped_text), 3, "glyphs of '99%'")
        self.assertGot([same_glyph(full_text[1], zero_text[0]), same_glyph(full_text[2], zero_text[0]),
                        same_glyph(capped_text[0], capped_text[1]), same_glyph(capped_text[0], zero_text[0])],
                       [True, True, True, False], "'0', '0' of 100%, '9' = '9' and '9' != '0' of 99%")
        self.assertGot(meter.marker_pixels(LEVEL), 0, "blue pixels of SL with the level back")

        # Stop: "Please wait ...", all three threads end, the lists come back, no more reads.
        status_red = self.stop_during_a_slow_read(run)
        self.assertTrue(status_red > 50, "got %d red pixels in the status box while stopping, expected "
                                         "'Please wait ...'" % status_red)
        state = run.state()["combos"]
        self.assertGot([(state[c]["visible"], state[c]["enabled"]) for c in ("110", "111", "112")],
                       [(True, True), (True, True), (True, True)], "lists after stop (visible, enabled)")
        reads = len(run.calls("ReadSignal"))
        meter = self.wait_meter(run, lambda m: m.start_button() == "red", "the red start button after stop")
        self.assertGot(self.window_image(run).crop(*STATUS_BOX).count(lambda p: near(p, STATUS_COLOUR)), 0,
                       "red pixels left in the status box after the repaint")
        time.sleep(0.5)
        self.assertGot(len(run.calls("ReadSignal")), reads, "ReadSignal calls counted after stop and 0.5 s later")
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")
        self.assertGot(run.trace()[-1][1], "Release", "last call in the card's trace")

    def test_both_readings_zero_keep_the_button_red_and_close_while_watching_ends_the_threads(self):
        # A C-band transponder typed with kHz digits, on LNB4; the sound mode Pitch, whose stream (to no sound
        # device here) the close must end as well.
        run = self.open_watch_run(script=[(0, 1, 0, 0), (4000, 1, 35, 20)], settings=settings_bytes(lnb=4, sound=PITCH))
        run.driver("settext", 112, "3799500,L,27500")
        self.press_start(run)
        meter = self.wait_meter(run, lambda m: len(m.glyphs(LEVEL, ZERO_COLOUR)[0]) == 2,
                                "a meter frame with both readings 0")
        self.assertGot([line[1:] for line in run.trace()[:2]],
                       [["SetLnbFrequencies", "0", "5150", "5750"], ["Tune", "3799", "27500", "1", "0", "4"]],
                       "card calls for 3799500 kHz, L, 27500 on LNB4")
        self.assertGot(meter.start_button(), "red", "start button with both readings 0")
        self.assertGot([len(meter.glyphs(LEVEL, ZERO_COLOUR)[0]), len(meter.glyphs(QUALITY, ZERO_COLOUR)[0])],
                       [2, 2], "glyphs in the level and quality boxes ('0%', '0%')")
        self.assertGot([meter.marker_pixels(LEVEL), meter.marker_pixels(QUALITY)], [0, 0],
                       "blue marker pixels before anything was seen")
        meter = self.wait_meter(run, lambda m: m.bar_width(LEVEL) == 100, "the level bar of 35", timeout=10)
        self.assertGot(meter.bar_width(QUALITY), 57, "quality bar of 20")
        self.assertGot(meter.start_button(), "green", "start button with signal")

        run.click(*CLOSE, pause=0)
        self.assertGot(run.wait_exit(), 0, "exit code")
        self.assertGot(run.read("log.txt"), MARKERS + OK, "log.txt (52 bytes) after closing while watching")
        names = [line[1] for line in run.trace()]
        self.assertGot(names[-1], "Release", "last call in the card's trace")
        self.assertGot(names.count("Release"), 1, "Release calls")
        self.assertTrue(names.count("ReadSignal") >= 10, "got %d ReadSignal calls" % names.count("ReadSignal"))


def is_text_ink(pixel):
    """The settings strip's dark blue-grey text (40, 60, 80) and its smoothed edges, against the light skin."""
    return sum(pixel) < 450


class ButtonsTest(WatchingCase):
    def strip(self, run, box):
        return self.window_image(run).crop(*box)

    def click_until_changed(self, run, point, box, what):
        before = self.strip(run, box)
        time.sleep(DOUBLE_CLICK_GAP)
        run.click(*point, pause=0)
        run.move(*RESTING)
        return wait_for(lambda: (lambda now: now if now.differing_pixels(before) else None)(self.strip(run, box)),
                        5, what=what)

    def test_language_sound_and_reading_cycle_and_are_saved(self):
        run = self.open_watch_run(script=None, settings=settings_bytes(language=0, sound=0, reading=0))
        names = [self.strip(run, SETTINGS_NAME)]
        flags = [self.strip(run, SETTINGS_FLAG)]
        for _ in range(7):
            names.append(self.click_until_changed(run, LANGUAGE, SETTINGS_NAME, "the next language name"))
            flags.append(self.strip(run, SETTINGS_FLAG))
        for index, (x, y) in enumerate(FLAG_SKIN):
            self.assertGot(flags[index].differing_pixels(self.skin.crop(x, y, 20, 15)), 0,
                           "pixels of flag %d differing from its skin block" % index)
        distinct = len({name.data for name in names})
        self.assertGot(distinct, 8, "different language names in eight steps")
        wrapped = self.click_until_changed(run, LANGUAGE, SETTINGS_NAME, "the language after Portuguese")
        self.assertGot(wrapped.data == names[0].data, True, "name after eight clicks equals the first")
        self.click_until_changed(run, LANGUAGE, SETTINGS_NAME, "German again")

        sounds = [self.strip(run, SETTINGS_SOUND)]
        for _ in range(5):  # Tone, Voice, Mute, Birds (the bird preview holds the window 1 s), Pitch
            sounds.append(self.click_until_changed(run, SOUND, SETTINGS_SOUND, "the next sound mode"))
        self.assertGot(len({s.data for s in sounds}), 6, "different sound mode names in six steps")
        self.assertGot(read_text(sounds[5], is_text_ink, self.id() + "-sound"), "Pitch", "the sixth sound mode's name")
        wrapped = self.click_until_changed(run, SOUND, SETTINGS_SOUND, "the sound mode after Pitch")
        self.assertGot(wrapped.data == sounds[0].data, True, "sound mode after six clicks equals Auto")
        self.click_until_changed(run, SOUND, SETTINGS_SOUND, "Tone again")

        level = self.strip(run, SETTINGS_READING)
        quality = self.click_until_changed(run, READING, SETTINGS_READING, "Quality")
        back = self.click_until_changed(run, READING, SETTINGS_READING, "Level again")
        self.assertGot(back.data == level.data and quality.data != level.data, True, "Level, Quality, Level")
        self.click_until_changed(run, READING, SETTINGS_READING, "Quality again")

        run.driver("close")
        run.wait_exit()
        self.assertGot(settings_fields(run.read("qvnth.dat"))[:2] + settings_fields(run.read("qvnth.dat"))[5:],
                       (1, 1, 1), "saved language, sound mode, reading")

    def test_about_help_minimise_and_drag(self):
        run = self.open_watch_run(script=None)
        run.click(*ABOUT)
        about = run.dialog()
        self.assertGot([c["text"] for c in about["children"] if c["class"] == "Button"], ["OK"], "buttons of the about message")
        run.click_button(run.button(about, "OK"))
        wait_for(lambda: not dialogs(run), 10, interval=0.2, what="the about message to close")
        run.click(*HELP)
        guide = run.dialog()
        self.assertGot(sorted(c["text"] for c in guide["children"] if c["class"] == "Button"), ["CANCEL", "OK"],
                       "buttons of the user guide question")
        run.click_button(run.button(guide, "CANCEL"))
        wait_for(lambda: not dialogs(run), 10, interval=0.2, what="the user guide question to close")

        origin = run.origin
        run.drag(BACKGROUND, (BACKGROUND[0] + 60, BACKGROUND[1] + 40))
        geometry = wait_for(lambda: (lambda g: g if g and g[:2] != tuple(origin) else None)(
            self.desktop.geometry(run.window)), 5, what="the window to move")
        self.assertGot(geometry[:2], (origin[0] + 60, origin[1] + 40), "window position after dragging the background")
        run.origin = geometry[:2]
        self.assertGot(run.state()["window"]["iconic"], False, "minimised before the click")
        run.click(*MINIMISE)
        wait_for(lambda: run.state()["window"]["iconic"], 5, interval=0.2, what="the window to be minimised")


class WhileWatchingTest(WatchingCase):
    def test_double_click_opens_the_signal_log_and_list_commands_wait(self):
        run = self.open_watch_run(script=[(0, 1, 60, 40)], settings=settings_bytes(reading=0))
        transponders = run.read("Transponders/0192.ini")
        satellites = run.items(111)
        self.press_start(run)
        self.wait_meter(run, lambda m: m.bar_width(LEVEL) == 171, "the level bar of 60")
        run.click(*SORT)
        run.click(*ADD)
        time.sleep(0.5)
        self.assertGot(dialogs(run), [], "dialogs after sort and add while watching")
        for point, box, what in ((LANGUAGE, SETTINGS_NAME, "language"), (SOUND, SETTINGS_SOUND, "sound mode")):
            before = self.window_image(run).crop(*box)
            run.click(*point)
            run.move(*RESTING)
            wait_for(lambda: self.window_image(run).crop(*box).differing_pixels(before), 5,
                     what="the %s to change while watching" % what)

        run.double_click(*READING)
        log = run.dialog()
        self.assertTrue(log["rect"]["width"] == self.desktop.width, "the signal log is not full-screen: %r" % log["rect"])
        run.click_button(run.button(log, "X"))
        wait_for(lambda: not dialogs(run), 10, interval=0.2, what="the signal log to close")
        self.wait_meter(run, lambda m: m.bar_width(LEVEL) == 171, "the meter after the signal log")

        run.click(*DISH_ALIGNMENT)
        calculator = run.dialog()
        run.click_button(run.button(calculator, "OK"))
        wait_for(lambda: not dialogs(run), 10, interval=0.2, what="the calculator to close")
        self.wait_meter(run, lambda m: m.bar_width(LEVEL) == 171, "the meter after the calculator")

        self.stop_and_watch_the_status_box(run)
        self.assertGot(run.items(111), satellites, "satellite list after sort while watching")
        run.double_click(*LANGUAGE)
        time.sleep(0.5)
        self.assertGot(dialogs(run), [], "dialogs after a double click while idle")
        run.driver("close")
        run.wait_exit()
        self.assertGot(run.read("Transponders/0192.ini"), transponders, "transponder file after add while watching")
        saved = settings_fields(run.read("qvnth.dat"))
        self.assertGot((saved[0], saved[1], saved[5]), (2, 4, 1),
                       "language, sound mode and reading after a click on each while watching and a double click "
                       "on the language (idle) and the reading (watching)")


@unittest.skipUnless(LONG, "long")
class RepeatedWatchTest(WatchingCase):
    def test_ten_starts_and_stops_each_end_every_thread(self):
        run = self.open_watch_run(script=[(0, 1, 60, 40, SLOW_READ_MS)])
        for attempt in range(10):
            self.press_start(run)
            wait_for(lambda: not self.lists_shown(run), 10, what="the meter, start %d" % attempt)
            # A second press within the double-click time would open the signal log instead.
            time.sleep(DOUBLE_CLICK_GAP + 0.3 * (attempt % 4))
            status_red = self.stop_during_a_slow_read(run)
            self.assertTrue(status_red > 50, "got %d red pixels in the status box during stop %d" % (status_red, attempt))
            reads = len(run.calls("ReadSignal"))
            time.sleep(DOUBLE_CLICK_GAP)
            self.assertGot(len(run.calls("ReadSignal")), reads, "reads after stop %d" % attempt)
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")
        self.assertGot(run.read("log.txt"), MARKERS + OK, "log.txt")

    def test_a_minute_of_the_panned_dish_reads_every_100_ms(self):
        run = self.open_watch_run(script=None)
        self.press_start(run)
        time.sleep(60)
        self.stop_and_watch_the_status_box(run)
        reads = [int(line[0]) for line in run.calls("ReadSignal")]
        gaps = sorted(b - a for a, b in zip(reads, reads[1:]))
        self.assertTrue(len(reads) > 300, "got %d reads in a minute" % len(reads))
        self.assertTrue(gaps[0] >= 90 and gaps[len(gaps) // 2] <= 150,
                        "got shortest %d ms and median %d ms between reads, expected about 100 ms" %
                        (gaps[0], gaps[len(gaps) // 2]))
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")
