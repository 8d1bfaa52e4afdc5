"""Writes that cannot finish: the program's folder on a small tmpfs filled to the last byte, and the
program killed at any moment of an add. Every file that was there stays whole, no temporary file is
left, the user is told where there is a message for it, and the program goes on."""
import errno
import os
import shutil
import signal
import subprocess
import unittest

from quorvan_e2e import RUNS, QuorvanTest, Run, wait_for
from test_shell import settings_bytes
from test_signal_log import LOG, SORT_BUTTON, START_BUTTON
from test_transponders import ADD, TRANSPONDERS, TransponderRun, entries_of, leftovers

CANNOT_WRITE = "Cannot write the transponder file"
POSITION = 100
TRANSPONDER_FILE = "Transponders/%04d.ini" % POSITION
HEADER = b"[SATTYPE]\r\n1=0100\r\n2=Full Sat 10E\r\n\r\n[DVB]\r\n0="
ENTRIES = ["11034,H,27500", "12111,V,27500"]
DISK_SIZE = "8m"  # the program, the card, the starter files and room to spare before the filler


def transponder_file(entries):
    return HEADER + b"%d\r\n" % len(entries) + b"".join(b"%d=%s\r\n" % (i + 1, e.encode())
                                                      for i, e in enumerate(entries))


def fill(folder):
    """Writes a filler file until not one more byte fits; gives its size."""
    path = os.path.join(folder, "filler")
    chunk = 1 << 20
    with open(path, "wb", buffering=0) as f:
        while chunk:
            try:
                f.write(b"\xa5" * chunk)
            except OSError as error:
                if error.errno != errno.ENOSPC:
                    raise
                chunk //= 2
    return os.path.getsize(path)


def snapshot(folder, leave_out=("filler",)):
    files = {}
    for where, _, names in os.walk(folder):
        for name in names:
            relative = os.path.relpath(os.path.join(where, name), folder)
            if relative not in leave_out:
                with open(os.path.join(where, name), "rb") as f:
                    files[relative] = f.read()
    return files


class FullDiskRun(Run):
    """A run whose screenshots go beside the full disk, not on it."""

    def path(self, relative):
        if relative.endswith(".png"):
            return os.path.join(RUNS, "full-disk-screens", relative)
        return Run.path(self, relative)


class FullDiskTest(QuorvanTest):
    def setUp(self):
        super().setUp()
        if os.geteuid() != 0:
            self.skipTest("mounting a tmpfs needs root")
        self.mount = os.path.join(RUNS, "full-disk")
        os.makedirs(self.mount, exist_ok=True)
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=" + DISK_SIZE, "tmpfs", self.mount],
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        if mounted.returncode != 0:
            self.skipTest("cannot mount a tmpfs here: " + mounted.stdout.strip())
        # Runs after tearDown has ended the program.
        self.addCleanup(subprocess.run, ["umount", "--lazy", self.mount], check=True)

    def test_add_remove_signal_log_and_close_on_a_full_disk_lose_nothing(self):
        settings = settings_bytes(lnb=2, position=POSITION, frequency=12111000)
        run = FullDiskRun(self.desktop, "program", script=[(0, 1, 60, 40)], trace=False, runs=self.mount,
                  files={"qvnth.dat": settings, TRANSPONDER_FILE: transponder_file(ENTRIES)})
        self.runs.append(run)
        run.start()  # start-up writes its log and the satellite name note: room for them first
        lists = TransponderRun(self, run)
        fill(run.folder)
        self.assertGot(os.statvfs(run.folder).f_bavail, 0, "free blocks after filling")
        before = snapshot(run.folder)

        lists.type_transponder("12345,H,27500")
        lists.add(CANNOT_WRITE)
        self.assertGot(run.read(TRANSPONDER_FILE), before[TRANSPONDER_FILE], "transponder file after adding")
        self.assertGot([i["text"] for i in run.items(TRANSPONDERS)], ENTRIES, "list after adding (the file's)")

        run.driver("select", TRANSPONDERS, 0)
        lists.remove("OK")
        lists.answer(CANNOT_WRITE, "OK", ["OK"])
        self.assertGot(run.read(TRANSPONDER_FILE), before[TRANSPONDER_FILE], "transponder file after removing")
        self.assertGot([i["text"] for i in run.items(TRANSPONDERS)], ENTRIES, "list after removing (the file's)")
        self.assertGot(leftovers(run), [], "files other than .ini left in Transponders")

        # The signal log opens on a file it cannot fill; watching goes on and stops.
        run.driver("select", TRANSPONDERS, 1)
        run.click(*START_BUTTON)
        run.double_click(*SORT_BUTTON)
        log = run.dialog()
        run.click_button(next(c for c in log["children"] if c["text"] == "X"))
        wait_for(lambda: not any(d["visible"] for d in run.state()["dialogs"] if d["class"] == "#32770"), 10,
                 interval=0.2, what="the signal log to close")
        run.click(*START_BUTTON)
        wait_for(lambda: run.state()["combos"][str(TRANSPONDERS)]["visible"], 20, interval=0.2,
                 what="the lists after stop")
        recorded = run.read(LOG)
        self.assertTrue(recorded == b"" or recorded.endswith(b"\r\n"), "half a line in %s: %r" % (LOG, recorded[-40:]))

        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code after closing on a full disk")
        after = snapshot(run.folder)
        self.assertGot({name: after.get(name) == content for name, content in before.items()},
                       {name: True for name in before}, "files there before the full disk, unchanged")
        self.assertGot(sorted(set(after) - set(before)), sorted({"log.txt", LOG} & set(after)),
                       "files made on the full disk")
        self.assertGot(after.get("log.txt", b""), b"", "log.txt, whose markers find no room")


def traced_by(pid):
    with open("/proc/%d/status" % pid) as status:
        return next(int(line.split()[1]) for line in status if line.startswith("TracerPid:"))


class KilledWhileAddingTest(QuorvanTest):
    # The program's own system calls on the transponder file and its temporary file (the Wine server makes,
    # renames and removes files), counted from the add's start: the write, the flush and the close of the
    # temporary file (the first close and look are the old file's reading), the look at it before the
    # server renames it, and the close after the rename. strace kills the program (SIGKILL) on entering it.
    STEPS = [("write", 1), ("fsync", 1), ("close", 2), ("newfstatat", 2), ("close", 3)]

    @unittest.skipIf(shutil.which("strace") is None, "strace is missing (make deps installs it)")
    def test_the_transponder_file_is_old_or_new_whenever_the_program_is_killed(self):
        run = self.open_run(files={"qvnth.dat": settings_bytes(position=POSITION, frequency=11034000),
                                   TRANSPONDER_FILE: transponder_file(ENTRIES)})
        temporary = run.path(TRANSPONDER_FILE) + ".tmp"
        outcomes = []
        for attempt, (call, when) in enumerate(self.STEPS):
            entries = entries_of(run.read(TRANSPONDER_FILE))
            text = "%d,H,27500" % (11100 + attempt)
            run.start()
            lists = TransponderRun(self, run)
            lists.type_transponder(text)
            pid = run.process.pid
            killer = subprocess.Popen(["strace", "-f", "-qq", "-o", "/dev/null", "-p", str(pid), "-P", temporary,
                                       "-P", run.path(TRANSPONDER_FILE), "-e", "trace=" + call,
                                       "-e", "inject=%s:signal=SIGKILL:when=%d" % (call, when)],
                                      stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            try:
                wait_for(lambda: traced_by(pid) or killer.poll() is not None, 10, what="strace on the program")
                if killer.poll() is not None:
                    self.skipTest("strace cannot attach here: %s" % killer.stderr.read().decode().strip())
                run.click(*ADD, pause=0)
                self.assertGot(run.wait_exit(), -signal.SIGKILL, "end of the program killed at %s %d" % (call, when))
            finally:
                killer.kill()
                killer.wait()
            now = run.read(TRANSPONDER_FILE)
            self.assertIn(now, (transponder_file(entries), transponder_file(entries + [text])),
                          "transponder file after a kill at %s %d" % (call, when))
            outcomes.append("new" if now != transponder_file(entries) else "old")
        self.assertGot(sorted(set(outcomes)), ["new", "old"], "files after the kills (%s)" % outcomes)
        # A clean add after the kills writes the whole list and takes the temporary file a kill left.
        entries = entries_of(run.read(TRANSPONDER_FILE))
        run.start()
        lists = TransponderRun(self, run)
        lists.type_transponder("12999,V,27500")
        lists.add("Transponder is successfuly added")
        self.assertGot(run.read(TRANSPONDER_FILE), transponder_file(entries + ["12999,V,27500"]),
                       "transponder file after a clean add")
        self.assertGot(leftovers(run), [], "files other than .ini left in Transponders")
