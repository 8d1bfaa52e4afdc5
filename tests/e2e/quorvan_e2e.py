"""End-to-end harness: the real Quorvan.exe under Wine on a virtual display with the simulated card.

A test gets a `Desktop` (one Xvfb screen, shared by the tests of a module) and opens a `Run`:
a fresh program folder copied from the built dist, the simulated card registered from that folder,
optional script and trace files for the card. The run starts the program, finds its window, drives it
as a person would (pointer and keys at window positions through xdotool), reads its controls through
the test driver qvdriver.exe, takes screenshots and reads the files the program leaves.

Standard library only; ImageMagick converts screenshots and pictures to PPM for pixel access.
"""
import json
import os
import shutil
import subprocess
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("QV_BUILD", os.path.join(ROOT, "build"))
DIST = os.environ.get("QV_DIST", os.path.join(ROOT, "dist"))
PROGRAM_DIST = os.path.join(DIST, "win64")
DRIVER = os.path.join(BUILD, "win64", "tools", "qvdriver.exe")
SKIN_PICTURE = os.path.join(ROOT, "resources", "skin.jpg")
RUNS = os.path.join(BUILD, "e2e")
LONG = os.environ.get("QV_E2E_LONG") == "1"

SIM_CLSID = "{7CDF271B-B889-4CFB-9F61-9D5E7C180894}"
BDA_SIM = "bdasim.ax"
WINDOW_WIDTH, WINDOW_HEIGHT = 512, 384


# Every Wine process of the tests starts with address randomisation off. Debian's Wine has no preloader,
# the part that keeps Windows' fixed addresses free before Linux places anything; randomised, Linux puts
# the loader's heap anywhere in the gigabyte after it (0x7d000000), now and then over 0x7ffe0000, where
# ntdll maps the shared user data. Wine then ends the process with code 1 before it runs a line of ours
# ("failed to map the shared user data", on its err channel only). Not randomised, the heap starts
# right after the loader, 48 MB below that page. Children (wineserver, explorer.exe) inherit it.
WINE = ["setarch", "-R", "wine"]


def wine_environment(extra=None):
    env = dict(os.environ)
    env.setdefault("WINEPREFIX", os.path.join(BUILD, "wineprefix"))
    env.setdefault("WINEDEBUG", "-all")
    env.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=;winealsa.drv=")
    for name in ("QUORVAN_SIM_SCRIPT", "QUORVAN_SIM_TRACE"):
        env.pop(name, None)
    if extra:
        env.update(extra)
    return env


def end_wine_session(extra=None, timeout=15):
    """Waits until the prefix's Wine session has ended, and ends it after timeout.

    Wine keeps a session (the wineserver and explorer.exe, which owns the desktop window every
    program's windows hang from) about 2 s after its last program ends. explorer.exe keeps an X
    connection to the display it was started on, and Xlib ends a process whose display goes away
    with exit code 1 and nothing on its output: a display closed under a living session, or a new
    display's programs joining the old session, makes Wine calls fail that way. So a display is
    closed only once its session has ended."""
    env = wine_environment(extra)
    try:
        subprocess.run(["wineserver", "-w"], env=env, timeout=timeout)
    except subprocess.TimeoutExpired:
        subprocess.run(["wineserver", "-k"], env=env)


# Wine says why it ended a process, or could not make a window, only on its err channel.
WINE_ERRORS = "-all,err+all"
DRIVER_STARTED = "qvdriver: started"


def wait_for(condition, timeout=10.0, interval=0.05, what="condition"):
    """Polls until condition() gives a true value and returns it; fails the test after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


class Image:
    """An RGB picture read through ImageMagick as binary PPM."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @classmethod
    def load(cls, path, crop=None):
        args = ["convert", path]
        if crop:
            args += ["-crop", "%dx%d+%d+%d" % crop, "+repage"]
        ppm = subprocess.run(args + ["-depth", "8", "ppm:-"], check=True, stdout=subprocess.PIPE).stdout
        return cls.from_ppm(ppm)

    @classmethod
    def from_ppm(cls, ppm):
        fields, position = [], 0
        while len(fields) < 4:
            while ppm[position:position + 1].isspace():
                position += 1
            if ppm[position:position + 1] == b"#":
                position = ppm.index(b"\n", position) + 1
                continue
            end = position
            while not ppm[end:end + 1].isspace():
                end += 1
            fields.append(ppm[position:end])
            position = end
        assert fields[0] == b"P6", "not a binary PPM"
        width, height = int(fields[1]), int(fields[2])
        return cls(width, height, ppm[position + 1:position + 1 + width * height * 3])

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.data[offset:offset + 3])

    def crop(self, x, y, width, height):
        rows = [self.data[((y + row) * self.width + x) * 3:((y + row) * self.width + x + width) * 3]
                for row in range(height)]
        return Image(width, height, b"".join(rows))

    def differing_pixels(self, other):
        assert (self.width, self.height) == (other.width, other.height), "sizes differ"
        count = 0
        for offset in range(0, len(self.data), 3):
            if self.data[offset:offset + 3] != other.data[offset:offset + 3]:
                count += 1
        return count

    def count(self, predicate, box=None):
        x0, y0, width, height = box or (0, 0, self.width, self.height)
        return sum(1 for y in range(y0, y0 + height) for x in range(x0, x0 + width)
                   if predicate(self.pixel(x, y)))

    def save(self, path):
        header = b"P6\n%d %d\n255\n" % (self.width, self.height)
        subprocess.run(["convert", "ppm:-", path], input=header + self.data, check=True)


def read_text(image, ink, name):
    """Reads painted text: ink pixels become black on white, enlarged and softened (tesseract reads
    blocky pixel text as the dictionary word, "successfully"), then tesseract."""
    mask = bytearray()
    for y in range(image.height):
        for x in range(image.width):
            mask += b"\0\0\0" if ink(image.pixel(x, y)) else b"\xff\xff\xff"
    path = os.path.join(RUNS, name + ".png")
    header = b"P6\n%d %d\n255\n" % (image.width, image.height)
    subprocess.run(["convert", "ppm:-", "-resize", "300%", "-blur", "0x1", "-bordercolor", "white", "-border", "20", path],
                   input=header + bytes(mask), check=True)
    out = subprocess.run(["tesseract", path, "stdout", "--psm", "6"], stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, check=True).stdout.decode("utf-8", "replace")
    return " ".join(out.split())


def skin_picture():
    """The skin picture as the program decodes it (4:4:4 JPEG: ImageMagick gives the same pixels)."""
    return Image.load(SKIN_PICTURE)


def start_xvfb(width, height, *options):
    """Starts Xvfb and gives the process and its display number.

    -displayfd: Xvfb takes the number itself. Choosing a number whose lock file is missing raced with
    another test run doing the same: the second Xvfb ended at once, unseen, and its tests drove the
    other run's screen until that one closed.

    -noreset: by default Xvfb resets whenever its last client leaves, and refuses connections while it
    does (two clients connecting and leaving in turn: about one connection in thirty refused). The
    xdpyinfo check leaving just as a new Wine session's explorer.exe connected had it refused, which
    left that session with no desktop: the program ended with code 0 before its window showed."""
    read, write = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write), "-screen", "0", "%dx%dx24" % (width, height),
         "-nolisten", "tcp", "-noreset"] + list(options), pass_fds=(write,), stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as numbers:
        number = numbers.readline().strip()
    if not number:
        raise AssertionError("Xvfb ended (code %s) before it named its display" % server.wait())
    return server, int(number)


class Desktop:
    """One Xvfb screen on a free display number."""

    def __init__(self, width=1024, height=768):
        end_wine_session()  # a session left from before would hang from no display of ours
        self.width, self.height = width, height
        self.start_server()
        self.wait_answering()

    def start_server(self, *options):
        self.server, self.number = start_xvfb(self.width, self.height, *options)
        self.display = ":%d" % self.number

    def wait_answering(self):
        wait_for(lambda: subprocess.run(["xdpyinfo", "-display", self.display], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL).returncode == 0,
                 timeout=15, what="Xvfb answering on " + self.display)

    def close(self):
        end_wine_session()
        self.server.terminate()
        self.server.wait()

    def xdotool(self, *args):
        result = subprocess.run(["xdotool"] + [str(a) for a in args], env=dict(os.environ, DISPLAY=self.display),
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        return result.stdout.strip() if result.returncode == 0 else None

    def screenshot(self, path=None):
        path = path or os.path.join(RUNS, "screen-%s.png" % self.number)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        subprocess.run(["import", "-display", self.display, "-window", "root", path], check=True)
        return Image.load(path)

    def windows(self, name):
        found = self.xdotool("search", "--onlyvisible", "--name", name)
        return [int(w) for w in found.split()] if found else []

    def geometry(self, window):
        """(x, y, width, height) of an X window, or None when it is gone."""
        out = self.xdotool("getwindowgeometry", "--shell", window)
        if not out:
            return None
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def bda_sim_mark():
    """A file in the prefix that says the simulated BDA tuner is registered there (so a run unregisters it only then)."""
    return os.path.join(wine_environment()["WINEPREFIX"], ".quorvan-bdasim")


class Run:
    """One start of the program in a fresh folder, with the simulated card registered (or not), and the simulated
    BDA tuner registered or not (bda)."""

    def __init__(self, desktop, name, register_card=True, script=None, trace=True, files=None, environment=None,
                 runs=RUNS, bda=False, program=PROGRAM_DIST):
        """runs: the folder that holds the run's folder (a test may put it on a file system of its own);
        program: the laid-out folder the run copies."""
        self.desktop = desktop
        self.folder = os.path.join(runs, name)
        shutil.rmtree(self.folder, ignore_errors=True)
        shutil.copytree(program, self.folder)
        for relative, content in (files or {}).items():
            self.write(relative, content)
        self.extra = {"DISPLAY": desktop.display}
        self.trace_path = os.path.join(self.folder, "sim-trace.txt") if trace else None
        if self.trace_path:
            self.extra["QUORVAN_SIM_TRACE"] = self.trace_path
        if script is not None:
            script_path = os.path.join(self.folder, "sim-script.txt")
            with open(script_path, "w") as out:
                out.write(script if isinstance(script, str) else
                          "".join(" ".join("%d" % v for v in line) + "\n" for line in script))
            self.extra["QUORVAN_SIM_SCRIPT"] = script_path
        self.extra.update(environment or {})
        self.process = None
        self.window = None
        self.origin = None
        if register_card:
            self.register_card()
        else:
            self.wine("reg", "delete", "HKCR\\CLSID\\" + SIM_CLSID, "/f")
        if bda:
            self.register_card(BDA_SIM)
            open(bda_sim_mark(), "w").close()
        elif os.path.exists(bda_sim_mark()):
            self.register_card(BDA_SIM, "/u")
            os.remove(bda_sim_mark())

    def register_card(self, server="tunersim.ax", *options):
        result = self.wine("regsvr32", "/s", *options, os.path.join(self.folder, server))
        if result.returncode != 0:
            raise AssertionError("regsvr32 %s %s failed (code %d); Wine said: %s" % (
                " ".join(options), server, result.returncode,
                result.stderr.decode("utf-8", "replace").strip() or "(nothing)"))

    # --- files in the program folder
    def path(self, relative):
        return os.path.join(self.folder, relative)

    def read(self, relative):
        with open(self.path(relative), "rb") as f:
            return f.read()

    def write(self, relative, content):
        path = self.path(relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(content if isinstance(content, bytes) else content.encode("latin-1"))

    def exists(self, relative):
        return os.path.exists(self.path(relative))

    def trace(self):
        """The simulated card's trace as lists of fields: [ms, call, args...]."""
        if not self.trace_path or not os.path.exists(self.trace_path):
            return []
        with open(self.trace_path) as f:
            return [line.split() for line in f if line.strip()]

    def calls(self, name):
        return [line for line in self.trace() if len(line) > 1 and line[1] == name]

    # --- the program
    def environment(self, debug=None):
        """Wine's environment for this run; debug: its WINEDEBUG, when not the quiet default."""
        return wine_environment(dict(self.extra, WINEDEBUG=debug) if debug else self.extra)

    def wine(self, *args, check=False, timeout=60):
        return subprocess.run(WINE + list(args), cwd=self.folder, env=self.environment(WINE_ERRORS),
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout, check=check)

    def start(self, wait_window=True, timeout=20):
        # Wine's own words about the program go beside the run's folder, for the failure messages; its err
        # channel is on, as for the driver, since Wine says why it cannot make a window only there.
        self.stderr_path = self.folder + ".stderr.txt"
        with open(self.stderr_path, "wb") as stderr:
            self.process = subprocess.Popen(WINE + [self.path("Quorvan.exe")], cwd=self.folder,
                                            env=self.environment(WINE_ERRORS),
                                            stdout=subprocess.DEVNULL, stderr=stderr)
        if wait_window:
            self.find_window(timeout)
        return self

    def find_window(self, timeout=20):
        def main_window():
            for window in self.desktop.windows("^Quorvan$"):
                geometry = self.desktop.geometry(window)
                if geometry and geometry[2:] == (WINDOW_WIDTH, WINDOW_HEIGHT):
                    return window, geometry
            if self.process.poll() is not None:
                raise AssertionError("the program ended (code %s) before its window showed; Wine said: %s" % (
                    self.process.returncode, self.wine_said()))
            return None
        self.window, geometry = wait_for(main_window, timeout, what="the main window")
        self.origin = geometry[:2]
        return self.window

    def wait_exit(self, timeout=20):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end within %.0f s; Wine said: %s" % (timeout, self.wine_said()))

    def wine_said(self):
        """The end of what Wine wrote to the program's error output."""
        try:
            with open(self.stderr_path, "rb") as f:
                return f.read()[-2000:].decode("utf-8", "replace").strip() or "(nothing)"
        except (AttributeError, OSError):
            return "(nothing)"

    def running(self):
        return self.process is not None and self.process.poll() is None

    def stop(self):
        """Ends the program however it stands (for clean-up; tests close it the user's way)."""
        if self.running():
            self.driver("close")
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                subprocess.run(["wineserver", "-k"], env=self.environment())
                self.process.wait(10)

    # --- driving it as a person would (client coordinates of the main window)
    def move(self, x, y):
        self.desktop.xdotool("mousemove", self.origin[0] + x, self.origin[1] + y)

    def click(self, x, y, pause=0.15):
        self.move(x, y)
        time.sleep(0.05)
        self.desktop.xdotool("click", "1")
        time.sleep(pause)

    def click_screen(self, x, y, pause=0.15):
        self.desktop.xdotool("mousemove", x, y)
        time.sleep(0.05)
        self.desktop.xdotool("click", "1")
        time.sleep(pause)

    def click_button(self, control, pause=0.2):
        """Clicks the middle of a control as the test driver reports it (screen coordinates)."""
        rect = control["rect"]
        self.click_screen(rect["x"] + rect["width"] // 2, rect["y"] + rect["height"] // 2, pause)

    def double_click(self, x, y, pause=0.3):
        self.move(x, y)
        time.sleep(0.05)
        self.desktop.xdotool("click", "--repeat", "2", "--delay", "80", "1")
        time.sleep(pause)

    def drag(self, start, end):
        self.move(*start)
        self.desktop.xdotool("mousedown", "1")
        time.sleep(0.1)
        for step in range(1, 6):
            self.move(start[0] + (end[0] - start[0]) * step // 5, start[1] + (end[1] - start[1]) * step // 5)
            time.sleep(0.05)
        self.desktop.xdotool("mouseup", "1")
        time.sleep(0.2)

    def key(self, name, window=None):
        self.desktop.xdotool("windowfocus", "--sync", window or self.window)
        self.desktop.xdotool("key", name)
        time.sleep(0.15)

    def type_text(self, text, window=None):
        self.desktop.xdotool("windowfocus", "--sync", window or self.window)
        self.desktop.xdotool("type", "--delay", "30", text)
        time.sleep(0.15)

    def screenshot(self, name=None):
        """The main window's 512 x 384 pixels (the whole screen is kept under build/e2e)."""
        screen = self.desktop.screenshot(self.path((name or "screen") + ".png"))
        return screen.crop(self.origin[0], self.origin[1], WINDOW_WIDTH, WINDOW_HEIGHT)

    # --- reading controls through the test driver
    def driver(self, *args, timeout=30):
        """Runs the test driver with Wine's err channel on: in places Wine ends a process with code 1
        and says why only there (ntdll when it cannot map the shared user data, winex11 when it cannot
        open the display), so WINEDEBUG=-all left such failures without a word. The driver's first line
        on its error output tells a driver that Wine ended before it ran from one that failed in our
        code. QV_E2E_STRACE=1 also records the driver's process calls (its exit, signals, connections)."""
        command = WINE + [DRIVER] + [str(a) for a in args]
        trace = self.folder + ".driver-strace.txt" if os.environ.get("QV_E2E_STRACE") == "1" else None
        if trace:
            command = ["strace", "-f", "-tt", "-o", trace, "-e", "trace=execve,connect,exit_group,kill,tgkill"] + command
        result = subprocess.run(command, cwd=self.folder, env=self.environment(WINE_ERRORS),
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout)
        out = result.stdout.decode("utf-8", "replace").strip()
        if result.returncode == 0 and out:  # the driver always prints one JSON value
            return json.loads(out)
        said = result.stderr.decode("utf-8", "replace")
        started = DRIVER_STARTED in said
        said = said.replace(DRIVER_STARTED, "").strip() or "(nothing)"
        calls = ""
        if trace:
            with open(trace, errors="replace") as f:
                calls = "; system calls: " + " | ".join(line.strip() for line in f.readlines()[-25:])
        raise AssertionError("qvdriver %s failed (code %d%s): %s; Wine said: %s; %s%s" % (
            " ".join(map(str, args)), result.returncode, "" if started else ", before the driver started",
            out or "(nothing)", said, self.surroundings(), calls))

    def surroundings(self):
        """Whether the program and the screen were still there, for a failure's message."""
        if self.process is None:
            program = "the program was not started"
        elif self.running():
            program = "the program is running"
        else:
            program = "the program ended (code %s; Wine said: %s)" % (self.process.returncode, self.wine_said())
        screen = self.desktop.server.poll()
        return program + ("; the screen is up" if screen is None else "; the screen's Xvfb ended (code %s)" % screen)

    def state(self):
        return self.driver("state")

    def dialog(self, timeout=10):
        """Waits for a visible dialog (class "#32770") of the program and gives the driver's view of it."""
        def visible_dialog():
            return next((d for d in self.state()["dialogs"] if d["class"] == "#32770" and d["visible"]), None)
        return wait_for(visible_dialog, timeout, interval=0.2, what="a dialog")

    def button(self, dialog, text):
        return next(c for c in dialog["children"] if c["class"] == "Button" and c["text"] == text)

    def items(self, combo_id):
        return self.driver("items", combo_id)


class QuorvanTest(unittest.TestCase):
    """Base class: one virtual screen per test class, every run stopped after its test."""
    screen_size = (1024, 768)

    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop(*cls.screen_size)

    @classmethod
    def tearDownClass(cls):
        cls.desktop.close()

    def setUp(self):
        self.runs = []

    def tearDown(self):
        for run in self.runs:
            run.stop()

    def open_run(self, **options):
        name = options.pop("name", self.id().split(".", 1)[-1].replace(".", "-"))
        run = Run(self.desktop, name, **options)
        self.runs.append(run)
        return run

    def assertGot(self, got, expected, what):
        self.assertEqual(got, expected, "%s: got %r, expected %r" % (what, got, expected))
