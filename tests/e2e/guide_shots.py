"""The user guide's pictures: the real program under Wine on a virtual screen, driven into the states
the guide explains. `make guide` saves them beside the guide; the end-to-end run makes them again and
compares them with the shipped ones, so a change of the window's look that leaves the guide behind fails.

Each picture is cropped to its window and cut to the window's rounded shape (transparent outside), so
the pictures match what a user sees on any desktop.
"""
import os
import subprocess
import time

import quorvan_e2e as e2e

GUIDE_DIR = os.path.join(e2e.ROOT, "guide")
GUIDE_PAGE = "UserGuide.html"
PICTURES = "UserGuide_files"

START_BUTTON = (422, 145)
DISH_BUTTON = (297, 294)
SORT_BUTTON = (57, 120)  # acts on nothing while watching, so a double click there only opens the log
NEUTRAL = (300, 250)     # on no hot region and no control: no hover image, no tooltip
SOUND_BUTTON = (132, 350)
SETTINGS_PANEL = (10, 270, 250, 100)  # the language, sound mode and reading with their three buttons
DOUBLE_CLICK_GAP = 0.6   # two presses on one place further apart than this are never a double click
LNB_LIST, SATELLITE_LIST, TRANSPONDER_LIST = 110, 111, 112
CALC_SATELLITES, CALC_LONGITUDE, CALC_LATITUDE = 125, 121, 123

# The guide's example: Astra 19.2 east on a Ku high-band transponder (the card locks with the
# 10600 MHz oscillator and the 22 kHz tone), a signal that climbs and then holds.
SATELLITE = 192
TRANSPONDER_MHZ = "11778"
SIGNAL_SCRIPT = "0 1 30 18\n800 1 55 41\n1600 1 72 58\n"
# The calculator's worked example: 50 degrees north, 20 east, Hot Bird at 13.0 east. The degree lists
# run from 90n (index 0) down and from 180e (index 0) down.
CALC_SITE = {CALC_LATITUDE: 90 - 50, CALC_LONGITUDE: 180 - 20}
CALC_SATELLITE = 130
# The satellite line with the simulated BDA tuner: its stream names 19.2e, then, after a lock lost while
# the dish moves, 13.0e. The line adds what the stream says in these colours.
SATELLITE_SCRIPT = "0 1 72 58\n9000 0 0 0\n10000 dish 13E\n10000 1 72 58\n"
FOUND_AREA = (340, 50, 140, 20)   # right of the chosen satellite's name, window pixels
TEXT_COLOUR = (40, 60, 80)
STATUS_COLOUR = (200, 0, 0)

# Window shapes: the rectangle (width, height) and corner ellipse of each window's rounded region. The
# dialogs cut theirs from their client rectangle; a region leaves out its rectangle's last pixel row and
# column, so a 512 x 384 window shows 511 x 383 pixels.
MAIN_SHAPE = (e2e.WINDOW_WIDTH, e2e.WINDOW_HEIGHT, 70, 60)
CALCULATOR_SHAPE = (478, 448, 100, 100)
DIALOG_SHAPE = (480, 194, 35, 35)

# The pictures, by file name, in the order they are made.
NAMES = ("main-idle.png", "main-chosen.png", "calculator.png", "main-watching.png", "signal-log.png",
         "settings-pitch.png", "main-found.png", "main-wrong-satellite.png", "message-no-card.png")
# Parts of a picture that legitimately differ between two runs (x, y, w, h): the signal log's bars
# grow once a second; the calculator's compass bearing and declination follow today's date (at the
# example site a hundredth of a degree in about a month). The calculator's client area starts at (1, 1).
UNSTABLE = {"signal-log.png": [(62, 75, 901, 601)],
            "calculator.png": [(14, 205, 160, 22), (11, 321, 170, 22)]}


def finish(screen_path, box, shape, out_path):
    """Crops the window at box (x, y, w, h) from a screenshot to its shape's size and makes it transparent
    outside the shape's rounded corners."""
    x, y, width, height = box
    if shape:
        width, height, corner_w, corner_h = shape
        width, height = width - 1, height - 1
    args = ["convert", screen_path, "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage"]
    if shape:
        args += ["(", "-size", "%dx%d" % (width, height), "xc:black", "-fill", "white", "-draw",
                 "roundrectangle 0,0,%d,%d,%d,%d" % (width - 1, height - 1, corner_w // 2, corner_h // 2), ")",
                 "-alpha", "off", "-compose", "CopyOpacity", "-composite"]
    # No time stamps in the file: a remade picture of the same pixels gives the same bytes.
    subprocess.run(args + ["-define", "png:exclude-chunks=date,time", "-strip", out_path], check=True)
    return out_path


def dialog_box(dialog):
    rect = dialog["rect"]
    return rect["x"], rect["y"], rect["width"], rect["height"]


def visible_dialog(run, has_child):
    def found():
        return next((d for d in run.state()["dialogs"] if d["class"] == "#32770" and d["visible"]
                     and any(has_child(c) for c in d["children"])), None)
    return e2e.wait_for(found, 15, interval=0.2, what="a dialog")


def no_dialog(run):
    return not any(d["visible"] for d in run.state()["dialogs"] if d["class"] == "#32770")


class Shooter:
    """Takes the pictures of one program run into a folder."""

    def __init__(self, run, out_dir):
        self.run, self.out_dir = run, out_dir
        self.made = {}

    def screen(self):
        path = self.run.path("guide-screen.png")
        self.run.desktop.screenshot(path)
        return path

    def main_window(self, name):
        self.run.move(*NEUTRAL)
        time.sleep(0.6)  # a hover image the pointer left is gone after the next move is handled
        box = self.run.origin + (e2e.WINDOW_WIDTH, e2e.WINDOW_HEIGHT)
        self.made[name] = finish(self.screen(), box, MAIN_SHAPE, os.path.join(self.out_dir, name))

    def window(self, name, box, shape):
        self.made[name] = finish(self.screen(), box, shape, os.path.join(self.out_dir, name))


def index_of(items, matches):
    return next((i for i, item in enumerate(items) if matches(item)), None)


def choose(run):
    """Chooses the example satellite and transponder as a user would in the two lists."""
    satellites = run.items(SATELLITE_LIST)
    satellite = index_of(satellites, lambda item: item.get("data") == SATELLITE)
    if satellite is None:
        raise AssertionError("no satellite at position %d in %s" % (SATELLITE, run.path("Transponders")))
    run.driver("select", SATELLITE_LIST, satellite, "notify")
    e2e.wait_for(lambda: run.items(TRANSPONDER_LIST), 10, interval=0.2, what="the transponder list")
    transponders = run.items(TRANSPONDER_LIST)
    transponder = index_of(transponders, lambda item: item["text"].startswith(TRANSPONDER_MHZ))
    if transponder is None:
        raise AssertionError("no %s MHz transponder at position %d" % (TRANSPONDER_MHZ, SATELLITE))
    run.driver("select", TRANSPONDER_LIST, transponder, "notify")
    return satellite


def calculator(run, shooter, satellites):
    run.click(*DISH_BUTTON)
    dialog = visible_dialog(run, lambda c: c["id"] == CALC_SATELLITES)
    controls = {c["id"]: c["hwnd"] for c in dialog["children"]}
    for control, index in CALC_SITE.items():
        run.driver("select", controls[control], index, "change")
    example = index_of(satellites, lambda item: item.get("data") == CALC_SATELLITE)
    if example is None:
        raise AssertionError("no satellite at position %d for the calculator" % CALC_SATELLITE)
    run.driver("select", controls[CALC_SATELLITES], example, "change")
    run.desktop.xdotool("mousemove", 5, 5)  # off the calculator: no tooltip or hover on it
    time.sleep(0.8)
    shooter.window("calculator.png", dialog_box(dialog), CALCULATOR_SHAPE)
    run.click_button(next(c for c in dialog["children"] if c["text"] == "OK"))
    e2e.wait_for(lambda: no_dialog(run), 10, interval=0.2, what="the calculator to close")


def green(run):
    screen = run.screenshot("guide-green")
    red, green_, blue = screen.pixel(*START_BUTTON)
    return green_ > 120 and green_ > red + 40 and green_ > blue + 40


def watching_and_log(run, shooter):
    run.click(*START_BUTTON)
    e2e.wait_for(lambda: green(run), 20, interval=0.3, what="the green start button")
    time.sleep(2.0)  # the script reaches its last line and the meter draws it
    shooter.main_window("main-watching.png")
    run.double_click(*SORT_BUTTON)
    log = visible_dialog(run, lambda c: c["text"] == "X")
    time.sleep(4.5)  # a few bars on the graph
    shooter.window("signal-log.png", (0, 0, run.desktop.width, run.desktop.height), None)
    run.click_button(next(c for c in log["children"] if c["text"] == "X"))
    e2e.wait_for(lambda: no_dialog(run), 10, interval=0.2, what="the signal log to close")
    run.click(*START_BUTTON)
    e2e.wait_for(lambda: run.state()["combos"][str(SATELLITE_LIST)]["visible"], 30, interval=0.3,
                 what="the lists back after stopping")


def settings_pitch(run, shooter):
    """The settings panel with the sound mode moved on from Auto to Pitch (the Birds preview holds the window 1 s)."""
    for _ in range(5):
        run.click(*SOUND_BUTTON, pause=DOUBLE_CLICK_GAP)
    time.sleep(1.5)
    run.move(*NEUTRAL)
    time.sleep(0.6)
    x, y, width, height = SETTINGS_PANEL
    shooter.window("settings-pitch.png", (run.origin[0] + x, run.origin[1] + y, width, height), None)


def coloured_in_line(run, colour):
    """Pixels of the colour (within 30 per channel) right of the satellite's name."""
    x, y, width, height = FOUND_AREA
    window = run.screenshot("guide-line")
    return sum(1 for dy in range(height) for dx in range(width)
               if all(abs(a - b) <= 30 for a, b in zip(window.pixel(x + dx, y + dy), colour)))


def satellite_line(run, shooter):
    """The chosen satellite found in the stream, then the dish on another one."""
    choose(run)
    run.click(*START_BUTTON)
    e2e.wait_for(lambda: coloured_in_line(run, TEXT_COLOUR) > 30, 30, interval=0.3, what="'found' on the satellite line")
    time.sleep(1.0)
    shooter.main_window("main-found.png")
    e2e.wait_for(lambda: coloured_in_line(run, STATUS_COLOUR) > 30, 40, interval=0.3,
                 what="the warning on the satellite line")
    time.sleep(1.0)
    shooter.main_window("main-wrong-satellite.png")
    run.click(*START_BUTTON)
    e2e.wait_for(lambda: run.state()["combos"][str(SATELLITE_LIST)]["visible"], 30, interval=0.3,
                 what="the lists back after stopping")



def make_pictures(desktop, out_dir, open_run):
    """Runs the program three times (with the simulated card, with the simulated BDA tuner, then without any
    tuner) and saves every picture
    of NAMES into out_dir. open_run(name=..., **options) gives an e2e.Run. Returns {name: path}."""
    os.makedirs(out_dir, exist_ok=True)
    run = open_run(name="guide-pictures", script=SIGNAL_SCRIPT)
    run.start(timeout=60)
    time.sleep(1.0)  # the first paint settles
    shooter = Shooter(run, out_dir)
    shooter.main_window("main-idle.png")
    choose(run)
    shooter.main_window("main-chosen.png")
    calculator(run, shooter, run.items(SATELLITE_LIST))
    watching_and_log(run, shooter)
    settings_pitch(run, shooter)
    run.driver("close")
    run.wait_exit(30)

    run = open_run(name="guide-satellite", script=SATELLITE_SCRIPT, register_card=False, bda=True)
    run.start(timeout=60)
    time.sleep(1.0)
    shooter.run = run
    satellite_line(run, shooter)
    run.driver("close")
    run.wait_exit(30)

    run = open_run(name="guide-no-card", register_card=False)
    run.start(timeout=60)
    dialog = visible_dialog(run, lambda c: c["text"] == "OK")
    time.sleep(0.5)
    shooter.run = run
    shooter.window("message-no-card.png", dialog_box(dialog), DIALOG_SHAPE)
    run.click_button(next(c for c in dialog["children"] if c["text"] == "OK"))
    run.wait_exit(30)
    return shooter.made
