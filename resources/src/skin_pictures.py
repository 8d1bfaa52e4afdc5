"""Small pictures of the skin: the eight language flags (20 x 15) and the calculator's
pictures, drawn on the calculator's light face RGB(205, 205, 213)."""
import math

FACE = "#CDCDD5"
OUTLINE = "#3A4654"
ARROW = "#D2440A"


def svg(w, h, body, background=None):
    bg = f'<rect width="{w}" height="{h}" fill="{background}"/>' if background else ""
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            f'viewBox="0 0 {w} {h}">{bg}{body}</svg>')


def stripes(colours, vertical):
    n = len(colours)
    out = []
    for i, c in enumerate(colours):
        if vertical:
            out.append(f'<rect x="{20 * i / n}" y="0" width="{20 / n + 0.01}" height="15" fill="{c}"/>')
        else:
            out.append(f'<rect x="0" y="{15 * i / n}" width="20" height="{15 / n + 0.01}" fill="{c}"/>')
    return "".join(out)


def star(cx, cy, r, fill, turn=0.0):
    points = []
    for k in range(10):
        radius = r if k % 2 == 0 else r * 0.4
        a = math.radians(-90 + 36 * k + turn)
        points.append(f"{cx + radius * math.cos(a):.2f},{cy + radius * math.sin(a):.2f}")
    return f'<polygon points="{" ".join(points)}" fill="{fill}"/>'


FLAGS = {
    "de": lambda: stripes(["#1A1A1A", "#DD0000", "#FFCE00"], False),
    "ru": lambda: stripes(["#FFFFFF", "#0039A6", "#D52B1E"], False),
    "it": lambda: stripes(["#009246", "#FFFFFF", "#CE2B37"], True),
    "fr": lambda: stripes(["#0055A4", "#FFFFFF", "#EF4135"], True),
    "pl": lambda: stripes(["#FFFFFF", "#DC143C"], False),
    "pt": lambda: ('<rect width="8" height="15" fill="#046A38"/>'
                   '<rect x="8" width="12" height="15" fill="#DA291C"/>'
                   '<circle cx="8" cy="7.5" r="3.4" fill="#FFE900"/>'
                   '<path d="M6.4,5.6 h3.2 v2.6 a1.6,1.6 0 0 1 -3.2,0 z" fill="#FFFFFF" stroke="#DA291C" stroke-width="0.6"/>'),
    "cn": lambda: ('<rect width="20" height="15" fill="#EE1C25"/>' + star(4, 4, 2.8, "#FFFF00")
                   + star(7.6, 1.6, 0.9, "#FFFF00", 20) + star(9, 3.2, 0.9, "#FFFF00", 45)
                   + star(9, 5.4, 0.9, "#FFFF00", 0) + star(7.6, 7, 0.9, "#FFFF00", 20)),
    "en": lambda: ('<rect width="20" height="15" fill="#012169"/>'
                   '<path d="M0,0 L20,15 M20,0 L0,15" stroke="#FFFFFF" stroke-width="3"/>'
                   '<path d="M0,0 L20,15 M20,0 L0,15" stroke="#C8102E" stroke-width="1"/>'
                   '<path d="M10,0 V15 M0,7.5 H20" stroke="#FFFFFF" stroke-width="5"/>'
                   '<path d="M10,0 V15 M0,7.5 H20" stroke="#C8102E" stroke-width="3"/>'),
}


def flag_svg(name):
    frame = '<rect x="0.5" y="0.5" width="19" height="14" fill="none" stroke="#1E2833" stroke-opacity="0.45"/>'
    return svg(20, 15, FLAGS[name]() + frame)


def elevation():
    """Side view of a dish tilted up to the right, with + (raise) and - (lower) marks."""
    cx, cy = 34.0, 60.0
    ex, ey = math.cos(math.radians(35)), -math.sin(math.radians(35))   # where it looks
    px, py = -ey, ex                                                   # along the rim
    r1 = (cx + 28 * px, cy + 28 * py)
    r0 = (cx - 28 * px, cy - 28 * py)
    back = (cx - 26 * ex, cy - 26 * ey)
    hub = (cx - 12 * ex, cy - 12 * ey)
    focus = (cx + 27 * ex, cy + 27 * ey)
    beam = (cx + 74 * ex, cy + 74 * ey)
    body = [
        '<defs><linearGradient id="d" x1="0" y1="0" x2="1" y2="1">'
        '<stop offset="0" stop-color="#F4F5F8"/><stop offset="1" stop-color="#8D949E"/></linearGradient></defs>',
        '<path d="M6,93.5 H94" stroke="#6B7380" stroke-width="1.5"/>',
        '<path d="' + " ".join("M%d,94 l-4,4" % x for x in range(12, 95, 10)) + '" stroke="#8A919C"/>',
        f'<path d="M22,93 L22,76 L{hub[0]:.1f},{hub[1]:.1f}" stroke="#5A6370" stroke-width="3.4" '
        'fill="none" stroke-linejoin="round"/>',
        f'<path d="M{focus[0]:.1f},{focus[1]:.1f} L{beam[0]:.1f},{beam[1]:.1f}" stroke="#6B7380" '
        'stroke-width="1.2" stroke-dasharray="3 3"/>',
        f'<path d="M{r0[0]:.1f},{r0[1]:.1f} Q{back[0]:.1f},{back[1]:.1f} {r1[0]:.1f},{r1[1]:.1f} Z" '
        f'fill="url(#d)" stroke="{OUTLINE}" stroke-width="1.4" stroke-linejoin="round"/>',
        f'<path d="M{r0[0]:.1f},{r0[1]:.1f} L{r1[0]:.1f},{r1[1]:.1f}" stroke="#FFFFFF" stroke-opacity="0.7"/>',
        f'<path d="M{r1[0]:.1f},{r1[1]:.1f} L{focus[0]:.1f},{focus[1]:.1f}" stroke="{OUTLINE}" stroke-width="1.8"/>',
        f'<rect x="{focus[0] - 3.5:.1f}" y="{focus[1] - 3.5:.1f}" width="7" height="7" rx="1.2" fill="#4A5461" '
        f'transform="rotate(-35 {focus[0]:.1f} {focus[1]:.1f})"/>',
    ]
    # The arc of the tilt, with its arrow heads and signs.
    r = 46
    a0, a1 = math.radians(-6), math.radians(-58)
    p0 = (cx + r * math.cos(a0), cy + r * math.sin(a0))
    p1 = (cx + r * math.cos(a1), cy + r * math.sin(a1))
    body.append(f'<path d="M{p0[0]:.1f},{p0[1]:.1f} A{r},{r} 0 0 0 {p1[0]:.1f},{p1[1]:.1f}" '
                f'stroke="{ARROW}" stroke-width="2" fill="none"/>')
    body.append(arrow_head(p1, a1, -1))
    body.append(arrow_head(p0, a0, 1))
    plus = (p1[0] + 12, p1[1] - 2)
    minus = (p0[0] + 2, p0[1] + 14)
    body.append(f'<path d="M{plus[0]:.1f},{plus[1] - 5:.1f} v10 M{plus[0] - 5:.1f},{plus[1]:.1f} h10" '
                'stroke="#1F7A33" stroke-width="2.6"/>')
    body.append(f'<path d="M{minus[0] - 5:.1f},{minus[1]:.1f} h10" stroke="#B3261E" stroke-width="2.6"/>')
    return svg(100, 100, "".join(body), FACE)


def arrow_head(end, angle, direction, size=5.0):
    """A filled head starting at the end of an arc and pointing on along its tangent
    (direction +1: clockwise on screen)."""
    tx, ty = -math.sin(angle) * direction, math.cos(angle) * direction
    nx, ny = -ty, tx
    bx, by = end[0] - 0.4 * tx, end[1] - 0.4 * ty
    pts = [(end[0] + tx * size * 0.9, end[1] + ty * size * 0.9), (bx + nx * size * 0.7, by + ny * size * 0.7),
           (bx - nx * size * 0.7, by - ny * size * 0.7)]
    return ('<polygon points="' + " ".join(f"{x:.2f},{y:.2f}" for x, y in pts)
            + f'" fill="{ARROW}"/>')


def compass():
    """Compass rose, 80 x 80, its centre in the middle; the program draws the needle."""
    out = ['<circle cx="40" cy="40" r="37" fill="#E6E6EC" stroke="#6A7280" stroke-width="1.2"/>',
           '<circle cx="40" cy="40" r="29" fill="none" stroke="#A6ACB6" stroke-width="0.8"/>']
    for k in range(36):
        a = math.radians(k * 10)
        inner = 31 if k % 9 == 0 else (33 if k % 3 == 0 else 34.5)
        x0, y0 = 40 + inner * math.sin(a), 40 - inner * math.cos(a)
        x1, y1 = 40 + 36.5 * math.sin(a), 40 - 36.5 * math.cos(a)
        w = 1.4 if k % 9 == 0 else 0.8
        out.append(f'<path d="M{x0:.2f},{y0:.2f} L{x1:.2f},{y1:.2f}" stroke="#4C5563" stroke-width="{w}"/>')
    for letter, x, y, fill in (("N", 40, 22, "#B3261E"), ("E", 62, 43.5, OUTLINE),
                               ("S", 40, 65, OUTLINE), ("W", 18, 43.5, OUTLINE)):
        out.append(f'<text x="{x}" y="{y}" font-family="DejaVu Sans" font-weight="bold" font-size="9" '
                   f'text-anchor="middle" fill="{fill}">{letter}</text>')
    out.append('<circle cx="40" cy="40" r="2.2" fill="#4C5563"/>')
    return svg(80, 80, "".join(out), FACE)


DISH_CX, DISH_CY = 46, 50  # the calculator lays the arrows either side of x 46


def dish_front(arrow=None):
    """Front view of a prime-focus dish: the feed on three struts at the centre.

    The rotation arrows curl round the feed; they are cut out of this picture with the
    arrow drawn in, so they fit it exactly wherever the calculator lays them."""
    cx, cy = DISH_CX, DISH_CY
    out = ['<defs><radialGradient id="bowl" cx="0.42" cy="0.38" r="0.62">'
           '<stop offset="0" stop-color="#EEEFF3"/><stop offset="0.75" stop-color="#C4C8D0"/>'
           '<stop offset="1" stop-color="#8E95A0"/></radialGradient></defs>',
           f'<circle cx="{cx + 1}" cy="{cy + 1.5}" r="43" fill="#000000" opacity="0.15"/>',
           f'<circle cx="{cx}" cy="{cy}" r="43" fill="url(#bowl)" stroke="{OUTLINE}" stroke-width="1.4"/>',
           f'<circle cx="{cx}" cy="{cy}" r="40.5" fill="none" stroke="#FFFFFF" stroke-opacity="0.6"/>']
    for deg in (90, 210, 330):
        a = math.radians(deg)
        out.append(f'<path d="M{cx + 6 * math.cos(a):.1f},{cy + 6 * math.sin(a):.1f} '
                   f'L{cx + 41 * math.cos(a):.1f},{cy + 41 * math.sin(a):.1f}" stroke="#5A6370" stroke-width="1.8"/>')
    out.append(f'<circle cx="{cx}" cy="{cy}" r="5.5" fill="#4A5461" stroke="#2C343E"/>'
               f'<circle cx="{cx}" cy="{cy}" r="2.5" fill="#8A94A2"/>')
    if arrow == "arrow_pos":   # clockwise: down the right side
        out.append(arc_arrow(-5, 60, 1))
    elif arrow == "arrow_neg":  # counterclockwise: down the left side
        out.append(arc_arrow(185, 120, -1))
    return svg(100, 100, "".join(out), FACE)


def arc_arrow(start_deg, end_deg, direction, r=12.0, head=4.0):
    """An arc round the feed with a head at its end, outlined in the face colour so that
    it stands out from the strut it crosses."""
    a0, a1 = math.radians(start_deg), math.radians(end_deg)
    p0 = (DISH_CX + r * math.cos(a0), DISH_CY + r * math.sin(a0))
    p1 = (DISH_CX + r * math.cos(a1), DISH_CY + r * math.sin(a1))
    sweep = 1 if direction > 0 else 0
    arc = f'M{p0[0]:.2f},{p0[1]:.2f} A{r},{r} 0 0 {sweep} {p1[0]:.2f},{p1[1]:.2f}'
    head_shape = arrow_head(p1, a1, direction, head)
    halo = "#E2E3E8"
    return (f'<path d="{arc}" stroke="{halo}" stroke-width="4.4" fill="none" stroke-linecap="round"/>'
            + head_shape.replace(f'fill="{ARROW}"', f'fill="{halo}" stroke="{halo}" stroke-width="2" stroke-linejoin="round"')
            + f'<path d="{arc}" stroke="{ARROW}" stroke-width="2.4" fill="none"/>' + head_shape)


def calc_svg(name, arrow=None):
    if name == "elevation":
        return elevation()
    if name == "compass":
        return compass()
    return dish_front(arrow)
