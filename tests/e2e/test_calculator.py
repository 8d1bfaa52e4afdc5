"""The dish calculator as a user sees it: opened from the dish-alignment button, its lists and boxes,
the results read off the screen, the compass needle and rotation arrow, and its choices kept."""
import math
import os
import re
import struct
import subprocess
import time

from quorvan_e2e import QuorvanTest, skin_picture, wait_for

DISH_BUTTON = (297, 294)
SATELLITES, LATITUDE, LATITUDE_MINUTES, LONGITUDE, LONGITUDE_MINUTES, WIDTH, HEIGHT, OK = \
    125, 123, 124, 121, 122, 126, 127, 113
CONTROL_ORDER = [SATELLITES, LATITUDE, LATITUDE_MINUTES, LONGITUDE, LONGITUDE_MINUTES, WIDTH, HEIGHT, OK]
POSITION_LISTS = [LATITUDE, LONGITUDE, LATITUDE_MINUTES, LONGITUDE_MINUTES]  # settings offsets 80, 84, 88, 92
CALCULATOR_SIZE = (480, 450)
NEEDLE_CENTRE = (85, 270)
# Where the texts are drawn (client coordinates), with room for the font's extent.
PRIME_FOCUS_AREA = (160, 192, 210, 24)
AZIMUTH_AREA = (50, 182, 95, 24)
POLARIZATION_AREA = (365, 182, 100, 24)
OFFSET_DISH_AREA = (165, 337, 230, 24)
WARNING_AREA = (120, 150, 340, 48)
NEGATIVE_ARROW = (612, 492, 18, 20, 373, 266)  # skin left, top, width, height; window left, top
POSITIVE_ARROW = (630, 492, 17, 20, 391, 266)
POLARIZATION_PICTURE = (512, 412, 345, 220)    # skin left, top; window left, top
COMPASS_ROSE = (612, 412, 80, 80, 45, 230)
# A 1.0 degree west satellite for the southern worked example, written over the shipped 3590.ini so the test names its own.
WEST_SATELLITE = "[SATTYPE]\r\n1=3590\r\n2=Test West\r\n\r\n[DVB]\r\n0=1\r\n1=11000,H,27500,34\r\n"


def ocr(screen_path, areas, lines=1):
    """The text tesseract reads in screen areas (left, top, width, height), one line of output per area:
    the areas are stacked into one picture, enlarged three times, and read in one go."""
    crops = []
    for left, top, width, height in areas:
        crops += ["(", screen_path, "-crop", "%dx%d+%d+%d" % (width, height, left, top), "+repage", ")"]
    picture = subprocess.run(["convert"] + crops + ["-background", "white", "-gravity", "west", "-append",
                                                    "-colorspace", "Gray", "-resize", "300%", "png:-"],
                             check=True, stdout=subprocess.PIPE).stdout
    text = subprocess.run(["tesseract", "stdin", "stdout", "--psm", "7" if len(areas) * lines == 1 else "6"],
                          input=picture, check=True, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                          env=dict(os.environ, OMP_THREAD_LIMIT="1")).stdout.decode("utf-8", "replace")
    text = text.replace("\u2014", "-").replace("\u2013", "-")
    return [" ".join(line.split()) for line in text.splitlines() if line.strip()]


def numbers(text):
    return re.findall(r"-?\d+\.\d\d", text)


class Calculator:
    """The open calculator as the test driver sees it, with helpers in its client coordinates."""

    def __init__(self, test, run):
        self.test, self.run = test, run
        self.refresh()

    def refresh(self):
        def calculator_dialog():
            return next((d for d in self.run.state()["dialogs"] if d["class"] == "#32770" and d["visible"]
                         and any(c["id"] == SATELLITES for c in d["children"])), None)
        self.dialog = wait_for(calculator_dialog, 15, interval=0.2, what="the calculator")
        self.controls = {c["id"]: c for c in self.dialog["children"]}
        rect = self.dialog["rect"]
        self.client = (rect["x"] + 1, rect["y"] + 1)  # the template's one-pixel border
        return self

    def hwnd(self, control):
        return self.controls[control]["hwnd"]

    def choose(self, control, index):
        self.run.driver("select", self.hwnd(control), index, "change")

    def selection(self, control):
        return self.controls[control]["selection"]

    def selections(self):
        return [self.selection(c) for c in POSITION_LISTS]

    def sizes(self):
        return [self.controls[c]["text"] for c in (WIDTH, HEIGHT)]

    def boxes_shown(self):
        return [self.controls[c]["visible"] for c in (WIDTH, HEIGHT)]

    def screen(self, name):
        path = self.run.path(name + ".png")
        return self.run.desktop.screenshot(path), path

    def read(self, path, *areas, lines=1):
        """The lines read in areas of the client area."""
        return ocr(path, [(self.client[0] + x, self.client[1] + y, width, height) for x, y, width, height in areas],
                   lines)

    def pixel(self, image, x, y):
        return image.pixel(self.client[0] + x, self.client[1] + y)

    def x_window(self):
        """The X window of the calculator, for keys (no window manager: focus goes by X window)."""
        desktop = self.run.desktop
        desktop.xdotool("mousemove", self.client[0] + 30, self.client[1] + 200)
        time.sleep(0.1)
        location = dict(line.split("=", 1) for line in desktop.xdotool("getmouselocation", "--shell").splitlines())
        return int(location["WINDOW"])

    def press_ok(self):
        self.run.click_button(self.controls[OK])
        wait_for(lambda: not any(d["class"] == "#32770" and d["visible"] for d in self.run.state()["dialogs"]),
                 10, interval=0.2, what="the calculator to close")


class CalculatorTest(QuorvanTest):
    def open_calculator(self, run):
        run.click(*DISH_BUTTON)
        return Calculator(self, run)

    def wait_boxes(self, calculator, visible):
        def boxes():
            calculator.refresh()
            return all(calculator.controls[c]["visible"] == visible for c in (WIDTH, HEIGHT))
        wait_for(boxes, 10, interval=0.2, what="dish-size boxes %s" % ("shown" if visible else "hidden"))

    def assert_results(self, calculator, name, prime_focus, azimuth, polarization, offset_dish):
        """Reads the drawn results, awaited a while: the last change or keystroke may still be queued."""
        areas = (PRIME_FOCUS_AREA, AZIMUTH_AREA, POLARIZATION_AREA, OFFSET_DISH_AREA)
        expected = [[prime_focus], [azimuth], [polarization], [offset_dish] if offset_dish else []]
        def drawn():
            image, path = calculator.screen(name)
            lines = calculator.read(path, *areas)
            return (image, path, lines) if [numbers(line) for line in lines] == expected else None
        try:
            image, path, lines = wait_for(drawn, 10, interval=0.3, what="the results")
        except AssertionError:
            image, path = calculator.screen(name)
            lines = calculator.read(path, *areas)
        self.assertGot([numbers(line) for line in lines], expected, "numbers read on screen (%s)" % " | ".join(lines))
        self.assertTrue(lines[0].startswith("Prime focus:"), "prime-focus line: got %r" % lines[0])
        self.assertTrue(lines[3].startswith("Offset dish"), "offset-dish line: got %r" % lines[3])
        if not offset_dish:
            # Read on its own: among the other lines tesseract has taken "--" for "to".
            self.assertGot(calculator.read(path, OFFSET_DISH_AREA), ["Offset dish : --"], "offset-dish line")
        return image

    def arrow_shown(self, calculator, image):
        """'negative', 'positive' or None: which rotation arrow the screen shows over the front view."""
        skin = skin_picture()
        shown = []
        for name, (sx, sy, width, height, x, y) in (("negative", NEGATIVE_ARROW), ("positive", POSITIVE_ARROW)):
            on_screen = image.crop(calculator.client[0] + x, calculator.client[1] + y, width, height)
            if on_screen.differing_pixels(skin.crop(sx, sy, width, height)) == 0:
                shown.append(name)
            else:
                px, py, wx, wy = POLARIZATION_PICTURE
                front = skin.crop(px + x - wx, py + y - wy, width, height)
                self.assertGot(on_screen.differing_pixels(front), 0,
                               "pixels differing from the front view where the %s arrow would be" % name)
        self.assertLessEqual(len(shown), 1, "both rotation arrows shown")
        return shown[0] if shown else None

    def needle_cover(self, calculator, image, azimuth):
        """Share of the points 15 to 38 pixels out from the dial's centre, in the compass direction azimuth,
        where the screen differs from the bare compass rose: 1.0 where the needle lies."""
        skin = skin_picture()
        sx, sy, _, _, left, top = COMPASS_ROSE
        hits = points = 0
        for radius in range(15, 39):
            x = round(NEEDLE_CENTRE[0] + radius * math.sin(math.radians(azimuth)))
            y = round(NEEDLE_CENTRE[1] - radius * math.cos(math.radians(azimuth)))
            shown = calculator.pixel(image, x, y)
            bare = skin.pixel(sx + x - left, sy + y - top)
            points += 1
            hits += max(abs(a - b) for a, b in zip(shown, bare)) > 40
        return hits / points

    def test_new_record_warning_worked_examples_and_choices_kept(self):
        run = self.open_run(files={"Transponders/3590.ini": WEST_SATELLITE})
        run.start()
        main_list = run.state()["combos"]["111"]
        main_items = run.items(111)
        calculator = self.open_calculator(run)

        rect = calculator.dialog["rect"]
        self.assertGot((rect["x"], rect["y"], rect["width"], rect["height"]),
                       (run.origin[0] + 17, run.origin[1] - 30) + CALCULATOR_SIZE, "calculator placement")
        self.assertGot([c["id"] for c in calculator.dialog["children"]], CONTROL_ORDER, "controls in creation order")
        self.assertGot(calculator.controls[OK]["text"], "OK", "button text")
        latitudes, longitudes = run.items(calculator.hwnd(LATITUDE)), run.items(calculator.hwnd(LONGITUDE))
        minutes = run.items(calculator.hwnd(LATITUDE_MINUTES))
        self.assertGot(len(latitudes), 181, "latitude entries")
        self.assertGot([latitudes[i] for i in (0, 89, 90, 91, 180)],
                       [{"text": "90\u00b0n", "data": 90}, {"text": "1\u00b0n", "data": 1}, {"text": "0\u00b0", "data": 0},
                        {"text": "1\u00b0s", "data": -1}, {"text": "90\u00b0s", "data": -90}], "latitude entries")
        self.assertGot(len(longitudes), 361, "longitude entries")
        self.assertGot([longitudes[i] for i in (0, 160, 180, 360)],
                       [{"text": "180\u00b0e", "data": 180}, {"text": "20\u00b0e", "data": 20},
                        {"text": "0\u00b0", "data": 0}, {"text": "180\u00b0w", "data": -180}], "longitude entries")
        self.assertGot(minutes, [{"text": "%d'" % m, "data": m} for m in range(60)], "latitude minute entries")
        self.assertGot(run.items(calculator.hwnd(LONGITUDE_MINUTES)), minutes, "longitude minute entries")
        self.assertGot([i["text"] for i in run.items(calculator.hwnd(SATELLITES))], [i["text"] for i in main_items],
                       "calculator satellite list")
        self.assertGot(calculator.selection(SATELLITES), main_list["selection"], "calculator satellite selection")

        # A new settings record: 90 north, 180 east, 0 minutes, 1000 x 1200, and no satellite that high.
        self.assertGot(calculator.selections(), [0, 0, 0, 0], "position selections")
        self.assertGot(calculator.sizes(), ["1000", "1200"], "dish-size boxes")
        self.assertGot(calculator.boxes_shown(), [False, False], "dish-size boxes shown at 90 north")
        image, path = calculator.screen("warning")
        self.assertGot(calculator.read(path, WARNING_AREA, lines=2),
                       ["Warning!", "Satellite out of the visibility range!"], "warning on screen")
        x, y, width, height = WARNING_AREA
        red = image.count(lambda p: p[0] > 150 and p[1] < 60 and p[2] < 60,
                          (calculator.client[0] + x, calculator.client[1] + y, width, height))
        self.assertGreater(red, 300, "red pixels in the warning (got %d, expected more than 300)" % red)

        # 50 north, 20 east, satellite 13.0 east.
        hot_bird = next(i for i, item in enumerate(main_items) if item["data"] == 130)
        calculator.choose(LATITUDE, 40)
        calculator.choose(LONGITUDE, 160)
        calculator.choose(SATELLITES, hot_bird)
        self.wait_boxes(calculator, True)
        image = self.assert_results(calculator, "north", "32.31", "189.11", "-5.84", "-1.25")
        self.assertGot(self.arrow_shown(calculator, image), "negative", "rotation arrow for -5.84")
        self.assertGreater(self.needle_cover(calculator, image, 189.11), 0.8, "needle just west of south")
        self.assertLess(self.needle_cover(calculator, image, 170.89), 0.2, "needle just east of south")
        self.assertLess(self.needle_cover(calculator, image, 0), 0.2, "needle pointing north")

        # Clearing the width box takes the offset angle away; typing it again brings it back.
        run.driver("settext", calculator.hwnd(WIDTH), "")
        wait_for(lambda: calculator.read(calculator.screen("cleared")[1], OFFSET_DISH_AREA) == ["Offset dish : --"],
                 10, interval=0.3, what='"Offset dish  : --" after clearing the width')
        window = calculator.x_window()
        run.desktop.xdotool("windowfocus", "--sync", window)
        run.click_button(calculator.controls[WIDTH])
        run.desktop.xdotool("type", "--delay", "30", "1000")
        self.assert_results(calculator, "typed", "32.31", "189.11", "-5.84", "-1.25")

        # Esc and the system's close command arrive as the cancel command: the calculator stays.
        run.key("Escape", window=window)
        run.driver("close", calculator.dialog["hwnd"])
        time.sleep(1)
        self.assertTrue(any(d["class"] == "#32770" and d["visible"] for d in run.state()["dialogs"]),
                        "the calculator closed on Esc or WM_CLOSE")

        # 33 55' south, 18 25' east, satellite 1.0 west, dish 800 x 900.
        west = next(i for i, item in enumerate(main_items) if item["data"] == 3590)
        calculator.choose(LATITUDE, 90 + 33)
        calculator.choose(LATITUDE_MINUTES, 55)
        calculator.choose(LONGITUDE, 180 - 18)
        calculator.choose(LONGITUDE_MINUTES, 25)
        calculator.choose(SATELLITES, west)
        run.driver("settext", calculator.hwnd(WIDTH), "800")
        run.driver("settext", calculator.hwnd(HEIGHT), "900")
        image = self.assert_results(calculator, "south", "45.42", "327.72", "26.31", "18.15")
        self.assertGot(self.arrow_shown(calculator, image), "positive", "rotation arrow for 26.31")
        self.assertGreater(self.needle_cover(calculator, image, 327.72), 0.8, "needle north-north-west")

        # A press on the background drags the window.
        before = calculator.client
        start = (before[0] + 30 - run.origin[0], before[1] + 200 - run.origin[1])
        run.drag(start, (start[0] + 40, start[1] + 25))
        moved = calculator.refresh().client
        self.assertGot((moved[0] - before[0], moved[1] - before[1]), (40, 25), "calculator moved by the drag")

        calculator.press_ok()
        self.assertGot(run.state()["combos"]["111"]["selection"], main_list["selection"],
                       "main satellite selection after the calculator")

        # Choices come back at the next opening; the satellite starts from the main window's again.
        calculator = self.open_calculator(run)
        chosen = [90 + 33, 180 - 18, 55, 25]
        self.assertGot(calculator.selections(), chosen, "position selections reopened")
        self.assertGot(calculator.sizes(), ["800", "900"], "sizes reopened")
        self.assertGot(calculator.selection(SATELLITES), main_list["selection"], "satellite selection reopened")
        calculator.press_ok()
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")
        self.assertGot(list(struct.unpack_from("<6i", run.read("qvnth.dat"), 80)), chosen + [800, 900],
                       "calculator fields of the settings file")

        # And after a restart.
        run.start()
        calculator = self.open_calculator(run)
        self.assertGot(calculator.selections(), chosen, "position selections after restart")
        self.assertGot(calculator.sizes(), ["800", "900"], "sizes after restart")
        calculator.press_ok()
        run.driver("close")
        run.wait_exit()

    def test_damaged_indices_and_oversized_dish(self):
        record = bytearray(256)
        struct.pack_into("<6i", record, 80, 181, -5, 60, 100000, 0, 0)
        run = self.open_run(files={"qvnth.dat": bytes(record)})
        run.start()
        calculator = self.open_calculator(run)
        self.assertGot(calculator.selections(), [-1, -1, -1, -1], "selections of indices outside the lists")
        self.assertGot(calculator.sizes(), ["1000", "1200"], "sizes of 0 replaced by the defaults")
        # The first entries stand in: 90 north, where nothing is visible.
        image, path = calculator.screen("damaged")
        self.assertGot(calculator.read(path, WARNING_AREA, lines=2), ["Warning!", "Satellite out of the visibility range!"],
                       "warning for the first entries")
        self.assertGot(calculator.boxes_shown(), [False, False], "boxes shown")

        # Beneath the satellite (equator, 13 east, 13.0 east) the results and the boxes show.
        main_items = run.items(111)
        calculator.choose(LATITUDE, 90)
        calculator.choose(LONGITUDE, 180 - 13)
        calculator.choose(SATELLITES, next(i for i, item in enumerate(main_items) if item["data"] == 130))
        self.wait_boxes(calculator, True)
        run.driver("settext", calculator.hwnd(WIDTH), "99999999999")
        self.assert_results(calculator, "beneath", "90.00", "0.00", "0.00", None)
        calculator.press_ok()
        run.driver("close")
        run.wait_exit()
        self.assertGot(list(struct.unpack_from("<6i", run.read("qvnth.dat"), 80)), [90, 167, -1, -1, -1, 1200],
                       "calculator fields: no minute chosen, the width held at the 32-bit limit")
