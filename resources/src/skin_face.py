"""The main window's face, 512 x 384, as SVG, in one of four states.

plain: the background. lit: every button in its hover look (their blocks never overlap,
so one drawing serves all). green: the start ball lit green. meter: the display as the
meter draws it, captions LEVEL and QUALITY and both bars full.

Light falls from the top left: raised parts have a bright top-left edge and a shadow to
the bottom right, recessed parts the reverse. Areas where the program writes its own text
(hint line, settings strip, web address, status box, meter digits) stay plain.
"""

PANEL_TOP = "#DCDFE3"
PANEL_MID = "#CBCFD4"
PANEL_BOTTOM = "#BCC1C7"
DISPLAY_TOP = "#1F2833"
DISPLAY_BOTTOM = "#161D26"
TRACK = "#0E141B"
INK = "#2A3B4D"          # engraved labels, close to the program's RGB(40, 60, 80)
LIT_INK = "#0066CC"      # the program's own hover colour for the web link
CAPTION = "#8DA3BA"
FONT = "DejaVu Sans"

LABELLED_BUTTONS = [      # (label, x, y) of the 67 x 29 face; the hover block encloses it
    ("LANGUAGE", 24.5, 335.5),
    ("SOUND", 98.5, 335.5),
    ("READING", 173.5, 335.5),
    ("DISH CALC", 264.5, 279.5),
    ("HELP", 342.5, 279.5),
    ("ABOUT", 417.5, 279.5),
]
LIT_BUTTONS = {"LANGUAGE", "SOUND", "READING", "DISH CALC", "ABOUT"}  # help has no hover image
BALL_CX, BALL_CY, BALL_R = 422.5, 145.5, 24.5
TRACKS = [(87, 98), (87, 166)]  # 286 x 42 each
TRACK_W, TRACK_H = 286, 42


def defs():
    return f"""
<defs>
  <linearGradient id="panel" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="{PANEL_TOP}"/><stop offset="0.5" stop-color="{PANEL_MID}"/>
    <stop offset="1" stop-color="{PANEL_BOTTOM}"/></linearGradient>
  <linearGradient id="sheen" x1="0" y1="0" x2="1" y2="1">
    <stop offset="0" stop-color="#FFFFFF" stop-opacity="0.28"/>
    <stop offset="0.45" stop-color="#FFFFFF" stop-opacity="0"/>
    <stop offset="1" stop-color="#000000" stop-opacity="0.06"/></linearGradient>
  <linearGradient id="rim" x1="0" y1="0" x2="1" y2="1">
    <stop offset="0" stop-color="#FFFFFF" stop-opacity="0.95"/>
    <stop offset="0.5" stop-color="#B8BDC4" stop-opacity="0.6"/>
    <stop offset="1" stop-color="#5C636C" stop-opacity="0.95"/></linearGradient>
  <linearGradient id="recess" x1="0" y1="0" x2="1" y2="1">
    <stop offset="0" stop-color="#6E7580"/><stop offset="0.55" stop-color="#A9AFB7"/>
    <stop offset="1" stop-color="#F5F7F9"/></linearGradient>
  <linearGradient id="display" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="{DISPLAY_TOP}"/><stop offset="1" stop-color="{DISPLAY_BOTTOM}"/></linearGradient>
  <linearGradient id="innershade" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#000000" stop-opacity="0.55"/>
    <stop offset="1" stop-color="#000000" stop-opacity="0"/></linearGradient>
  <linearGradient id="key" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#F6F7F9"/><stop offset="0.55" stop-color="#DCE0E5"/>
    <stop offset="1" stop-color="#BEC4CB"/></linearGradient>
  <linearGradient id="keylit" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#FFFFFF"/><stop offset="0.55" stop-color="#E8F1FB"/>
    <stop offset="1" stop-color="#C6D8EC"/></linearGradient>
  <linearGradient id="bar" x1="0" y1="0" x2="1" y2="0">
    <stop offset="0" stop-color="#C8231A"/><stop offset="0.3" stop-color="#D9611C"/>
    <stop offset="0.55" stop-color="#D6A91F"/><stop offset="0.78" stop-color="#8DB62C"/>
    <stop offset="1" stop-color="#26A844"/></linearGradient>
  <linearGradient id="gloss" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#FFFFFF" stop-opacity="0.45"/>
    <stop offset="0.42" stop-color="#FFFFFF" stop-opacity="0.08"/>
    <stop offset="0.5" stop-color="#000000" stop-opacity="0.05"/>
    <stop offset="1" stop-color="#000000" stop-opacity="0.35"/></linearGradient>
  <radialGradient id="ballred" cx="0.38" cy="0.32" r="0.75">
    <stop offset="0" stop-color="#FF9C8E"/><stop offset="0.35" stop-color="#E0372A"/>
    <stop offset="0.8" stop-color="#9A150D"/><stop offset="1" stop-color="#5E0A05"/></radialGradient>
  <radialGradient id="balllit" cx="0.38" cy="0.32" r="0.75">
    <stop offset="0" stop-color="#FFD0C6"/><stop offset="0.35" stop-color="#FF5A44"/>
    <stop offset="0.8" stop-color="#C92416"/><stop offset="1" stop-color="#7E1009"/></radialGradient>
  <radialGradient id="ballgreen" cx="0.38" cy="0.32" r="0.75">
    <stop offset="0" stop-color="#C8FFB8"/><stop offset="0.35" stop-color="#35C43A"/>
    <stop offset="0.8" stop-color="#12781C"/><stop offset="1" stop-color="#08450E"/></radialGradient>
  <radialGradient id="glowred" cx="0.5" cy="0.5" r="0.5">
    <stop offset="0.7" stop-color="#FF3B22" stop-opacity="0.55"/>
    <stop offset="1" stop-color="#FF3B22" stop-opacity="0"/></radialGradient>
  <radialGradient id="glowgreen" cx="0.5" cy="0.5" r="0.5">
    <stop offset="0.7" stop-color="#3BFF4A" stop-opacity="0.5"/>
    <stop offset="1" stop-color="#3BFF4A" stop-opacity="0"/></radialGradient>
  <radialGradient id="specular" cx="0.5" cy="0.5" r="0.5">
    <stop offset="0" stop-color="#FFFFFF" stop-opacity="0.85"/>
    <stop offset="1" stop-color="#FFFFFF" stop-opacity="0"/></radialGradient>
  <clipPath id="tophalf"><rect x="40" y="160" width="40" height="26"/></clipPath>
  <clipPath id="bottomhalf"><rect x="40" y="188" width="40" height="26"/></clipPath>
</defs>"""


def text(x, y, s, size, fill, anchor="middle", spacing=1.0, weight="bold", opacity=1.0):
    return (f'<text x="{x}" y="{y}" font-family="{FONT}" font-size="{size}" '
            f'font-weight="{weight}" letter-spacing="{spacing}" text-anchor="{anchor}" '
            f'fill="{fill}" fill-opacity="{opacity}">{s}</text>')


def engraved(x, y, s, size, fill=INK, anchor="middle", spacing=1.0):
    """Dark letters with a bright edge below them, as if stamped into the metal."""
    return (text(x, y + 1, s, size, "#FFFFFF", anchor, spacing, opacity=0.75)
            + text(x, y, s, size, fill, anchor, spacing))


def panel():
    return f"""
<rect width="512" height="384" fill="url(#panel)"/>
<image href="brushed.png" x="0" y="0" width="512" height="384" opacity="0.13"/>
<rect width="512" height="384" fill="url(#sheen)"/>
<rect x="1.5" y="1.5" width="509" height="381" rx="34" ry="29" fill="none" stroke="url(#rim)" stroke-width="3"/>
<rect x="0.5" y="0.5" width="511" height="383" rx="35" ry="30" fill="none" stroke="#4E555E" stroke-width="1"/>"""


def brand():
    return (engraved(44, 38, "QUORVAN", 19, INK, "start", 4)
            + engraved(196, 37, "DVB-S SIGNAL METER", 8.5, "#4F6175", "start", 2))


def recess(x, y, w, h, r, fill):
    """A recessed well: bevel ring darker at the top left, then the inner fill."""
    return (f'<rect x="{x - 2}" y="{y - 2}" width="{w + 4}" height="{h + 4}" rx="{r + 2}" fill="url(#recess)"/>'
            f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{r}" fill="{fill}"/>')


def track(x, y, full):
    parts = [f'<rect x="{x - 1}" y="{y - 1}" width="{TRACK_W + 2}" height="{TRACK_H + 2}" fill="#05080C"/>',
             f'<rect x="{x}" y="{y + TRACK_H}" width="{TRACK_W + 1}" height="1" fill="#3A4653"/>',
             f'<rect x="{x + TRACK_W}" y="{y}" width="1" height="{TRACK_H + 1}" fill="#3A4653"/>',
             f'<rect x="{x}" y="{y}" width="{TRACK_W}" height="{TRACK_H}" fill="{TRACK}"/>',
             f'<rect x="{x}" y="{y}" width="{TRACK_W}" height="5" fill="url(#innershade)" opacity="0.7"/>']
    for k in range(1, 20):  # scale marks every 5 %
        tx = x + round(TRACK_W * k / 20)
        h = 5 if k % 2 == 0 else 3
        parts.append(f'<rect x="{tx}" y="{y + TRACK_H - 1 - h}" width="1" height="{h}" fill="#34414F"/>')
    if full:
        parts.append(f'<rect x="{x}" y="{y}" width="{TRACK_W}" height="{TRACK_H}" fill="url(#bar)"/>')
        parts.append(f'<rect x="{x}" y="{y}" width="{TRACK_W}" height="{TRACK_H}" fill="url(#gloss)"/>')
        parts.append(f'<rect x="{x}" y="{y}" width="{TRACK_W}" height="1" fill="#FFFFFF" opacity="0.35"/>')
        parts.append(f'<rect x="{x}" y="{y + TRACK_H - 1}" width="{TRACK_W}" height="1" fill="#000000" opacity="0.35"/>')
    return "".join(parts)


def display(state):
    meter = state == "meter"
    top_caption, bottom_caption = ("LEVEL", "QUALITY") if meter else ("SATELLITE", "TRANSPONDER")
    out = [recess(79, 78, 386, 136, 8, "url(#display)"),
           '<rect x="79" y="78" width="386" height="6" rx="6" fill="url(#innershade)" opacity="0.6"/>']
    out.append(text(230, 91, top_caption, 9.5, CAPTION, spacing=3))
    out.append(text(230, 158, bottom_caption, 9.5, CAPTION, spacing=3))
    for x, y in TRACKS:
        out.append(track(x, y, meter))
    out.append(start_ball(state))
    out.append(text(BALL_CX, 201, "START / STOP", 7, CAPTION, spacing=1.2))
    return "".join(out)


def start_ball(state):
    fill = {"lit": "balllit", "green": "ballgreen"}.get(state, "ballred")
    cx, cy, r = BALL_CX, BALL_CY, BALL_R
    out = [f'<circle cx="{cx}" cy="{cy}" r="{r + 3}" fill="#070A0E"/>',
           f'<circle cx="{cx}" cy="{cy}" r="{r + 3}" fill="none" stroke="#3C4857" stroke-width="1" '
           f'stroke-dasharray="0 0" opacity="0.8"/>']
    if state in ("lit", "green"):
        glow = "glowgreen" if state == "green" else "glowred"
        out.append(f'<circle cx="{cx}" cy="{cy}" r="{r + 3}" fill="url(#{glow})"/>')
    out.append(f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="url(#{fill})"/>')
    out.append(f'<ellipse cx="{cx - 7}" cy="{cy - 10}" rx="9" ry="6" fill="url(#specular)"/>')
    return "".join(out)


def key(x, y, w, h, r, lit):
    """A raised metal key: shadow to the bottom right, bright top edge, grey outline."""
    fill = "keylit" if lit else "key"
    stroke = "#3D7FC4" if lit else "#7A828C"
    return (f'<rect x="{x + 1}" y="{y + 1.5}" width="{w}" height="{h}" rx="{r}" fill="#000000" opacity="0.13"/>'
            f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{r}" fill="url(#{fill})" stroke="{stroke}"/>'
            f'<rect x="{x + 1}" y="{y + 1}" width="{w - 2}" height="{h - 2}" rx="{r - 1}" fill="none" '
            f'stroke="#FFFFFF" stroke-opacity="{0.9 if lit else 0.7}"/>')


def labelled_button(label, x, y, lit):
    w, h = 67, 29
    return key(x, y, w, h, 6, lit) + (
        text(x + w / 2, y + 18.5, label, 9, LIT_INK if lit else INK, spacing=0.6))


def round_button(cx, cy, symbol, lit):
    glow_colour = "#E03A2C" if symbol == "close" else "#2F86E0"
    out = [f'<circle cx="{cx + 1}" cy="{cy + 1.5}" r="13" fill="#000000" opacity="0.18"/>']
    if lit:
        out.append(f'<circle cx="{cx}" cy="{cy}" r="15.5" fill="{glow_colour}" opacity="0.35"/>')
    out.append(f'<circle cx="{cx}" cy="{cy}" r="13" fill="url(#{"keylit" if lit else "key"})" '
               f'stroke="{glow_colour if lit else "#7A828C"}"/>')
    out.append(f'<circle cx="{cx}" cy="{cy}" r="12" fill="none" stroke="#FFFFFF" stroke-opacity="0.7"/>')
    ink = glow_colour if lit else INK
    if symbol == "close":
        out.append(f'<path d="M{cx - 5},{cy - 5} L{cx + 5},{cy + 5} M{cx + 5},{cy - 5} L{cx - 5},{cy + 5}" '
                   f'stroke="{ink}" stroke-width="2.4" stroke-linecap="round"/>')
    else:
        out.append(f'<path d="M{cx - 6},{cy + 4} L{cx + 6},{cy + 4}" stroke="{ink}" '
                   f'stroke-width="2.6" stroke-linecap="round"/>')
    return "".join(out)


def sort_button(lit):
    ink = LIT_INK if lit else INK
    x, y = 45.5, 110.5
    arrows = (f'<path d="M52.5,127 L52.5,115 M49,118.5 L52.5,114.5 L56,118.5" stroke="{ink}" '
              f'stroke-width="1.6" fill="none" stroke-linecap="round" stroke-linejoin="round"/>'
              f'<path d="M63.5,114 L63.5,126 M60,122.5 L63.5,126.5 L67,122.5" stroke="{ink}" '
              f'stroke-width="1.6" fill="none" stroke-linecap="round" stroke-linejoin="round"/>')
    return key(x, y, 25, 20, 4, lit) + arrows


def add_remove_button(lit):
    x, y, w, h = 45.5, 165.5, 27, 43
    out = [key(x, y, w, h, 7, False)]
    if lit:  # each half lights on its own; the groove between them never changes
        for clip in ("tophalf", "bottomhalf"):
            out.append(f'<g clip-path="url(#{clip})">{key(x, y, w, h, 7, True)}</g>')
    out.append('<rect x="46" y="186" width="27" height="1" fill="#6F7781"/>'
               '<rect x="46" y="187" width="27" height="1" fill="#FFFFFF" opacity="0.8"/>')
    ink = LIT_INK if lit else INK
    out.append(f'<path d="M59,171 L59,181 M54,176 L64,176" stroke="{ink}" stroke-width="2.4" '
               f'stroke-linecap="round"/>')
    out.append(f'<path d="M54,198 L64,198" stroke="{ink}" stroke-width="2.4" stroke-linecap="round"/>')
    return "".join(out)


def lnb_slot():
    return recess(44, 226, 123, 30, 4, "#2A323C") + engraved(176, 246, "LNB", 10, INK, "start", 2)


def web_globe():
    """A small globe left of the web address, which the program writes at (340, 355)."""
    cx, cy = 328.5, 362.5
    return (f'<g fill="none" stroke="{INK}" stroke-width="1" opacity="0.85">'
            f'<circle cx="{cx}" cy="{cy}" r="6"/><ellipse cx="{cx}" cy="{cy}" rx="2.6" ry="6"/>'
            f'<path d="M{cx - 6},{cy} H{cx + 6} M{cx - 5},{cy - 3} H{cx + 5} M{cx - 5},{cy + 3} H{cx + 5}"/></g>')


def settings_plate():
    """A flat inset plate where the program writes the language, sound mode and reading."""
    return ('<rect x="16.5" y="267.5" width="237" height="59" rx="6" fill="#DDE0E4" '
            'stroke="#8E959E"/>'
            '<rect x="17.5" y="268.5" width="235" height="57" rx="5" fill="none" '
            'stroke="#FFFFFF" stroke-opacity="0.0"/>'
            '<path d="M23,326.5 L247,326.5" stroke="#FFFFFF" stroke-opacity="0.8"/>')


def window_svg(state):
    lit = state == "lit"
    body = [panel(), brand(), display(state), lnb_slot(), settings_plate(),
            web_globe(), sort_button(lit), add_remove_button(lit),
            round_button(420, 25, "minimise", lit), round_button(465, 25, "close", lit)]
    for label, x, y in LABELLED_BUTTONS:
        body.append(labelled_button(label, x, y, lit and label in LIT_BUTTONS))
    return ('<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
            'width="512" height="384">' + defs() + "".join(body) + "</svg>")
