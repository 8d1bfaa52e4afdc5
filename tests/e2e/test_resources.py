"""The skin picture's blocks as the running program lays them over its background: every hover
image in place and the meter while watching. The screenshots stay in the run folders under build/
for a person to review (hover-<button>.png, meter.png)."""
import shutil

from quorvan_e2e import wait_for
from test_window import NEUTRAL, WindowTestCase, block_matches, differences, settings_record

# Button: a point inside its hot region, the hover image's source and its place on the window.
HOVER_IMAGES = {
    "close": ((465, 25), (694, 0), (449, 9, 35, 34)),
    "minimise": ((420, 25), (729, 0), (402, 9, 39, 34)),
    "start": ((422, 145), (512, 0), (395, 115, 60, 65)),
    "add": ((60, 175), (663, 25), (43, 164, 31, 22)),
    "remove": ((60, 200), (667, 47), (43, 188, 31, 22)),
    "sort": ((57, 120), (664, 0), (43, 108, 30, 25)),
    "sound": ((132, 350), (698, 34), (97, 334, 70, 32)),
    "language": ((57, 350), (698, 66), (23, 334, 70, 32)),
    "about": ((452, 295), (698, 98), (416, 278, 70, 32)),
    "reading": ((207, 350), (698, 130), (172, 334, 70, 32)),
    "dish-alignment": ((297, 294), (698, 162), (263, 278, 70, 32)),
}

LEVEL_BOX = (180, 98, 90, 42)
QUALITY_BOX = (180, 166, 90, 42)
BAR_SOURCE = (0, 428)
TRACK_WIDTH = 286


class HoverImagesInPlaceTest(WindowTestCase):
    def test_every_hover_image_lights_its_button_in_place(self):
        run = self.open_run(files={"qvnth.dat": settings_record()})
        run.start()
        for name, (point, source, place) in HOVER_IMAGES.items():
            run.move(*point)
            self.wait_block(run, place, source, "%s hover image" % name)
            shutil.copy(run.path("screen.png"), run.path("hover-%s.png" % name))
        run.move(*NEUTRAL)
        for name, (point, source, place) in HOVER_IMAGES.items():
            self.wait_block(run, place, place[:2], "background where the %s hover image was" % name)


class MeterBlocksTest(WindowTestCase):
    def test_meter_lays_captions_bars_and_green_ball_over_the_display(self):
        level, quality = 60, 80
        run = self.open_run(files={"qvnth.dat": settings_record()}, script=[(0, 1, level, quality)])
        run.start()
        run.click(422, 145)
        run.move(*NEUTRAL)
        level_width, quality_width = int(level * 2.86), int(quality * 2.86)
        blocks = [("LEVEL caption", (140, 80, 180, 15), (0, 413)),
                  ("QUALITY caption", (140, 147, 180, 15), (0, 398)),
                  ("green start ball", (395, 115, 60, 65), (512, 65)),
                  ("level bar", (87, 98, level_width, 42), BAR_SOURCE),
                  ("quality bar", (87, 166, quality_width, 42), BAR_SOURCE)]

        def meter_drawn():
            image = run.screenshot("meter")
            return all(block_matches(image, place, self.skin, source, [LEVEL_BOX, QUALITY_BOX]) == 0
                       for _, place, source in blocks) and image
        try:
            image = wait_for(meter_drawn, 20, interval=0.3, what="the meter")
        except AssertionError:
            image = run.screenshot("meter")
            self.fail("meter blocks: got differing pixels %s, expected none" % [
                (what, block_matches(image, place, self.skin, source, [LEVEL_BOX, QUALITY_BOX]))
                for what, place, source in blocks])
        # Right of each bar the track keeps its plain background up to the track's end.
        for y, width, what in ((98, level_width, "level"), (166, quality_width, "quality")):
            rest = (87 + width, y, TRACK_WIDTH - width, 42)
            self.assertGot(differences(image, self.background, rest)[:5], [], "%s track right of the bar" % what)
