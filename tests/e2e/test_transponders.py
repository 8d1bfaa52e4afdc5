"""The satellite and transponder lists, the status messages and adding and removing transponders,
as a user sees them and as the files on disk show them afterwards."""
import os
import random
import signal
import stat
import struct
import subprocess
import time

from quorvan_e2e import WINE, QuorvanTest, read_text, wait_for, wine_environment
from test_shell import settings_bytes
from test_watching import DOUBLE_CLICK_GAP, START

SATELLITES, TRANSPONDERS = 111, 112
SORT = (57, 120)
ADD = (60, 185)      # the last row of the upper half
REMOVE = (60, 186)   # the first row of the lower half
STATUS_BOX = (64, 20, 384, 60)  # x, y, width, height

STARTER = os.path.join(os.path.dirname(__file__), "..", "..", "transponders", "starter")

# A downloaded list: an [UPDATE] section first, entries longer than 22 characters, a comment among
# the entries and a section after them.
UPDATE_FIRST = (b"[UPDATE]\r\nDate=2024-03-01\r\nVersion=12\r\nURL=http://lists.example/get?id=0100\r\n\r\n"
                b"[SATTYPE]\r\n1=0100\r\n2=Test Sat 10E\r\n\r\n[DVB]\r\n0=4\r\n"
                b"1=10758,V,22000,34,DVB-S2,8PSK\r\n; feeds\r\n2=11034,H,27500\r\n"
                b"3=11554,V,27500,DVB-S2,QPSK,23\r\n4=12111,H,27500\r\n\r\n[OTHER]\r\n1=99999,H,1\r\nNote=kept\r\n")
UPDATE_FIRST_ITEMS = ["10758,V,22000,34,DVB-S", "11034,H,27500", "11554,V,27500,DVB-S2,Q", "12111,H,27500"]
READ_ONLY = b"[SATTYPE]\r\n1=0050\r\n2=Read-only Sat\r\n\r\n[DVB]\r\n0=2\r\n1=11111,H,27500\r\n2=12222,V,27500\r\n"
CANNOT_WRITE = "Cannot write the transponder file"
JUNK_SIZE = 200 << 20
HUGE_SIZE = (4 << 30) + 100  # beyond what can be read whole
LF_ONLY = b"[SATTYPE]\n1=0060\n2=LF Sat\n\n[DVB]\n0=2\n1=11111,H,27500\n2=12222,V,27500"


def texts(items):
    return [(item["text"], item["data"]) for item in items]


def starter_file(name):
    with open(os.path.join(STARTER, name), "rb") as f:
        return f.read()


def starter_satellites():
    """(position field, name, position) of every shipped file."""
    satellites = []
    for name in sorted(n for n in os.listdir(STARTER) if n.endswith(".ini")):
        position = int(name[:4])
        east = position <= 1800
        tenths = position if east else 3600 - position
        field = "%5s%s" % ("%d.%d" % divmod(tenths, 10), "e" if east else "w")
        title = next(line[2:] for line in starter_file(name).split(b"\r\n") if line.startswith(b"2="))
        satellites.append((field, title.decode("latin-1"), position))
    return satellites


def position_order():
    """Degrees ascending, east before west at equal degrees."""
    return sorted(((field + " - " + title + " ", position) for field, title, position in starter_satellites()),
                  key=lambda item: (float(item[0][:5]), item[0][5]))


def name_order_words(items):
    """The first word of each name-first item, lower case: the list keeps these in order."""
    return [text.split()[0].lower() for text, _ in items]


def entries_of(data):
    """The item texts a plain file lists: every entry after the count line, cut to 22 characters."""
    lines = data.split(b"\r\n")
    start = next(i for i, line in enumerate(lines) if line.startswith(b"0=")) + 1
    return [line.split(b"=", 1)[1][:22].decode() for line in lines[start:] if b"=" in line]


def leftovers(run):
    """Temporary files a rewrite left behind."""
    return sorted(n for n in os.listdir(run.path("Transponders")) if not n.endswith(".ini") and n != "SOURCE.txt")


def saved_settings(run):
    position, frequency = struct.unpack_from("<2i", run.read("qvnth.dat"), 12)
    return position, frequency


def is_status_red(pixel):
    r, g, b = pixel
    return r > 120 and g < 90 and b < 90 and r - g > 70


def is_dark_ink(pixel):
    return sum(pixel) < 240


class FileHolder:
    """Another program holding a transponder file open for reading and sharing it for reading only
    (cmd's input redirection, kept open by a ping that waits), as an editor or a download can."""
    COUNT = 97  # pings, a second each: the holder's mark among the processes

    def __init__(self, run, relative):
        command = "ping -n %d 127.0.0.1 >nul <%s" % (self.COUNT, relative.replace("/", "\\"))
        self.shell = subprocess.Popen(WINE + ["cmd", "/c", command], cwd=run.folder,
                                      env=wine_environment(run.extra), stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL)
        prefix = ("WINEPREFIX=" + wine_environment()["WINEPREFIX"]).encode()
        self.ping = wait_for(lambda: self.find_ping(prefix), 30, interval=0.2, what="the program holding the file")

    def find_ping(self, prefix):
        mark = b"ping\0-n\0%d\0" % self.COUNT
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open("/proc/%s/cmdline" % pid, "rb") as f:
                    command = f.read()
                with open("/proc/%s/environ" % pid, "rb") as f:
                    environment = f.read().split(b"\0")
            except OSError:
                continue
            if mark in command and prefix in environment:
                return int(pid)
        return None

    def release(self):
        try:
            os.kill(self.ping, signal.SIGTERM)
        except ProcessLookupError:
            pass
        self.shell.wait(30)


class TransponderRun:
    """A run with the lists at hand: typing, clicking the hot regions and answering the dialog."""

    def __init__(self, test, run):
        self.test, self.run = test, run

    def combo(self, combo_id):
        return self.run.state()["combos"][str(combo_id)]

    def type_transponder(self, text):
        self.run.driver("settext", TRANSPONDERS, text)
        self.test.assertGot(self.combo(TRANSPONDERS)["text"], text, "transponder text after typing")

    def dialog_text(self, dialog):
        rect = dialog["rect"]
        top_of_buttons = min(c["rect"]["y"] for c in dialog["children"] if c["class"] == "Button")
        screen = self.run.desktop.screenshot(self.run.path("dialog.png"))
        top = rect["y"] + rect["height"] // 2 - 30
        text = screen.crop(rect["x"] + 20, top, rect["width"] - 40, top_of_buttons - top - 2)
        return read_text(text, is_dark_ink, self.test.id() + "-dialog")

    def answer(self, expected_text, button, expected_buttons):
        """Waits for the message dialog, checks its text and buttons and presses one."""
        dialog = self.run.dialog()
        self.test.assertGot(self.dialog_text(dialog), expected_text, "message dialog text")
        buttons = sorted(c["text"] for c in dialog["children"] if c["class"] == "Button")
        self.test.assertGot(buttons, sorted(expected_buttons), "message dialog buttons")
        self.run.click_button(self.run.button(dialog, button))
        # Only this dialog: a message may follow the question at once.
        wait_for(lambda: not any(d["visible"] and d["hwnd"] == dialog["hwnd"] for d in self.run.state()["dialogs"]),
                 10, interval=0.2, what="the dialog to close")

    def add(self, expected_text):
        self.run.click(*ADD)
        self.answer(expected_text, "OK", ["OK"])

    def remove(self, button):
        self.run.click(*REMOVE)
        self.answer("Delete the current transponder from ini file?", button, ["OK", "CANCEL"])

    def choose_satellite(self, position):
        index = next(i for i, item in enumerate(self.run.items(SATELLITES)) if item["data"] == position)
        self.run.driver("select", SATELLITES, index, "notify")


class ListsTest(QuorvanTest):
    def test_satellite_list_orders_transponder_selection_and_frequency_saved_at_close(self):
        run = self.open_run(files={"qvnth.dat": settings_bytes(position=192, frequency=10758000)})
        run.start()
        lists = TransponderRun(self, run)
        position_first = position_order()
        self.assertTrue(len(position_first) >= 190, "got %d starter files" % len(position_first))
        self.assertGot(texts(run.items(SATELLITES)), position_first, "satellite list at start (position first)")
        self.assertGot(lists.combo(SATELLITES)["selection"], [p for _, p in position_first].index(192),
                       "selected satellite (19.2e)")
        astra = starter_file("0192.ini")
        self.assertGot([i["text"] for i in run.items(TRANSPONDERS)], entries_of(astra), "transponder list of 19.2e")
        transponder = lists.combo(TRANSPONDERS)
        self.assertGot((transponder["selection"], transponder["text"]), (3, "10758,V,22000,56"),
                       "selected transponder of the saved frequency")

        run.click(*SORT)
        name_first = texts(run.items(SATELLITES))
        self.assertGot(sorted(name_first), sorted((title + " " + field, position)
                                                  for field, title, position in starter_satellites()),
                       "satellite items after a click on sort (name first)")
        self.assertGot(name_order_words(name_first), sorted(name_order_words(name_first)), "names in order")
        self.assertGot(lists.combo(SATELLITES)["text"], "Astra 1KR/1L/1M/1N  19.2e", "satellite still selected")
        time.sleep(DOUBLE_CLICK_GAP)  # a second press on the same place sooner would be a double click
        run.click(*SORT)
        self.assertGot(texts(run.items(SATELLITES)), position_first, "satellite list after the second click")

        lists.choose_satellite(130)
        self.assertGot(lists.combo(SATELLITES)["text"], " 13.0e - Hot Bird 13F/13G ", "chosen satellite")
        self.assertGot([i["text"] for i in run.items(TRANSPONDERS)], entries_of(starter_file("0130.ini")),
                       "transponder list after choosing 13.0e")
        lists.choose_satellite(1055)
        self.assertGot([i["text"] for i in run.items(TRANSPONDERS)], entries_of(starter_file("1055.ini")),
                       "transponder list after choosing 105.5e")
        lists.type_transponder("3880,h,27500000")
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")
        self.assertGot(saved_settings(run), (1055, 3880000), "saved position and frequency of the text left")


class FarSatelliteTest(QuorvanTest):
    def test_a_satellite_far_from_europe_lists_its_transponders_and_watching_tunes_the_chosen_one(self):
        run = self.open_run(script=[(0, 1, 60, 40)], files={"qvnth.dat": settings_bytes(position=192, frequency=0)})
        run.start()
        lists = TransponderRun(self, run)
        lists.choose_satellite(2880)
        self.assertGot(lists.combo(SATELLITES)["text"], " 72.0w - AMC 6 ", "chosen satellite")
        items = [i["text"] for i in run.items(TRANSPONDERS)]
        self.assertGot(items, entries_of(starter_file("2880.ini")), "transponder list of 72.0w")
        # The last DVB-S entry of the high band: the tone goes on.
        chosen = max(i for i, text in enumerate(items) if int(text.split(",")[0]) >= 11700 and "S2" not in text)
        run.driver("select", TRANSPONDERS, chosen)
        run.driver("select", 110, 3, "notify")
        run.click(*START)
        wait_for(lambda: run.calls("ReadSignal"), 10, interval=0.2, what="the card to be read")
        mhz, letter, ksps = items[chosen].split(",")[:3]
        self.assertGot(run.calls("Tune")[0][2:], [mhz, ksps, "1" if letter in "HL" else "0", "1", "3"],
                       "card tuned to %s on LNB3" % items[chosen])


class StatusMessageTest(QuorvanTest):
    def status_frames(self, run, seconds):
        """Screenshots of the status box after a click on add, until red text came and went or for
        the given time: (seconds after the click, image, red pixels)."""
        clicked = time.monotonic()
        run.click(*ADD, pause=0)
        frames = []
        while time.monotonic() - clicked < seconds:
            image = run.screenshot().crop(*STATUS_BOX)
            frames.append((time.monotonic() - clicked, image, image.count(is_status_red)))
            if frames[-1][2] == 0 and any(red > 40 for _, _, red in frames):
                break
        return frames

    def test_bad_transponder_texts_show_their_message_for_two_seconds_and_change_nothing(self):
        run = self.open_run(files={"qvnth.dat": settings_bytes(position=192, frequency=10714000)})
        run.start()
        lists = TransponderRun(self, run)
        original = run.read("Transponders/0192.ini")
        items = run.items(TRANSPONDERS)
        self.assertGot(run.screenshot().crop(*STATUS_BOX).count(is_status_red), 0, "red pixels before any message")
        cases = [("10714,H,22", "Incorrect transponder parameters."),   # 10 characters
                 ("3398,H,27500", "Invalid transponder frequency."),
                 ("10714,x,27500", "Invalid polarisation."),
                 ("10714,H,45001", "Invalid symbol rate.")]
        for text, message in cases:
            lists.type_transponder(text)
            frames = self.status_frames(run, 15)  # ends as soon as the message came and went
            shown = [(t, image) for t, image, red in frames if red > 40]
            self.assertTrue(shown, "no red text in the status box after adding %r" % text)
            self.assertGot(read_text(shown[0][1], is_status_red, self.id() + "-status"), message,
                           "status message for %r" % text)
            gone = [t for t, image, red in frames if t > shown[0][0] and red == 0]
            self.assertTrue(gone, "the status message for %r was still there 15 s after the click" % text)
            self.assertTrue(gone[0] >= 1.9, "the status message for %r was gone after %.2f s, expected 2 s"
                            % (text, gone[0]))
            self.assertGot(run.read("Transponders/0192.ini"), original, "0192.ini after adding %r" % text)
        self.assertGot(run.items(TRANSPONDERS), items, "transponder list after the rejected texts")
        self.assertGot([d["text"] for d in run.state()["dialogs"] if d["visible"]], [],
                       "dialogs open after the rejected texts")


class AddRemoveTest(QuorvanTest):
    def test_add_duplicate_cancel_and_remove_restore_the_file(self):
        run = self.open_run(files={"qvnth.dat": settings_bytes(position=235, frequency=11778000)})
        run.start()
        lists = TransponderRun(self, run)
        original = run.read("Transponders/0235.ini")
        count = len(entries_of(original))
        added_line = b"%d=12345,V,27500\r\n" % (count + 1)
        with_entry = original.replace(b"0=%d\r\n" % count, b"0=%d\r\n" % (count + 1)) + added_line

        lists.type_transponder("12345,V,27500")
        lists.add("Transponder is successfuly added")
        self.assertGot(run.read("Transponders/0235.ini"), with_entry, "0235.ini after adding")
        combo = lists.combo(TRANSPONDERS)
        self.assertGot((combo["count"], combo["selection"]), (count + 1, count), "list after adding (count, selection)")

        lists.type_transponder("12345,v,27500")
        lists.add("A transponder with the parameters you specified already exists")
        self.assertGot(run.read("Transponders/0235.ini"), with_entry, "0235.ini after adding a duplicate")

        lists.type_transponder("12345,V,27500")
        lists.remove("CANCEL")
        self.assertGot(run.read("Transponders/0235.ini"), with_entry, "0235.ini after CANCEL")
        self.assertGot(lists.combo(TRANSPONDERS)["count"], count + 1, "list length after CANCEL")
        lists.remove("OK")
        self.assertGot(run.read("Transponders/0235.ini"), original, "0235.ini after removing the added entry")
        self.assertGot([i["text"] for i in run.items(TRANSPONDERS)], entries_of(original), "list after removing")
        self.assertGot(leftovers(run), [], "files other than .ini left in Transponders")


class FileMendsTest(QuorvanTest):
    def test_downloaded_list_keeps_every_byte_held_file_lists_read_only_file_survives(self):
        run = self.open_run(files={"qvnth.dat": settings_bytes(position=100, frequency=11034000),
                                   "Transponders/0100.ini": UPDATE_FIRST, "Transponders/0050.ini": READ_ONLY,
                                   "Transponders/0060.ini": LF_ONLY})
        os.chmod(run.path("Transponders/0050.ini"), stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
        holder = FileHolder(run, "Transponders/0090.ini")
        try:
            run.start()
        finally:
            holder.release()
        lists = TransponderRun(self, run)
        satellites = texts(run.items(SATELLITES))
        for item in [("  5.0e - Read-only Sat ", 50), ("  6.0e - LF Sat ", 60), (" 10.0e - Test Sat 10E ", 100),
                     ("  9.0e - Eutelsat 9B ", 90)]:
            self.assertIn(item, satellites, "satellite list: got %r, expected it to hold %r" % (satellites, item))
        self.assertGot(lists.combo(SATELLITES)["text"], " 10.0e - Test Sat 10E ", "selected satellite")
        self.assertGot([i["text"] for i in run.items(TRANSPONDERS)], UPDATE_FIRST_ITEMS, "items of 0100.ini")
        self.assertGot(lists.combo(TRANSPONDERS)["selection"], 1, "selected transponder (11034 MHz)")

        lists.type_transponder("12345,H,27500")
        lists.add("Transponder is successfuly added")
        added = UPDATE_FIRST.replace(b"0=4\r\n", b"0=5\r\n").replace(b"4=12111,H,27500\r\n",
                                                                    b"4=12111,H,27500\r\n5=12345,H,27500\r\n")
        self.assertGot(run.read("Transponders/0100.ini"), added, "0100.ini after adding")
        lists.remove("OK")
        self.assertGot(run.read("Transponders/0100.ini"), UPDATE_FIRST, "0100.ini after removing the added entry")

        # The list shows the long entry cut to 22 characters; choosing it removes the whole entry.
        run.driver("select", TRANSPONDERS, 0)
        self.assertGot(lists.combo(TRANSPONDERS)["text"], "10758,V,22000,34,DVB-S", "text of the chosen long entry")
        lists.remove("OK")
        self.assertGot(run.read("Transponders/0100.ini"),
                       UPDATE_FIRST.replace(b"0=4\r\n1=10758,V,22000,34,DVB-S2,8PSK\r\n; feeds\r\n2=11034,H,27500\r\n"
                                            b"3=11554,V,27500,DVB-S2,QPSK,23\r\n4=12111,H,27500\r\n",
                                            b"0=3\r\n; feeds\r\n1=11034,H,27500\r\n"
                                            b"2=11554,V,27500,DVB-S2,QPSK,23\r\n3=12111,H,27500\r\n"),
                       "0100.ini after removing the long first entry")

        lists.choose_satellite(60)
        self.assertGot([i["text"] for i in run.items(TRANSPONDERS)], ["11111,H,27500", "12222,V,27500"],
                       "items of the LF-only 0060.ini")

        lists.choose_satellite(50)
        self.assertGot([i["text"] for i in run.items(TRANSPONDERS)], ["11111,H,27500", "12222,V,27500"],
                       "items of the read-only 0050.ini")
        lists.type_transponder("12345,H,27500")
        lists.add(CANNOT_WRITE)
        self.assertGot(run.read("Transponders/0050.ini"), READ_ONLY, "read-only 0050.ini after adding")
        self.assertGot([i["text"] for i in run.items(TRANSPONDERS)], ["11111,H,27500", "12222,V,27500"],
                       "list of the read-only file after adding (reloaded from the file)")
        run.driver("select", TRANSPONDERS, 1)
        lists.remove("OK")
        lists.answer(CANNOT_WRITE, "OK", ["OK"])
        self.assertGot(run.read("Transponders/0050.ini"), READ_ONLY, "read-only 0050.ini after removing")
        self.assertGot([i["text"] for i in run.items(TRANSPONDERS)], ["11111,H,27500", "12222,V,27500"],
                       "list of the read-only file after removing")
        self.assertGot(leftovers(run), [], "files other than .ini left in Transponders")


class LargeFilesTest(QuorvanTest):
    def test_a_200_mb_junk_file_and_one_over_4_gib_are_listed_chosen_and_never_rewritten(self):
        # 390.ini would be listed as 39.0e but read as 0390.ini, the shipped Hellas Sat file.
        run = self.open_run(files={"qvnth.dat": settings_bytes(position=235, frequency=11778000),
                                   "Transponders/0124.ini": READ_ONLY.replace(b"0050", b"0124"),
                                   "Transponders/390.ini": READ_ONLY.replace(b"Read-only Sat", b"Short Name Sat")})
        # Sparse: junk at the start, then zeros that take no disk; gone after the test.
        for name in ("0123.ini", "0124.ini"):
            self.addCleanup(lambda path=run.path("Transponders/" + name): os.path.exists(path) and os.remove(path))
        junk = random.Random(14).randbytes(1 << 16)
        with open(run.path("Transponders/0123.ini"), "wb") as f:
            f.write(junk)
        os.truncate(run.path("Transponders/0123.ini"), JUNK_SIZE)
        os.truncate(run.path("Transponders/0124.ini"), HUGE_SIZE)
        huge_start = run.read("Transponders/0124.ini")[:len(READ_ONLY)]
        run.start()
        lists = TransponderRun(self, run)
        satellites = texts(run.items(SATELLITES))
        self.assertGot([data for _, data in satellites].count(123), 1, "items of 0123.ini")
        self.assertIn((" 12.4e - Read-only Sat ", 124), satellites)
        self.assertGot([item for item in satellites if item[1] == 390], [(" 39.0e - Hellas Sat 3 ", 390)],
                       "items of position 390 (0390.ini listed, 390.ini left out)")

        # A file that cannot be read whole leaves no other satellite's entries to start or edit.
        lists.choose_satellite(124)
        self.assertGot((run.items(TRANSPONDERS), lists.combo(TRANSPONDERS)["text"]), ([], ""),
                       "list and text after choosing the file over 4 GiB")
        lists.type_transponder("12345,H,27500")
        lists.add(CANNOT_WRITE)
        self.assertGot(run.items(TRANSPONDERS), [], "list after adding")
        self.assertGot((os.path.getsize(run.path("Transponders/0124.ini")),
                        run.read("Transponders/0124.ini")[:len(READ_ONLY)]), (HUGE_SIZE, huge_start),
                       "0124.ini after adding")
        lists.choose_satellite(123)
        self.assertGot(lists.combo(SATELLITES)["selection"], [d for _, d in satellites].index(123), "junk file chosen")
        self.assertGot(run.process.poll(), None, "program running after choosing the junk file")
        self.assertGot(os.path.getsize(run.path("Transponders/0123.ini")), JUNK_SIZE, "0123.ini size")
        self.assertGot(leftovers(run), [], "files other than .ini left in Transponders")
