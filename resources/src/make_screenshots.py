#!/usr/bin/env python3
"""Composes review pictures from the finished skin picture, the way the program copies
its blocks: the background, every hover image in place, the meter over the background,
each flag in the settings strip and the calculator's pictures on its face.

Usage: make_screenshots.py SKIN.jpg OUT_DIR
"""
import os
import subprocess
import sys

HOVERS = [  # name, source x, y, window x, y, w, h
    ("close", 694, 0, 449, 9, 35, 34), ("minimise", 729, 0, 402, 9, 39, 34),
    ("start", 512, 0, 395, 115, 60, 65), ("add", 663, 25, 43, 164, 31, 22),
    ("remove", 667, 47, 43, 188, 31, 22), ("language", 698, 66, 23, 334, 70, 32),
    ("sound", 698, 34, 97, 334, 70, 32), ("about", 698, 98, 416, 278, 70, 32),
    ("sort", 664, 0, 43, 108, 30, 25), ("reading", 698, 130, 172, 334, 70, 32),
    ("dish", 698, 162, 263, 278, 70, 32),
]
FLAGS = [("english", 532, 355), ("german", 512, 355), ("russian", 512, 340),
         ("italian", 532, 340), ("chinese", 532, 325), ("french", 512, 325),
         ("polish", 552, 355), ("portuguese", 552, 340)]
METER_CASES = [(50, 35), (100, 99), (7, 0), (0, 0)]  # (level, quality)


def block(skin, x, y, w, h, dx, dy):
    return ["(", skin, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", ")",
            "-geometry", "+%d+%d" % (dx, dy), "-composite"]


def window(skin, out, extra, shape=True):
    args = ["convert", "(", skin, "-crop", "512x384+0+0", "+repage", ")"] + extra
    if shape:  # the window region: a rounded rectangle with a 70 x 60 corner ellipse
        args += ["(", "-size", "512x384", "xc:black", "-fill", "white", "-draw",
                 "roundrectangle 0,0 511,383 35,30", ")", "-alpha", "off",
                 "-compose", "CopyOpacity", "-composite", "-compose", "Over"]
    subprocess.run(args + [out], check=True)


def digits(text, box_x, box_y, colour):
    """Approximates the program's large digits: centred in the 90-pixel box, from its top."""
    return ["-font", "Liberation-Sans-Bold", "-pointsize", "30", "-fill", colour,
            "-gravity", "NorthWest", "-annotate", "+%d+%d" % (box_x + 45 - 8 * len(text), box_y + 2), text]


def meter(skin, level, quality):
    extra = block(skin, 80, 80, 385, 130, 80, 80)
    extra += block(skin, 0, 413, 180, 15, 140, 80) + block(skin, 0, 398, 180, 15, 140, 147)
    if level or quality:
        extra += block(skin, 512, 65, 60, 65, 395, 115)
    for value, y in ((level, 98), (quality, 166)):
        w = int(value * 2.86)
        if w:
            extra += block(skin, 0, 428, w, 42, 87, y)
            extra += digits("%d%%" % value, 180, y, "rgb(230,240,250)")
        else:
            extra += digits("0%", 180, y, "rgb(220,0,0)")
    return extra


def impression(skin):
    """The background with stand-ins for what the program draws on it while idle: the hint,
    the combo boxes, the settings texts with a flag and the web address (fonts approximate)."""
    ink = "rgb(40,60,80)"
    extra = ["-font", "Liberation-Sans-Bold", "-pointsize", "13", "-fill", ink, "-gravity", "NorthWest",
             "-annotate", "+22+51", "To activate quorvan : select the parameters and press red button.",
             "-annotate", "+34+289", "English", "-annotate", "+117+306", "Auto",
             "-annotate", "+190+306", "Level", "-annotate", "+340+355", "www.example.net",
             "-stroke", "black", "-draw", "line 340,370 485,370", "-stroke", "none"]
    extra += block(skin, 532, 355, 20, 15, 48, 305)
    for x, y, w, label in ((46, 228, 119, "None"), (90, 112, 280, "19.2e  Astra"),
                           (90, 180, 280, "11778 V 27500")):
        extra += ["-fill", "white", "-stroke", "rgb(120,120,120)", "-draw",
                  "rectangle %d,%d %d,%d" % (x, y, x + w - 1, y + 25), "-stroke", "none",
                  "-fill", "rgb(212,208,200)", "-draw", "rectangle %d,%d %d,%d" % (x + w - 19, y + 2, x + w - 3, y + 23),
                  "-fill", "black", "-annotate", "+%d+%d" % (x + 4, y + 5), label]
    return extra


def main():
    skin, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    window(skin, os.path.join(out, "background.png"), [])
    window(skin, os.path.join(out, "impression_idle.png"), impression(skin))
    every = []
    for name, sx, sy, dx, dy, w, h in HOVERS:
        window(skin, os.path.join(out, "hover_%s.png" % name), block(skin, sx, sy, w, h, dx, dy))
        if name != "remove":
            every += block(skin, sx, sy, w, h, dx, dy)
    window(skin, os.path.join(out, "hover_all.png"), every)
    for level, quality in METER_CASES:
        window(skin, os.path.join(out, "meter_%d_%d.png" % (level, quality)), meter(skin, level, quality))
    for name, sx, sy in FLAGS:
        window(skin, os.path.join(out, "flag_%s.png" % name), block(skin, sx, sy, 20, 15, 48, 305))
    calc = ["-size", "478x448", "xc:rgb(205,205,213)"]
    calc += block(skin, 412, 412, 100, 100, 200, 230) + block(skin, 612, 412, 80, 80, 45, 230)
    calc += block(skin, 512, 412, 100, 100, 345, 220)
    for name, arrow in (("positive", block(skin, 630, 492, 17, 20, 391, 266)),
                        ("negative", block(skin, 612, 492, 18, 20, 373, 266))):
        subprocess.run(["convert"] + calc + arrow + [os.path.join(out, "calculator_%s.png" % name)], check=True)
    print(out)


if __name__ == "__main__":
    main()
