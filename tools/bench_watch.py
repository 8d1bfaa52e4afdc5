#!/usr/bin/env python3
"""Watching benchmark: prints figures, asserts nothing.

Runs the Windows program under Wine on the simulated card and measures, in one run:
1. its CPU time per second, idle beside watching (target while watching: under 1% of one core);
2. the interval between ReadSignal calls, from the card's trace (target: median within 5 ms of 100 ms);
3. the interval between meter frames, seen in the X server's framebuffer (the frames are 400 ms
   plus drawing time);
4. the time from pressing stop (the button's press in the X server, made through the X test
   extension) to the lists being back on the screen, for each sound mode;
5. the time from pressing start to the first reading, on the maker's simulated card beside the
   simulated BDA tuner (each registered alone): to the tuner's first locked read in its trace, and to
   the first meter frame on the screen that draws a level bar;
6. the time from the lock to the satellite named on the satellite line, on the simulated BDA tuner
   whose stream repeats its tables every 500 ms (target: under 1.5 s): from the tuner's first
   locked read, seen in its trace as it is written, to the first change of the screen right of the
   satellite's name.

Xvfb runs with -fbdir, so the framebuffer is a file this script maps and samples every few
milliseconds without asking the X server. Needs a built dist (make dist) and a Wine prefix
(make prefix); Python standard library only.
"""
import ctypes
import mmap
import os
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import quorvan_e2e as e2e  # noqa: E402  (the screen and the Wine session, as the tests make them)
BUILD, DIST = e2e.BUILD, e2e.DIST
WATCH_SECONDS = 30
IDLE_SECONDS = 10
SAMPLE_S = 0.003
SOUND_MODES = ["Auto", "Tone", "Voice", "Mute", "Birds", "Pitch"]
STOP_REPEATS = 5
FIRST_READING_REPEATS = 5

# Window positions (client pixels of the 512 x 384 window).
START_BUTTON = (422, 145)
SOUND_BUTTON = (132, 350)
CLOSE_BUTTON = (465, 25)
LEVEL_ROW_Y = 119     # through the level bar
QUALITY_ROW_Y = 187   # through the quality bar
BAR_X = (87, 373)
LIST_PROBE = (340, 124)  # white inside the satellite list, never white while the meter shows
FOUND_AREA = (330, 505, range(52, 70))  # x0, x1, rows: right of the satellite's name on its line
NAMED_REPEATS = 8
TEXT_COLOUR = (40, 60, 80)

# Satellite 19.2e, 11778 MHz (Ku high band), LNB2, sound Auto, reading level.
SATELLITE = 192
FREQUENCY_KHZ = 11778000
LNB = 2


def settings_bytes(sound_mode=0):
    record = bytearray(256)
    struct.pack_into("<6i", record, 0, 0, sound_mode, LNB, SATELLITE, FREQUENCY_KHZ, 0)
    struct.pack_into("<6i", record, 80, 0, 0, 0, 0, 1000, 1200)
    return bytes(record)


def varying_script(seconds):
    """Locked all along; level and quality change every 10 ms, so no two frames look alike."""
    lines = []
    for k in range(seconds * 100):
        lines.append("%d 1 %d %d" % (k * 10, 1 + k % 99, 1 + (k * 7) % 98))
    return "\n".join(lines) + "\n"


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def percentile(values, fraction):
    ordered = sorted(values)
    if not ordered:
        return float("nan")
    return ordered[min(len(ordered) - 1, int(round(fraction * (len(ordered) - 1))))]


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    ticks = os.sysconf("SC_CLK_TCK")
    return (int(fields[11]) + int(fields[12])) / ticks  # utime, stime


class Framebuffer:
    """The XWD image Xvfb keeps in its -fbdir file: pixel reads without X round trips."""

    def __init__(self, path):
        self.file = open(path, "rb")
        self.map = mmap.mmap(self.file.fileno(), 0, access=mmap.ACCESS_READ)
        header = struct.unpack(">25I", self.map[:100])
        header_size, bits_per_pixel, bytes_per_line, ncolors = header[0], header[11], header[12], header[19]
        if bits_per_pixel != 32:
            raise RuntimeError("expected a 32-bit framebuffer, got %d" % bits_per_pixel)
        self.offset = header_size + 12 * ncolors
        self.stride = bytes_per_line

    def row(self, x0, x1, y):
        start = self.offset + y * self.stride + 4 * x0
        return self.map[start:start + 4 * (x1 - x0)]

    def pixel(self, x, y):
        b, g, r, _ = self.row(x, x + 1, y)
        return r, g, b

    def close(self):
        self.map.close()
        self.file.close()


class Presser:
    """Presses the pointer's button straight through the X test extension on an open connection,
    so the moment of the press is known to the millisecond (xdotool, a process of its own, takes
    longer to start than a stop now lasts)."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay((":%d" % display).encode())
        if not self.display:
            raise RuntimeError("cannot open the display")

    def click(self, x, y):
        """Moves there, presses and releases; returns the time of the press."""
        self.xtst.XTestFakeMotionEvent(self.display, -1, x, y, 0)
        self.x11.XSync(self.display, 0)
        time.sleep(0.05)
        self.xtst.XTestFakeButtonEvent(self.display, 1, 1, 0)
        self.x11.XSync(self.display, 0)
        pressed = time.time()
        self.xtst.XTestFakeButtonEvent(self.display, 1, 0, 0)
        self.x11.XSync(self.display, 0)
        return pressed


class Session:
    """Xvfb with a framebuffer file, and Quorvan.exe on the simulated card in a scratch folder."""

    def __init__(self):
        self.scratch = tempfile.mkdtemp(prefix="qv-bench-watch-", dir=BUILD)
        fbdir = os.path.join(self.scratch, "fb")
        os.makedirs(fbdir)
        self.xvfb, self.display = e2e.start_xvfb(1024, 768, "-fbdir", fbdir)
        self.env = e2e.wine_environment({"DISPLAY": ":%d" % self.display})
        deadline = time.time() + 10
        while not os.path.exists(os.path.join(fbdir, "Xvfb_screen0")) or not os.path.exists(
                "/tmp/.X11-unix/X%d" % self.display):
            if time.time() > deadline:
                raise RuntimeError("Xvfb did not come up")
            time.sleep(0.05)
        self.fb = Framebuffer(os.path.join(fbdir, "Xvfb_screen0"))
        self.presser = Presser(self.display)
        self.program = None
        self.origin = (0, 0)

    def use_tuner(self, bda):
        """Registers the simulated card alone, or the simulated BDA tuner alone."""
        if bda:
            subprocess.run(e2e.WINE + ["reg", "delete", "HKCR\\CLSID\\" + e2e.SIM_CLSID, "/f"], env=self.env,
                           capture_output=True)
        self.bda = bda
        self.wine_server("bdasim.ax", [] if bda else ["/u"])
        # The end-to-end harness's note that the prefix holds bdasim.ax, so its next run unregisters it.
        mark = e2e.bda_sim_mark()
        if bda:
            open(mark, "w").close()
        elif os.path.exists(mark):
            os.remove(mark)

    def wine_server(self, name, options):
        subprocess.run(e2e.WINE + ["regsvr32", "/s"] + options + [os.path.join(DIST, "win64", name)], env=self.env,
                       check=False)

    def prepare(self, sound_mode):
        folder = os.path.join(self.scratch, "program")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        shutil.copy(os.path.join(DIST, "win64", "Quorvan.exe"), folder)
        shutil.copytree(os.path.join(DIST, "win64", "Transponders"), os.path.join(folder, "Transponders"))
        with open(os.path.join(folder, "qvnth.dat"), "wb") as f:
            f.write(settings_bytes(sound_mode))
        with open(os.path.join(self.scratch, "script.txt"), "w") as f:
            f.write(varying_script(WATCH_SECONDS + 60))
        self.trace = os.path.join(self.scratch, "trace.txt")
        if os.path.exists(self.trace):
            os.remove(self.trace)
        if not getattr(self, "bda", False):
            self.wine_server("tunersim.ax", [])
        return folder

    def launch(self, sound_mode=0):
        folder = self.prepare(sound_mode)
        env = dict(self.env, QUORVAN_SIM_SCRIPT=windows_path(os.path.join(self.scratch, "script.txt")),
                   QUORVAN_SIM_TRACE=windows_path(self.trace))
        self.program = subprocess.Popen(e2e.WINE + [os.path.join(folder, "Quorvan.exe")], env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 30
        while time.time() < deadline:
            found = subprocess.run(["xdotool", "search", "--name", "^Quorvan$"], env=self.env,
                                   capture_output=True, text=True).stdout.split()
            if found:
                geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", found[0]], env=self.env,
                                          capture_output=True, text=True).stdout
                values = dict(line.split("=", 1) for line in geometry.split())
                self.origin = (int(values["X"]), int(values["Y"]))
                time.sleep(1.0)  # start-up painting settles
                return
            time.sleep(0.05)
        raise RuntimeError("the main window did not appear")

    def click(self, point):
        x, y = self.origin[0] + point[0], self.origin[1] + point[1]
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], env=self.env, check=True)

    def screen(self, point):
        return self.origin[0] + point[0], self.origin[1] + point[1]

    def lists_shown(self):
        return all(c > 240 for c in self.fb.pixel(*self.screen(LIST_PROBE)))

    def meter_rows(self):
        x0, y = self.screen((BAR_X[0], LEVEL_ROW_Y))
        x1, y2 = self.screen((BAR_X[1], QUALITY_ROW_Y))
        return self.fb.row(x0, x1, y) + self.fb.row(x0, x1, y2)

    def bar_start(self):
        """The first pixels of the level bar's row: the skin's background until a frame draws a bar."""
        x, y = self.screen((BAR_X[0], LEVEL_ROW_Y))
        return self.fb.row(x, x + 10, y)

    def close(self):
        if self.program is not None and self.program.poll() is None:
            self.click(CLOSE_BUTTON)
            try:
                self.program.wait(15)
            except subprocess.TimeoutExpired:
                self.program.kill()
                self.program.wait()
        self.program = None

    def finish(self):
        self.close()
        self.fb.close()
        e2e.end_wine_session(self.env)  # explorer.exe holds its X connection until then
        self.xvfb.terminate()
        self.xvfb.wait()
        shutil.rmtree(self.scratch, ignore_errors=True)


def read_intervals(trace, since_ms, until_ms):
    times = []
    with open(trace) as f:
        for line in f:
            parts = line.split()
            if len(parts) >= 2 and parts[1] == "ReadSignal" and since_ms <= int(parts[0]) <= until_ms:
                times.append(int(parts[0]))
    return [b - a for a, b in zip(times, times[1:])]


def trace_clock_now(trace):
    with open(trace) as f:
        lines = f.read().split("\n")
    return int([line for line in lines if line.strip()][-1].split()[0])


def summary(label, values, unit="ms"):
    print("%-32s median %6.1f %s, 95th percentile %6.1f %s, n = %d" %
          (label, statistics.median(values), unit, percentile(values, 0.95), unit, len(values)))


def watch_figures(session):
    session.launch(sound_mode=3)  # Mute: the figures are the poll and meter threads', not the sound's
    pid = session.program.pid
    idle_cpu_start, idle_wall_start = cpu_seconds(pid), time.time()
    time.sleep(IDLE_SECONDS)
    idle_rate = (cpu_seconds(pid) - idle_cpu_start) / (time.time() - idle_wall_start)

    session.click(START_BUTTON)
    time.sleep(1.0)
    trace_start = trace_clock_now(session.trace)
    cpu_start, wall_start = cpu_seconds(pid), time.time()
    frames = []
    last = session.meter_rows()
    while time.time() - wall_start < WATCH_SECONDS:
        rows = session.meter_rows()
        if rows != last:
            frames.append(time.time())
            last = rows
        time.sleep(SAMPLE_S)
    watch_rate = (cpu_seconds(pid) - cpu_start) / (time.time() - wall_start)
    trace_end = trace_clock_now(session.trace)
    session.click(START_BUTTON)
    session.close()

    print("CPU time per second, idle:       %.2f%% of one core" % (idle_rate * 100))
    print("CPU time per second, watching:   %.2f%% of one core (target under 1%%), %.1f x idle" %
          (watch_rate * 100, watch_rate / idle_rate if idle_rate > 0 else float("inf")))
    reads = read_intervals(session.trace, trace_start, trace_end)
    summary("ReadSignal interval (trace):", reads)
    print("  median off 100 ms by %.1f ms (target within 5 ms)" % abs(statistics.median(reads) - 100))
    gaps = [(b - a) * 1000 for a, b in zip(frames, frames[1:])]
    if gaps:
        summary("meter frame interval (screen):", gaps)
        print("  sampled every %.0f ms; frames are 400 ms plus drawing" % (SAMPLE_S * 1000))
    else:
        print("meter frame interval: no frames seen")


def stop_figures(session):
    print("time from pressing stop to the lists being back:")
    for mode, name in enumerate(SOUND_MODES):
        times = []
        session.launch(sound_mode=mode)
        for repeat in range(STOP_REPEATS):
            session.click(START_BUTTON)
            time.sleep(2.0 + 0.7 * repeat)  # a different phase of the sound thread's pauses each time
            if session.lists_shown():
                print("  %-6s the lists did not go away on start" % name)
                break
            pressed = session.presser.click(*session.screen(START_BUTTON))
            while not session.lists_shown() and time.time() - pressed < 10:
                time.sleep(SAMPLE_S)
            times.append((time.time() - pressed) * 1000)
            time.sleep(0.5)
        session.close()
        if times:
            print("  %-6s median %6.0f ms, longest %6.0f ms (%s) (target: median at most 100 ms)" %
                  (name, statistics.median(times), max(times), " ".join("%.0f" % t for t in times)))


def first_locked_read(trace):
    if not os.path.exists(trace):
        return False
    with open(trace) as f:
        return any(line.split()[1:3] == ["ReadSignal", "1"] for line in f if len(line.split()) > 2)


def first_reading_figures(session):
    print("time from pressing start to the first reading (%d starts each):" % FIRST_READING_REPEATS)
    results = {}
    for bda, name in ((False, "maker's card"), (True, "BDA tuner")):
        session.use_tuner(bda)
        reads, frames = [], []
        for repeat in range(FIRST_READING_REPEATS):
            session.launch(sound_mode=3)
            pressed = session.presser.click(*session.screen(START_BUTTON))
            read = frame = unread = None
            while (read is None or frame is None) and time.time() - pressed < 10:
                now = time.time()
                # The meter's first frame, drawn at once with both readings 0, is the picture without a bar.
                if unread is None and not session.lists_shown():
                    unread = session.bar_start()
                if read is None and first_locked_read(session.trace):
                    read = now
                if frame is None and unread is not None and session.bar_start() != unread:
                    frame = now
                time.sleep(SAMPLE_S)
            session.close()
            if read is not None:
                reads.append((read - pressed) * 1000)
            if frame is not None:
                frames.append((frame - pressed) * 1000)
        results[name] = (reads, frames)
    session.use_tuner(False)
    print("  %-14s %-32s %s" % ("", "to the first read (trace)", "to the first level bar (screen)"))
    for name, (reads, frames) in results.items():
        cells = ["median %5.0f ms, longest %5.0f ms" % (statistics.median(v), max(v)) if v else "none seen"
                 for v in (reads, frames)]
        print("  %-14s %-32s %s" % (name, cells[0], cells[1]))


def named(session):
    """True when the text's colour stands right of the satellite's name (the start hint, drawn there while
    idle in the same colour, must be gone: the lists hidden)."""
    if session.lists_shown():
        return False
    x0, x1, rows = FOUND_AREA
    count = 0
    for y in rows:
        sx0, sy = session.screen((x0, y))
        row = session.fb.row(sx0, session.screen((x1, y))[0], sy)
        for i in range(0, len(row), 4):
            b, g, r = row[i], row[i + 1], row[i + 2]
            count += abs(r - TEXT_COLOUR[0]) <= 30 and abs(g - TEXT_COLOUR[1]) <= 30 and abs(b - TEXT_COLOUR[2]) <= 30
    return count > 20


def satellite_named_figures(session):
    print("time from the lock to the satellite named on the satellite line (BDA tuner, %d starts):" % NAMED_REPEATS)
    session.use_tuner(True)
    latencies = []
    for repeat in range(NAMED_REPEATS):
        session.launch(sound_mode=3)
        pressed = session.presser.click(*session.screen(START_BUTTON))
        locked = seen = None
        while seen is None and time.time() - pressed < 15:
            now = time.time()
            if locked is None and first_locked_read(session.trace):
                locked = now
            if locked is not None and named(session):
                seen = now
            time.sleep(SAMPLE_S)
        session.close()
        if seen is not None:
            latencies.append((seen - locked) * 1000)
    session.use_tuner(False)
    if latencies:
        print("  median %5.0f ms, longest %5.0f ms (%s) (target: under 1500 ms)" %
              (statistics.median(latencies), max(latencies), " ".join("%.0f" % t for t in latencies)))
    else:
        print("  never named")


def main():
    print("== watching the signal ==")
    exe = os.path.join(DIST, "win64", "Quorvan.exe")
    if not os.path.exists(exe) or not os.path.exists(os.path.join(DIST, "win64", "tunersim.ax")):
        print("skipped: no %s with tunersim.ax (make dist)" % exe)
        return
    session = Session()
    try:
        watch_figures(session)
        stop_figures(session)
        first_reading_figures(session)
        satellite_named_figures(session)
    finally:
        session.finish()


if __name__ == "__main__":
    sys.exit(main())
