"""The user guide's pictures show the program as it is: the same states made again here match the shipped
pictures, so a change of the window's look that leaves the guide behind fails until `make guide` runs."""
import os
import subprocess

import guide_shots
from quorvan_e2e import PROGRAM_DIST, RUNS, Image, QuorvanTest

# Per colour channel: room for a rounding step in scaling-free screenshots, far below any drawn change.
TOLERANCE = 16
MADE = os.path.join(RUNS, "guide-pictures-made")


def flat(path):
    """The picture's colours over white, so pixels outside a window's rounded shape compare equal."""
    ppm = subprocess.run(["convert", path, "-background", "white", "-alpha", "remove", "-depth", "8", "ppm:-"],
                         check=True, stdout=subprocess.PIPE).stdout
    return Image.from_ppm(ppm)


def mismatches(shipped, made, skip):
    """(x, y) of the pixels that differ by more than TOLERANCE in some channel, outside the skip boxes."""
    found = []
    if shipped.data == made.data:
        return found
    for y in range(shipped.height):
        for x in range(shipped.width):
            if any(left <= x < left + w and top <= y < top + h for left, top, w, h in skip):
                continue
            if max(abs(a - b) for a, b in zip(shipped.pixel(x, y), made.pixel(x, y))) > TOLERANCE:
                found.append((x, y))
    return found


class GuidePicturesTest(QuorvanTest):
    def test_shipped_pictures_match_the_program_today(self):
        made = guide_shots.make_pictures(self.desktop, MADE, self.open_run)
        shipped_dir = os.path.join(PROGRAM_DIST, guide_shots.PICTURES)
        stale = []
        for name in guide_shots.NAMES:
            shipped, own = flat(os.path.join(shipped_dir, name)), flat(made[name])
            if (shipped.width, shipped.height) != (own.width, own.height):
                stale.append("%s: %dx%d shipped, %dx%d now" % (name, shipped.width, shipped.height, own.width,
                                                              own.height))
                continue
            differing = mismatches(shipped, own, guide_shots.UNSTABLE.get(name, []))
            if differing:
                xs, ys = [p[0] for p in differing], [p[1] for p in differing]
                stale.append("%s: %d pixels differ within (%d, %d)-(%d, %d)" % (
                    name, len(differing), min(xs), min(ys), max(xs), max(ys)))
        self.assertGot(stale, [], "guide pictures against the program's look today (remake them with make guide; "
                                  "today's are in %s)" % MADE)

