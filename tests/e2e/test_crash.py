"""A crash inside the card's filter: the program ends at once, without a message, leaving crash.txt
and Quorvan.dmp beside itself; the report's frames map to the simulated card's source line; the
settings and transponder files are exactly as before."""
import os
import re
import subprocess
import sys

from quorvan_e2e import BUILD, ROOT, wait_for
from test_watching import WatchingCase

CARD_SOURCE = os.path.join(ROOT, "tunersim", "tunersim_win32.cpp")
ACCESS_VIOLATION = 0xC0000005


def crash_line():
    """The line of the card's source that writes through the null pointer."""
    with open(CARD_SOURCE) as f:
        return next(number for number, line in enumerate(f, 1) if "*crashTarget = 1" in line)


class CrashReportTest(WatchingCase):
    def test_a_crash_in_the_cards_read_writes_the_report_and_touches_no_user_file(self):
        run = self.open_watch_run(script="0 1 60 40\n1500 crash\n")
        kept = {name: run.read(name) for name in ["qvnth.dat"] + ["Transponders/" + f for f in
                                                                   os.listdir(run.path("Transponders"))]}
        self.press_start(run)
        code = run.wait_exit(30)
        self.assertGot(code, ACCESS_VIOLATION & 0xFF, "exit code (the exception's, as Wine passes it on)")
        report = run.read("crash.txt").decode("latin-1")
        with open(os.path.join(ROOT, "VERSION")) as f:
            version = f.read().strip()
        self.assertIn("version: %s (64-bit)" % version, report)
        self.assertIn("exception: 0xC0000005 access violation", report)
        where = re.search(r"^address: 0x[0-9a-f]{16} (\S+)\+0x([0-9a-f]+)\r$", report, re.M)
        frames = re.findall(r"^#(\d+) (\S+)\r$", report, re.M)
        self.assertTrue(where and frames, "no address or frames in crash.txt:\n" + report)
        self.assertGot(where.group(1), "tunersim.ax", "module of the crash address")
        self.assertGot(frames[0][1], "tunersim.ax+0x" + where.group(2), "first frame")
        self.assertTrue(any(f.startswith("Quorvan.exe+") for _, f in frames),
                        "no frame in Quorvan.exe (the poll thread that called the card):\n" + report)
        self.assertGot(run.read("Quorvan.dmp")[:4], b"MDMP", "minidump signature")
        symbolized = subprocess.run([sys.executable, os.path.join(ROOT, "tools", "symbolize.py"), run.path("crash.txt"),
                                     "--build", BUILD], check=True, stdout=subprocess.PIPE, text=True).stdout
        first = next(line for line in symbolized.splitlines() if line.startswith("#0 "))
        self.assertGot(first.rsplit(" at ", 1)[-1].split(os.sep)[-1].split("/")[-1],
                       "tunersim_win32.cpp:%d" % crash_line(), "the first frame's source line")
        self.assertGot(sorted(name for name in kept if run.read(name) != kept[name]), [], "user files changed")
        self.assertGot(sorted(os.listdir(run.path("Transponders"))), sorted(n.split("/")[1] for n in kept if "/" in n),
                       "transponder files")
