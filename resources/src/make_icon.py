#!/usr/bin/env python3
"""Makes the program icon resources/quorvan.ico: a dish picking up a signal.

Four images, in this order: 48 x 48 (32 bits), 32 x 32 (24 bits with a mask),
24 x 24 (32 bits) and 16 x 16 (32 bits, drawn on the pixel grid so it stays readable).
Needs rsvg-convert and ImageMagick. Usage: make_icon.py OUT.ico WORK_DIR
"""
import os
import struct
import subprocess
import sys

SIZES = [(48, 32), (32, 24), (24, 32), (16, 32)]  # (pixels, bits per pixel)

DEFS = """<defs>
<linearGradient id="bowl" x1="0" y1="0" x2="1" y2="1">
 <stop offset="0" stop-color="#FFFFFF"/><stop offset="0.55" stop-color="#D5DBE3"/>
 <stop offset="1" stop-color="#8E99A8"/></linearGradient>
<linearGradient id="back" x1="0" y1="0" x2="1" y2="1">
 <stop offset="0" stop-color="#7D8897"/><stop offset="1" stop-color="#3E4855"/></linearGradient>
</defs>"""

LARGE = f"""<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 48 48">{DEFS}
<path d="M8,45 L24,45 L20,39 L12,39 Z" fill="#4A5563"/>
<path d="M16,40 L19,27" stroke="#4A5563" stroke-width="3.2" stroke-linecap="round"/>
<g transform="rotate(-38 19 25)">
 <ellipse cx="17" cy="25" rx="6" ry="16" fill="url(#back)"/>
 <ellipse cx="19.5" cy="25" rx="5" ry="16" fill="url(#bowl)" stroke="#2F3A48" stroke-width="1.4"/>
 <path d="M20,40 L36,25" stroke="#2F3A48" stroke-width="2"/>
 <rect x="34" y="22" width="6" height="6" rx="1.2" fill="#C9461A" stroke="#2F3A48" stroke-width="1"/>
</g>
<path d="M33,5 A10,10 0 0 1 43,15" stroke="#1E78D2" stroke-width="2.6" fill="none" stroke-linecap="round"/>
<path d="M33,11 A4.5,4.5 0 0 1 37.5,15.5" stroke="#1E78D2" stroke-width="2.6" fill="none" stroke-linecap="round"/>
</svg>"""

SMALL = f"""<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 16 16">{DEFS}
<rect x="3" y="14" width="6" height="2" fill="#3E4855"/>
<rect x="5" y="10" width="2" height="4" fill="#3E4855"/>
<g transform="rotate(-38 6.5 8.5)">
 <ellipse cx="6.5" cy="8.5" rx="2.4" ry="6.4" fill="url(#bowl)" stroke="#263040" stroke-width="1"/>
 <path d="M7,14.5 L12.5,8.5" stroke="#263040" stroke-width="1.1"/>
 <rect x="11.3" y="7.1" width="2.8" height="2.8" fill="#D04A14"/>
</g>
<path d="M11,1 A4,4 0 0 1 15,5" stroke="#1E78D2" stroke-width="1.6" fill="none"/>
</svg>"""


def rgba(svg_text, size, work):
    svg_path = os.path.join(work, "icon%d.svg" % size)
    png_path = os.path.join(work, "icon%d.png" % size)
    with open(svg_path, "w") as f:
        f.write(svg_text)
    subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), svg_path, "-o", png_path], check=True)
    raw = subprocess.run(["convert", png_path, "-depth", "8", "rgba:-"], check=True,
                         capture_output=True).stdout
    assert len(raw) == size * size * 4
    return raw


def dib(raw, size, bits):
    """One icon image: BITMAPINFOHEADER (double height), bottom-up colour rows, AND mask."""
    colour_rows, mask_rows = [], []
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row, mask = bytearray(), bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = raw[(y * size + x) * 4:(y * size + x) * 4 + 4]
            if bits == 32:
                row += bytes((b, g, r, a))
            else:  # no alpha: blend the soft edge over a neutral grey, mask what is clear
                row += bytes(((b * a + 0xC0 * (255 - a)) // 255, (g * a + 0xC0 * (255 - a)) // 255,
                              (r * a + 0xC0 * (255 - a)) // 255))
            if a < 96:
                mask[x // 8] |= 0x80 >> (x % 8)
        row += bytes((-len(row)) % 4)
        colour_rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    pixels = b"".join(colour_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, len(pixels), 0, 0, 0, 0)
    return header + pixels + b"".join(mask_rows)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "resources/quorvan.ico"
    work = sys.argv[2] if len(sys.argv) > 2 else "build/icon"
    os.makedirs(work, exist_ok=True)
    images = [dib(rgba(SMALL if size == 16 else LARGE, size, work), size, bits) for size, bits in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for (size, bits), image in zip(SIZES, images):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, bits, len(image), offset)
        offset += len(image)
    with open(out, "wb") as f:
        f.write(directory + entries + b"".join(images))
    print(out)


if __name__ == "__main__":
    main()
