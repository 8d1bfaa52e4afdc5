"""The calculator's compass bearing, magnetic declination and skew in words, read off the screen and
compared with npm's geomagnetism (an independent implementation of the same magnetic model) for today."""
import os
import re
import subprocess

from quorvan_e2e import BUILD, ROOT, QuorvanTest, wait_for
from test_calculator import (DISH_BUTTON, LATITUDE, LATITUDE_MINUTES, LONGITUDE, LONGITUDE_MINUTES, SATELLITES,
                             WEST_SATELLITE, Calculator, numbers)

# Client areas of the new texts, with room for the font's extent.
COMPASS_AREA = (10, 204, 160, 24)
DECLINATION_AREA = (8, 320, 185, 22)
SKEW_AREA = (340, 320, 128, 76)  # picture caption, the turn, the viewpoint
REFERENCE = os.path.join(ROOT, "tests", "magnetic", "reference.sh")


def reference_declination(latitude, longitude):
    """Today's declination from npm's geomagnetism, installed beside the build on first use."""
    out = subprocess.run(["sh", REFERENCE, os.path.join(BUILD, "magnetic"), str(latitude), str(longitude)],
                         check=True, stdout=subprocess.PIPE, timeout=300).stdout
    return float(out.decode().strip())


class CalculatorCompassTest(QuorvanTest):
    def read_texts(self, calculator, name):
        _, path = calculator.screen(name)
        compass = calculator.read(path, COMPASS_AREA)
        declination = calculator.read(path, DECLINATION_AREA)
        skew = calculator.read(path, SKEW_AREA, lines=3)
        return compass, declination, skew

    def wait_texts(self, calculator, name, azimuth_minus_declination):
        """The three texts once the compass line shows the expected bearing (the change may still be queued)."""
        def drawn():
            texts = self.read_texts(calculator, name)
            shown = numbers(" ".join(texts[0]))
            return texts if shown and abs(float(shown[0]) - azimuth_minus_declination) <= 0.02 else None
        try:
            return wait_for(drawn, 10, interval=0.3, what="the compass bearing")
        except AssertionError:
            return self.read_texts(calculator, name)

    def assert_site(self, calculator, name, azimuth, latitude, longitude, side, turn):
        expected = reference_declination(latitude, longitude)
        compass, declination, skew = self.wait_texts(calculator, name, (azimuth - expected) % 360)
        self.assertTrue(compass and compass[0].startswith("Compass:"), "compass line: got %r" % compass)
        bearing = float(numbers(compass[0])[0])
        self.assertLessEqual(abs(bearing - (azimuth - expected) % 360), 0.02,
                             "compass bearing %.2f for azimuth %.2f, declination %.4f" % (bearing, azimuth, expected))
        match = re.match(r"Declination: ?(\d+\.\d\d)\D*([EW])$", declination[0] if declination else "")
        self.assertTrue(match, "declination line: got %r" % declination)
        self.assertLessEqual(abs(float(match.group(1)) - abs(expected)), 0.01,
                             "declination %s against %.4f" % (match.group(1), expected))
        self.assertGot(match.group(2), side, "declination's side")
        self.assertGot(skew, ["front view", turn, "from behind"], "the skew in words")

    def test_bearing_declination_and_turn_for_both_worked_examples(self):
        run = self.open_run(files={"Transponders/3590.ini": WEST_SATELLITE})
        run.start()
        main_items = run.items(111)
        run.click(*DISH_BUTTON)
        calculator = Calculator(self, run)

        # 90 north: the warning, and none of the new texts.
        shown = " | ".join(sum(self.read_texts(calculator, "warning"), []))
        self.assertFalse(re.search(r"Compass|Declination|clockwise|view|behind|\d", shown),
                         "texts beside the warning: got %r" % shown)

        # 50 north, 20 east, satellite 13.0 east: west of south, a negative skew.
        calculator.choose(LATITUDE, 40)
        calculator.choose(LONGITUDE, 160)
        calculator.choose(SATELLITES, next(i for i, item in enumerate(main_items) if item["data"] == 130))
        self.assert_site(calculator, "north", 189.11, 50, 20, "E", "clockwise")

        # 33 55' south, 18 25' east, satellite 1.0 west: a positive skew at Cape Town.
        calculator.choose(LATITUDE, 90 + 33)
        calculator.choose(LATITUDE_MINUTES, 55)
        calculator.choose(LONGITUDE, 180 - 18)
        calculator.choose(LONGITUDE_MINUTES, 25)
        calculator.choose(SATELLITES, next(i for i, item in enumerate(main_items) if item["data"] == 3590))
        self.assert_site(calculator, "south", 327.72, -(33 + 55 / 60), 18 + 25 / 60, "W", "anticlockwise")

        calculator.press_ok()
        run.driver("close")
        self.assertGot(run.wait_exit(), 0, "exit code")
