#!/usr/bin/env python3
"""`make run` without a display: Quorvan from its copy of dist/win64 (build/run/win64, made by run.sh)
on a virtual 1024 x 768 screen.

It shows what the program does in screenshots under build/run/: the idle window, the window with
a satellite and transponder chosen, the meter while the simulated card plays a scripted signal,
and the window after watching stops. Then it closes the program with WM_CLOSE and says where the
pictures are. The Xvfb, xdotool and test-driver work comes from the end-to-end harness.
"""
import glob
import os
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import quorvan_e2e as e2e  # noqa: E402

SHOTS = os.path.join(e2e.BUILD, "run")
PROGRAM = os.path.join(SHOTS, "win64")
START_BUTTON = (422, 145)
SATELLITE_LIST, TRANSPONDER_LIST = 111, 112
SATELLITE = 192          # 19.2 east
TRANSPONDER_MHZ = "11778"  # Ku high band: the card locks with the 10600 MHz oscillator and the tone
# The card's script: <ms from the first Tune> <lock> <level> <quality>; the last line holds.
SIGNAL_SCRIPT = "0 1 30 18\n800 1 55 41\n1600 1 72 58\n"


def is_green(pixel):
    red, green, blue = pixel
    return green > 120 and green > red + 40 and green > blue + 40


class FolderRun(e2e.Run):
    """A run in the folder make run keeps (the harness's runs each make a fresh copy)."""

    def __init__(self, desktop, script_path):
        self.desktop = desktop
        self.folder = PROGRAM
        self.extra = {"DISPLAY": desktop.display, "QUORVAN_SIM_SCRIPT": script_path}
        self.trace_path = None
        self.process = self.window = self.origin = None
        self.wine("regsvr32", "/s", self.path("tunersim.ax"), check=True)

    def screenshot(self, name=None):
        # The harness keeps the whole screen beside the program: here only the window is kept.
        whole = os.path.join(SHOTS, "screen.png")
        window = self.desktop.screenshot(whole).crop(self.origin[0], self.origin[1], e2e.WINDOW_WIDTH,
                                                      e2e.WINDOW_HEIGHT)
        os.remove(whole)
        return window


def index_of(items, matches):
    return next((i for i, item in enumerate(items) if matches(item)), None)


def choose_satellite_and_transponder(run):
    satellites = run.items(SATELLITE_LIST)
    if not satellites:
        raise AssertionError("the satellite list is empty: no files in %s" % run.path("Transponders"))
    satellite = index_of(satellites, lambda item: item.get("data") == SATELLITE)
    if satellite is None:
        satellite = 0
    run.driver("select", SATELLITE_LIST, satellite, "notify")
    e2e.wait_for(lambda: run.items(TRANSPONDER_LIST), timeout=10, interval=0.2, what="the transponder list")
    transponders = run.items(TRANSPONDER_LIST)
    transponder = index_of(transponders, lambda item: item["text"].startswith(TRANSPONDER_MHZ))
    run.driver("select", TRANSPONDER_LIST, transponder or 0, "notify")
    time.sleep(0.5)
    return satellites[satellite]["text"].strip(), transponders[transponder or 0]["text"].strip()


def save(run, name):
    path = os.path.join(SHOTS, name + ".png")
    run.screenshot().save(path)
    print("run: %s" % path)
    return path


def main():
    os.makedirs(SHOTS, exist_ok=True)
    for old in glob.glob(os.path.join(SHOTS, "*.png")):
        os.remove(old)
    script_path = os.path.join(SHOTS, "sim-script.txt")
    with open(script_path, "w") as out:
        out.write(SIGNAL_SCRIPT)
    desktop = e2e.Desktop(1024, 768)
    run = None
    try:
        run = FolderRun(desktop, script_path)
        print("run: Quorvan on the virtual screen %s with the simulated card" % desktop.display)
        run.start(timeout=60)
        time.sleep(1.0)  # the first paint settles
        save(run, "1-idle")
        satellite, transponder = choose_satellite_and_transponder(run)
        print("run: chose %s, %s" % (satellite, transponder))
        save(run, "2-chosen")
        run.click(*START_BUTTON)
        e2e.wait_for(lambda: is_green(run.screenshot().pixel(*START_BUTTON)), timeout=20, interval=0.3,
                     what="the green start button (signal shown)")
        time.sleep(2.0)  # the script reaches its last line and the meter draws it
        save(run, "3-watching")
        run.click(*START_BUTTON)
        e2e.wait_for(lambda: run.state()["combos"][str(SATELLITE_LIST)]["visible"], timeout=30, interval=0.3,
                     what="the lists back after stopping")
        time.sleep(1.0)
        save(run, "4-stopped")
        run.driver("close")
        code = run.wait_exit(30)
        print("run: Quorvan ended with code %d" % code)
    except AssertionError as failure:
        print("run: stopped early, %s" % failure)
        return 1
    finally:
        if run is not None:
            run.stop()
        desktop.close()
    print("run: screenshots of the window are in %s" % SHOTS)
    return 0


if __name__ == "__main__":
    sys.exit(main())
