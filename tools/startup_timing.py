"""Start-up timing for the benchmarks: the time from starting a Windows program under Wine to its
512 x 384 window being mapped on the X screen, and the peak memory of its process.

The map is seen by an xev on the root window (substructure events), so the time is taken when
the X server reports the map, not at the next poll. Standard library only; needs xev (x11-utils).
"""
import os
import queue
import subprocess
import threading
import time

WINDOW_SIZE = (512, 384)


class MapWatcher:
    """Reports every top-level window mapped on a display, with the time it was reported."""

    def __init__(self, display):
        self.display = display
        self.events = queue.Queue()
        self.process = subprocess.Popen(["stdbuf", "-oL", "xev", "-display", display, "-root", "-event",
                                         "substructure"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                        text=True)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        mapped = False
        for line in self.process.stdout:
            now = time.monotonic()
            if line.startswith("MapNotify"):
                mapped = True
            elif mapped and " window 0x" in line:
                # "    event 0x..., window 0x..., override ..."
                window = line.split(" window ", 1)[1].split(",", 1)[0]
                self.events.put((now, int(window, 16)))
                mapped = False

    def drain(self):
        while not self.events.empty():
            self.events.get_nowait()

    def next_map(self, timeout):
        return self.events.get(timeout=timeout)

    def close(self):
        self.process.terminate()
        self.process.wait()


def window_size(display, window):
    out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", str(window)],
                         env=dict(os.environ, DISPLAY=display), capture_output=True, text=True).stdout
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return (int(values["WIDTH"]), int(values["HEIGHT"])) if "WIDTH" in values else None


def start_and_wait_for_window(watcher, command, folder, env, timeout=60):
    """Starts the program and gives (seconds to its 512 x 384 window's map, process, X window)."""
    watcher.drain()
    started = time.monotonic()
    process = subprocess.Popen(command, cwd=folder, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = started + timeout
    while True:
        try:
            mapped, window = watcher.next_map(max(0.1, deadline - time.monotonic()))
        except queue.Empty:
            process.kill()
            raise RuntimeError("no %dx%d window within %d s from %s" % (*WINDOW_SIZE, timeout, command[-1]))
        if window_size(watcher.display, window) == WINDOW_SIZE:
            return mapped - started, process, window


def peak_memory_kib(pid):
    """VmHWM: the most resident memory the process has had (its own pages and the mapped Wine DLLs)."""
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return None
