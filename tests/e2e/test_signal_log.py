"""The signal log as a user sees it: a double click while watching opens the full-screen graph, which
samples the scripted signal once a second into signal_log.txt and draws it as green bars on a grid."""
import datetime
import os
import re
import stat
import struct
import time
import unittest

from quorvan_e2e import LONG, QuorvanTest, wait_for

START_BUTTON = (422, 145)
READING_BUTTON = (207, 350)
SORT_BUTTON = (57, 120)  # does nothing while watching, so a double click there only opens the log
LOG = "signal_log.txt"
# A bar of 55 % ends between the "60%" and "50%" labels, which are drawn over the graph's left part.
LEVEL, QUALITY = 55, 30
SCRIPT = [(0, 1, LEVEL, QUALITY)]
# Astra 19.2 east with its 10714 H transponder chosen, reading the level.
SETTINGS = struct.pack("<6i", 1, 3, 0, 192, 10714000, 0) + bytes(256 - 24)
# 1024 x 768: row unit 30, column unit 3, graph 901 x 601 at (62, 75) in the window's client area.
ROW, COLUMN, GRAPH_X, GRAPH_Y = 30, 3, 62, 75
GRAPH_BOTTOM = GRAPH_Y + 20 * ROW
HEADER = re.compile(rb";Quorvan signal level log \(GMT 0\) (\d\d)\.(\d\d)\.(\d{4})  (\d\d):(\d\d)\r\n")
SAMPLE = re.compile(rb"(\d\d):(\d\d)   (\d\d+)\r\n")


def is_green(p):
    return p[1] >= 90 and p[0] < 60 and p[2] < 60


def is_grid(p):
    return all(95 <= c <= 140 for c in p) and max(p) - min(p) < 25


def parse_log(content):
    """(opening time, format line, [(minute, second, value)]), failing on any line out of form."""
    header = HEADER.match(content)
    assert header, "header: got %r" % content[:80]
    day, month, year, hour, minute = (int(v) for v in header.groups())
    rest = content[header.end():]
    format_line, _, body = rest.partition(b"\r\n\r\n")
    samples, position = [], 0
    while position < len(body):
        line = SAMPLE.match(body, position)
        assert line, "sample line at byte %d: got %r" % (position, body[position:position + 20])
        samples.append(tuple(int(v) for v in line.groups()))
        position = line.end()
    return datetime.datetime(year, month, day, hour, minute), format_line, samples


class SignalLogTest(QuorvanTest):
    screen_size = (1024, 768)

    def start_watching(self, run):
        run.click(*START_BUTTON)
        reads = wait_for(lambda: len(run.calls("ReadSignal")) >= 3, 20, interval=0.2, what="ReadSignal in the trace")
        return reads

    def log_window(self, run, timeout=10):
        def open_log():
            return next((d for d in run.state()["dialogs"] if d["class"] == "#32770" and d["visible"]
                         and any(c["text"] == "X" for c in d["children"])), None)
        return wait_for(open_log, timeout, interval=0.2, what="the signal log window")

    def no_dialog(self, run):
        return not any(d["visible"] for d in run.state()["dialogs"] if d["class"] == "#32770")

    def samples_after(self, run, count, timeout):
        def enough():
            _, _, samples = parse_log(run.read(LOG))
            return samples if len(samples) >= count else None
        return wait_for(enough, timeout, interval=0.5, what="%d sample lines in %s" % (count, LOG))

    def assert_one_a_second(self, samples, value, what):
        self.assertGot({s[2] for s in samples}, {value}, "%s values" % what)
        seconds = [m * 60 + s for m, s, _ in samples]
        steps = {(b - a) % 3600 for a, b in zip(seconds, seconds[1:])}
        self.assertTrue(steps <= {1, 2} and 1 in steps,
                        "%s: got seconds %r between lines, expected one line a second" % (what, sorted(steps)))

    def bar_heights(self, screen, columns):
        """Height of each sample's bar, from the graph's bottom line up to its topmost green pixel (0 for none),
        where at least 80 % of the pixels in between are green (labels and grid lines cross the rest)."""
        heights = []
        for index in range(columns):
            x = 1 + GRAPH_X + COLUMN * index + 1
            bottom = 1 + GRAPH_BOTTOM
            top = next((y for y in range(1 + GRAPH_Y - 2, bottom + 1) if is_green(screen.pixel(x, y))), None)
            if top is None:
                heights.append(0)
                continue
            green = screen.count(is_green, (x, top, 1, bottom - top + 1))
            heights.append(bottom - top if green >= 0.8 * (bottom - top + 1) else -1)
        return heights

    def test_double_click_while_watching_records_level_then_quality(self):
        run = self.open_run(script=SCRIPT, files={"qvnth.dat": SETTINGS})
        run.start()
        self.start_watching(run)
        opened = datetime.datetime.now(datetime.timezone.utc).replace(tzinfo=None)
        run.double_click(*SORT_BUTTON)
        window = self.log_window(run)
        rect = window["rect"]
        self.assertGot((rect["x"], rect["y"], rect["width"], rect["height"]), (0, 0, 1024, 768), "log window")
        close_button = next(c for c in window["children"] if c["text"] == "X")
        self.assertGot((close_button["rect"]["x"], close_button["rect"]["y"]), (1 + 1024 - 36, 1 + 14), "X button")

        samples = self.samples_after(run, 5, 20)
        when, format_line, _ = parse_log(run.read(LOG))
        self.assertLess(abs((when - opened.replace(second=0, microsecond=0)).total_seconds()), 61,
                        "header time %s against the UTC opening %s" % (when, opened))
        self.assertGot(format_line, b";Format: Min:Sec Level", "format line")
        self.assert_one_a_second(samples, LEVEL, "level log")
        first = samples[0][0] * 60 + samples[0][1]
        self.assertLess((first - (opened.minute * 60 + opened.second)) % 3600, 5, "first sample's time")

        screen = run.desktop.screenshot(run.path("log.png"))
        drawn = len(parse_log(run.read(LOG))[2])
        heights = self.bar_heights(screen, drawn + 20)
        # 6 pixels a percent; the 3-pixel pen's round end may add one.
        for index, height in enumerate(heights[:drawn - 1]):
            self.assertTrue(LEVEL * 6 - 2 <= height <= LEVEL * 6 + 2,
                            "bar %d: got %d pixels high, expected %d" % (index, height, LEVEL * 6))
        self.assertGot(heights[drawn + 2:], [0] * 18, "green pixels right of the samples")
        self.assertGot(screen.count(is_green, (1, 1, 1022, 1 + GRAPH_Y - 2)), 0, "green pixels above the graph")
        # The grid: 21 rows and 6 minute lines, grey where no bar covers them.
        for row in (0, 5, 10, 20):
            y = 1 + GRAPH_Y + ROW * row
            grey = screen.count(is_grid, (1 + GRAPH_X + 100, y, 700, 1))
            self.assertGreater(grey, 690, "grid row %d: got %d grey pixels of 700" % (row, grey))
        for minute in range(1, 6):  # the left edge lies under the first bars and the percentage labels
            x = 1 + GRAPH_X + 180 * minute
            grey = screen.count(is_grid, (x, 1 + GRAPH_Y, 1, 280))
            self.assertGreater(grey, 270, "minute line %d: got %d grey pixels of 280" % (minute, grey))

        # A double click closes it; watching goes on and the file stays as it was.
        run.double_click(300, 400)
        wait_for(lambda: self.no_dialog(run), 10, interval=0.2, what="the log window to close")
        closed_content = run.read(LOG)
        reads = len(run.calls("ReadSignal"))
        wait_for(lambda: len(run.calls("ReadSignal")) > reads + 10, 10, interval=0.2, what="ReadSignal after closing")
        time.sleep(1.5)
        self.assertGot(run.read(LOG), closed_content, "signal_log.txt after closing")

        # With the reading switched to quality the next opening starts the file anew and logs quality.
        run.click(*READING_BUTTON)
        run.double_click(*SORT_BUTTON)
        window = self.log_window(run)
        samples = self.samples_after(run, 3, 15)
        _, format_line, _ = parse_log(run.read(LOG))
        self.assertGot(format_line, b";Format: Min:Sec Quality", "format line with the reading on quality")
        self.assert_one_a_second(samples, QUALITY, "quality log")
        run.click_button(next(c for c in window["children"] if c["text"] == "X"))
        wait_for(lambda: self.no_dialog(run), 10, interval=0.2, what="the log window to close by its X")

        run.click(*START_BUTTON)
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")

    def test_double_click_while_idle_opens_nothing(self):
        run = self.open_run(script=SCRIPT, files={"qvnth.dat": SETTINGS})
        run.start()
        run.double_click(*SORT_BUTTON)
        time.sleep(2)
        self.assertTrue(self.no_dialog(run), "a window opened on a double click while idle")
        self.assertFalse(run.exists(LOG), "signal_log.txt written while idle")
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")

    def test_read_only_log_file_keeps_the_window_shut(self):
        old = b"last week's log\r\n"
        run = self.open_run(script=SCRIPT, files={LOG: old, "qvnth.dat": SETTINGS})
        os.chmod(run.path(LOG), stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
        run.start()
        self.start_watching(run)
        run.double_click(*SORT_BUTTON)
        time.sleep(2.5)
        self.assertTrue(self.no_dialog(run), "the log window opened on a read-only signal_log.txt")
        self.assertGot(run.read(LOG), old, "read-only signal_log.txt")
        reads = len(run.calls("ReadSignal"))
        wait_for(lambda: len(run.calls("ReadSignal")) > reads + 5, 10, interval=0.2, what="watching going on")
        run.click(*START_BUTTON)
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")

    @unittest.skipUnless(LONG, "long")
    def test_page_starts_again_after_300_samples(self):
        run = self.open_run(script=SCRIPT, files={"qvnth.dat": SETTINGS})
        run.start()
        self.start_watching(run)
        run.double_click(*SORT_BUTTON)
        self.log_window(run)
        self.samples_after(run, 306, 420)
        screen = run.desktop.screenshot(run.path("second-page.png"))
        samples = parse_log(run.read(LOG))[2]
        on_page = len(samples) - 300
        heights = self.bar_heights(screen, 300)
        self.assertTrue(all(h >= LEVEL * 6 - 2 for h in heights[:on_page - 1]),
                        "bars of the new page: got %r, expected %d each" % (heights[:on_page - 1], LEVEL * 6))
        self.assertGot(heights[on_page + 2:], [0] * (300 - on_page - 2), "bars of the cleared first page")
        self.assert_one_a_second(samples, LEVEL, "log across the page change")
        run.double_click(300, 400)
        wait_for(lambda: self.no_dialog(run), 10, interval=0.2, what="the log window to close")
        run.click(*START_BUTTON)
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")
