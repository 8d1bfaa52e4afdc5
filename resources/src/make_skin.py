#!/usr/bin/env python3
"""Draws the skin picture (resources/skin.jpg) from SVG drawn here.

The window face is drawn once in each of its states (plain, lit buttons, green start
ball, meter running); every block that the program copies over the background is cut
from the state's drawing at the exact place where the program puts it, so a copied
block always meets the background without a seam.

Needs rsvg-convert (librsvg2-bin) and ImageMagick. Usage: make_skin.py OUT_DIR
"""
import os
import subprocess
import sys

sys.dont_write_bytecode = True

import skin_face
import skin_pictures

ATLAS_W, ATLAS_H = 768, 512
WINDOW_W, WINDOW_H = 512, 384
FACE = "#CDCDD5"  # the calculator's light face, RGB(205, 205, 213)

# (state, window block x, y, w, h, picture x, y): blocks cut from a state's drawing.
WINDOW_BLOCKS = [
    ("lit", 449, 9, 35, 34, 694, 0),      # close
    ("lit", 402, 9, 39, 34, 729, 0),      # minimise
    ("lit", 395, 115, 60, 65, 512, 0),    # start
    ("lit", 43, 164, 31, 22, 663, 25),    # add half
    ("lit", 43, 188, 31, 22, 667, 47),    # remove half
    ("lit", 23, 334, 70, 32, 698, 66),    # language
    ("lit", 97, 334, 70, 32, 698, 34),    # sound
    ("lit", 416, 278, 70, 32, 698, 98),   # about
    ("lit", 43, 108, 30, 25, 664, 0),     # sort
    ("lit", 172, 334, 70, 32, 698, 130),  # reading
    ("lit", 263, 278, 70, 32, 698, 162),  # dish alignment
    ("green", 395, 115, 60, 65, 512, 65),  # start button while there is signal
    ("meter", 140, 147, 180, 15, 0, 398),  # QUALITY caption
    ("meter", 140, 80, 180, 15, 0, 413),   # LEVEL caption
    ("meter", 87, 98, 286, 42, 0, 428),    # full bar
]

# (name, picture x, y): pictures drawn on their own canvas, pasted whole.
FLAG_BLOCKS = [
    ("en", 532, 355), ("de", 512, 355), ("ru", 512, 340), ("it", 532, 340),
    ("cn", 532, 325), ("fr", 512, 325), ("pl", 552, 355), ("pt", 552, 340),
]
CALC_BLOCKS = [
    ("elevation", 412, 412, 100, 100),
    ("dishfront", 512, 412, 100, 100),
    ("compass", 612, 412, 80, 80),
]
# Arrows are cut from the dish's front view with the arrow drawn in, since the calculator
# always draws them over that picture: (name, x, y, w, h in the front view, picture x, y).
ARROW_BLOCKS = [
    ("arrow_neg", 28, 46, 18, 20, 612, 492),
    ("arrow_pos", 46, 46, 17, 20, 630, 492),
]


def run(args):
    subprocess.run(args, check=True)


def render(svg_text, name, out_dir):
    svg_path = os.path.join(out_dir, name + ".svg")
    png_path = os.path.join(out_dir, name + ".png")
    with open(svg_path, "w") as f:
        f.write(svg_text)
    run(["rsvg-convert", svg_path, "-o", png_path])
    return png_path


def make_texture(out_dir):
    """Horizontal brushing: noise smeared along x, seeded so the picture remakes the same."""
    path = os.path.join(out_dir, "brushed.png")
    run(["convert", "-size", "%dx%d" % (WINDOW_W + 80, WINDOW_H), "xc:gray50", "-seed", "7",
         "+noise", "Gaussian", "-motion-blur", "0x40+0", "-blur", "0x0.6", "-auto-level",
         "-crop", "%dx%d+40+0" % (WINDOW_W, WINDOW_H), "+repage", path])
    return path


def crop_args(png, x, y, w, h, dx, dy):
    return ["(", png, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", ")",
            "-geometry", "+%d+%d" % (dx, dy), "-composite"]


def pixels(png):
    w, h = map(int, subprocess.run(["identify", "-format", "%w %h", png], check=True,
                                   capture_output=True, text=True).stdout.split())
    raw = subprocess.run(["convert", png, "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
    return w, h, raw


def check_changes_inside(base_png, state_png, blocks, what):
    """A state may differ from the plain drawing only inside the blocks cut from it;
    anything outside would be lost, or would leave a seam at the block's edge."""
    w, h, base = pixels(base_png)
    _, _, state = pixels(state_png)
    stray = []
    for y in range(h):
        row = y * w * 3
        if base[row:row + w * 3] == state[row:row + w * 3]:
            continue
        for x in range(w):
            i = row + x * 3
            if base[i:i + 3] != state[i:i + 3] and not any(
                    bx <= x < bx + bw and by <= y < by + bh for bx, by, bw, bh in blocks):
                stray.append((x, y))
    if stray:
        sys.exit("%s changes %d pixels outside its blocks, first at %s" % (what, len(stray), stray[:5]))


def check_tracks_alike(meter_png):
    """The one bar is drawn into both tracks, so the full tracks must be identical."""
    w, _, raw = pixels(meter_png)
    (x0, y0), (x1, y1) = skin_face.TRACKS
    for row in range(skin_face.TRACK_H):
        a = ((y0 + row) * w + x0) * 3
        b = ((y1 + row) * w + x1) * 3
        if raw[a:a + skin_face.TRACK_W * 3] != raw[b:b + skin_face.TRACK_W * 3]:
            sys.exit("the two full tracks differ in row %d" % row)


def check(states, pictures):
    for state in ("lit", "green", "meter"):
        blocks = [(x, y, w, h) for s, x, y, w, h, _, _ in WINDOW_BLOCKS if s == state]
        if state == "meter":
            blocks.append((skin_face.TRACKS[1][0], skin_face.TRACKS[1][1], skin_face.TRACK_W, skin_face.TRACK_H))
        check_changes_inside(states["plain"], states[state], blocks, state)
    check_tracks_alike(states["meter"])
    for name, x, y, w, h, _, _ in ARROW_BLOCKS:
        check_changes_inside(pictures["dishfront"], pictures[name], [(x, y, w, h)], name)


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else "build/skin"
    os.makedirs(out_dir, exist_ok=True)
    make_texture(out_dir)
    states = {s: render(skin_face.window_svg(s), "window_" + s, out_dir)
              for s in ("plain", "lit", "green", "meter")}
    pictures = {}
    for name, _, _ in FLAG_BLOCKS:
        pictures[name] = render(skin_pictures.flag_svg(name), "flag_" + name, out_dir)
    for name, _, _, _, _ in CALC_BLOCKS:
        pictures[name] = render(skin_pictures.calc_svg(name), name, out_dir)
    for name, *_ in ARROW_BLOCKS:
        pictures[name] = render(skin_pictures.calc_svg("dishfront", arrow=name), name, out_dir)

    check(states, pictures)

    args = ["convert", "-size", "%dx%d" % (ATLAS_W, ATLAS_H), "xc:" + FACE]
    # The band under the meter blocks carries the display's colour so that JPEG blocks
    # straddling the captions and the bar see no hard edge; the calculator's pictures
    # beside it sit on their own face colour.
    args += ["(", "-size", "300x128", "xc:" + skin_face.DISPLAY_BOTTOM, ")",
             "-geometry", "+0+384", "-composite"]
    args += ["(", "-size", "256x194", "xc:" + skin_face.PANEL_MID, ")",
             "-geometry", "+512+194", "-composite"]
    args += crop_args(states["plain"], 0, 0, WINDOW_W, WINDOW_H, 0, 0)
    for state, x, y, w, h, px, py in WINDOW_BLOCKS:
        args += crop_args(states[state], x, y, w, h, px, py)
    # The bar's last column runs on a little, so its end keeps its colour in the JPEG.
    args += ["(", states["meter"], "-crop", "1x42+372+98", "+repage", "-scale", "14x42!", ")",
             "-geometry", "+286+428", "-composite"]
    for name, px, py in FLAG_BLOCKS:
        args += crop_args(pictures[name], 0, 0, 20, 15, px, py)
    for name, px, py, w, h in CALC_BLOCKS:
        args += crop_args(pictures[name], 0, 0, w, h, px, py)
    for name, x, y, w, h, px, py in ARROW_BLOCKS:
        args += crop_args(pictures[name], x, y, w, h, px, py)
    atlas = os.path.join(out_dir, "atlas.png")
    run(args + ["-alpha", "off", atlas])
    jpeg = os.path.join(out_dir, "skin.jpg")
    # 4:4:4 so that every decoder gives the same pixels; baseline, no metadata.
    run(["convert", atlas, "-sampling-factor", "1x1,1x1,1x1", "-quality", "90",
         "-interlace", "none", "-strip", "-type", "TrueColor", jpeg])
    print(jpeg)


if __name__ == "__main__":
    main()
