#!/usr/bin/env python3
"""Draws the demo skin's pictures and puts them beside its configuration.

    draw_skin.py SKIN_SOURCE OUTPUT

Copies SKIN_SOURCE (demo/skin: config/cg.txt) to OUTPUT and draws into
OUTPUT/config the login background, the link buttons, the game window's
sprite sheet and its logo. Everything is drawn here from shapes, with the
standard library only, so the skin carries no picture that was not made here.

Shapes are signed distance functions: a pixel's coverage is how far its
centre lies inside the shape's edge, which smooths every edge by one pixel.
"""
import math
import os
import shutil
import struct
import sys
import zlib

GREEN_KEY = (0, 255, 0, 255)  # the login companion shows nothing of this colour


# --- pictures -------------------------------------------------------------

class Picture:
    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.width, self.height = width, height
        self.pixels = [list(fill) for _ in range(width * height)]

    def blend(self, x, y, colour, coverage):
        """Lays `colour` (RGBA, 0-255) over pixel (x, y) weighed by coverage 0..1."""
        if coverage <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        p = self.pixels[y * self.width + x]
        a = colour[3] / 255 * min(coverage, 1.0)
        under = p[3] / 255
        out = a + under * (1 - a)
        if out <= 0:
            return
        for i in range(3):
            p[i] = (colour[i] * a + p[i] * under * (1 - a)) / out
        p[3] = out * 255

    def paint(self, shape, colour, box=None):
        """Fills the shape (a distance function, negative inside) with a colour
        or with a function of (x, y) giving a colour."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                coverage = 0.5 - shape(x + 0.5, y + 0.5)
                if coverage > 0:
                    c = colour(x + 0.5, y + 0.5) if callable(colour) else colour
                    self.blend(x, y, c, coverage)

    def fill(self, colour, box=None):
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                c = colour(x + 0.5, y + 0.5) if callable(colour) else colour
                self.pixels[y * self.width + x] = list(c)

    def place(self, other, left, top):
        for y in range(other.height):
            for x in range(other.width):
                self.pixels[(top + y) * self.width + left + x] = list(other.pixels[y * other.width + x])

    def png(self):
        raw = bytearray()
        for y in range(self.height):
            raw.append(0)
            for x in range(self.width):
                raw.extend(max(0, min(255, int(round(v)))) for v in self.pixels[y * self.width + x])

        def chunk(kind, data):
            body = kind + data
            return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack('>IIBBBBB', self.width, self.height, 8, 6, 0, 0, 0)
        return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) +
                chunk(b'IEND', b''))


# --- shapes -----------------------------------------------------------------

def rounded_rect(left, top, right, bottom, radius):
    cx, cy = (left + right) / 2, (top + bottom) / 2
    hx, hy = (right - left) / 2 - radius, (bottom - top) / 2 - radius

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0), max(qy, 0))
        return outside + min(max(qx, qy), 0) - radius
    return d


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def segment(ax, ay, bx, by, width):
    """A stroke from a to b with round ends."""
    def d(x, y):
        px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
        t = max(0.0, min(1.0, (px * vx + py * vy) / (vx * vx + vy * vy)))
        return math.hypot(px - vx * t, py - vy * t) - width / 2
    return d


def outline(shape, width):
    return lambda x, y: abs(shape(x, y)) - width / 2


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def diamond(cx, cy, r):
    return lambda x, y: (abs(x - cx) + abs(y - cy) - r) / math.sqrt(2)


def vertical(top_colour, bottom_colour, top, bottom):
    def colour(x, y):
        t = max(0.0, min(1.0, (y - top) / (bottom - top)))
        return tuple(a + (b - a) * t for a, b in zip(top_colour, bottom_colour))
    return colour


# --- the skin's colours ---------------------------------------------------

NIGHT_TOP, NIGHT_BOTTOM = (36, 52, 104, 255), (14, 22, 48, 255)
GOLD, GOLD_DARK = (240, 200, 90, 255), (176, 132, 40, 255)
WHITE = (255, 255, 255, 255)
BAR_TOP, BAR_BOTTOM = (52, 70, 128, 255), (27, 37, 71, 255)
EDGE = (27, 37, 71, 255)
EDGE_LIGHT = (70, 92, 160, 255)


def emblem(picture, cx, cy, r):
    """The game's mark: a gold ring around a diamond."""
    picture.paint(outline(circle(cx, cy, r * 0.82), r * 0.22), GOLD)
    picture.paint(diamond(cx, cy, r * 0.5), vertical(GOLD, GOLD_DARK, cy - r, cy + r))


# --- login window ---------------------------------------------------------

LOGIN_W, LOGIN_H = 480, 360


def stars(picture, box, count, seed):
    x0, y0, x1, y1 = box
    state = seed
    for _ in range(count):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        x = x0 + state % (x1 - x0)
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        y = y0 + state % (y1 - y0)
        picture.blend(x, y, (255, 255, 230, 255), 0.35 + (state % 60) / 100)


def ridge(base, amplitude, phase):
    return lambda x: base - amplitude * (0.55 * math.sin(x / 37 + phase) + 0.3 * math.sin(x / 13 + 2 * phase) +
                                         0.15 * math.sin(x / 5 + phase))


def mountains(picture, panel, line, colour):
    """Fills below a ridge line, inside the panel."""
    def shape(x, y):
        return max(line(x) - y, panel(x, y))
    picture.paint(shape, colour)


def login_background():
    p = Picture(LOGIN_W, LOGIN_H)
    panel = rounded_rect(8, 8, LOGIN_W - 8, LOGIN_H - 8, 18)
    # A soft shadow: alpha falling off outside the panel's edge.
    for y in range(LOGIN_H):
        for x in range(LOGIN_W):
            d = panel(x + 0.5, y + 2.5)
            if 0 < d < 8:
                p.blend(x, y, (0, 0, 0, 255), 0.45 * (1 - d / 8) ** 2)
    p.paint(panel, vertical(NIGHT_TOP, NIGHT_BOTTOM, 8, LOGIN_H - 8))
    stars(p, (20, 14, LOGIN_W - 20, 200), 90, 7)
    mountains(p, panel, ridge(322, 26, 0.4), (28, 40, 82, 255))
    mountains(p, panel, ridge(342, 14, 2.1), (18, 27, 58, 255))
    p.paint(outline(panel, 1.5), (120, 140, 210, 200))
    # The header: the mark and a gold rule under it.
    emblem(p, 36, 34, 16)
    p.paint(segment(60, 34, 300, 34, 2), lambda x, y: (240, 200, 90, 200 * max(0.0, 1 - (x - 60) / 240)))
    return p


def glyph_button(width, height, glyph, pressed):
    """A round-cornered button whose corners are the companion's green, so they are see-through."""
    b = Picture(width, height)
    top, bottom = ((40, 56, 110, 255), (22, 32, 66, 255)) if pressed else ((78, 102, 176, 255), (44, 60, 118, 255))
    face = rounded_rect(0.5, 0.5, width - 0.5, height - 0.5, min(width, height) / 4)
    b.paint(face, vertical(top, bottom, 0, height))
    b.paint(outline(face, 1), GOLD if not pressed else GOLD_DARK)
    shift = 1 if pressed else 0
    b.paint(glyph(width / 2 + shift, height / 2 + shift, min(width, height)), WHITE)
    return snapped_to_key(b)


def snapped_to_key(picture):
    """The companion shows every pixel that is not exactly the key green, and
    shows it opaque: a smoothed edge would show a fringe, so each pixel
    becomes either the face or the key."""
    for i, p in enumerate(picture.pixels):
        picture.pixels[i] = [p[0], p[1], p[2], 255] if p[3] >= 128 else list(GREEN_KEY)
    return picture


def glyph_minimise(cx, cy, s):
    return segment(cx - s * 0.22, cy + s * 0.12, cx + s * 0.22, cy + s * 0.12, s * 0.09)


def glyph_close(cx, cy, s):
    r = s * 0.2
    return union(segment(cx - r, cy - r, cx + r, cy + r, s * 0.09), segment(cx - r, cy + r, cx + r, cy - r, s * 0.09))


def glyph_home(cx, cy, s):
    r, w = s * 0.26, s * 0.07
    roof = union(segment(cx - r * 1.2, cy - r * 0.05, cx, cy - r * 1.15, w), segment(cx, cy - r * 1.15, cx + r * 1.2, cy - r * 0.05, w))
    body = outline(rounded_rect(cx - r * 0.8, cy - r * 0.2, cx + r * 0.8, cy + r * 0.95, 1), w)
    return union(roof, body)


def glyph_news(cx, cy, s):
    r, w = s * 0.24, s * 0.06
    page = outline(rounded_rect(cx - r * 0.8, cy - r, cx + r * 0.8, cy + r, 2), w)
    lines = [segment(cx - r * 0.45, cy + dy * r, cx + r * 0.45, cy + dy * r, w) for dy in (-0.45, 0, 0.45)]
    return union(page, *lines)


# --- game window ------------------------------------------------------------

BAR_H = 34
BUTTON_W, BUTTON_H, INTERVAL = 28, 22, 2
WIDE_W = 56


def frame_piece(width, height, kind):
    p = Picture(width, height)
    if kind == 'bar':
        p.fill(vertical(BAR_TOP, BAR_BOTTOM, 0, height))
        p.fill(GOLD_DARK, (0, height - 2, width, height - 1))
        p.fill((12, 18, 36, 255), (0, height - 1, width, height))
        p.fill(EDGE_LIGHT, (0, 0, width, 1))
    elif kind == 'left-corner' or kind == 'right-corner':
        p.fill(vertical(BAR_TOP, BAR_BOTTOM, 0, height))
        p.fill(GOLD_DARK, (0, height - 2, width, height - 1))
        p.fill((12, 18, 36, 255), (0, height - 1, width, height))
        p.fill(EDGE_LIGHT, (0, 0, width, 1))
        edge_x = 0 if kind == 'left-corner' else width - 1
        p.fill(EDGE_LIGHT, (edge_x, 0, edge_x + 1, height))
    else:  # the sides and the bottom: dark with a light outer line
        p.fill(EDGE)
        if kind == 'left':
            p.fill(EDGE_LIGHT, (0, 0, 1, height))
        elif kind == 'right':
            p.fill(EDGE_LIGHT, (width - 1, 0, width, height))
        elif kind.startswith('bottom'):
            p.fill(EDGE_LIGHT, (0, height - 1, width, height))
            if kind == 'bottom-left':
                p.fill(EDGE_LIGHT, (0, 0, 1, height))
            if kind == 'bottom-right':
                p.fill(EDGE_LIGHT, (width - 1, 0, width, height))
    return p


def bar_button(width, glyph, state):
    """One frame of a title-bar button, on the title bar's own colours so
    that the button sits on it without a seam."""
    b = Picture(width, BUTTON_H)
    b.fill(vertical(BAR_TOP, BAR_BOTTOM, -6, BAR_H - 6))
    face = rounded_rect(0.5, 0.5, width - 0.5, BUTTON_H - 0.5, 4)
    tint = {'normal': (255, 255, 255, 20), 'pressed': (0, 0, 0, 90), 'hover': (255, 255, 255, 60)}[state]
    b.paint(face, tint)
    if state != 'normal':
        b.paint(outline(face, 1), GOLD)
    if glyph is not None:
        shift = 1 if state == 'pressed' else 0
        b.paint(glyph(width / 2 + shift, BUTTON_H / 2 + shift, BUTTON_H), WHITE)
    return b


def glyph_maximise(cx, cy, s):
    r = s * 0.22
    return outline(rounded_rect(cx - r, cy - r * 0.85, cx + r, cy + r * 0.85, 1), s * 0.08)


def glyph_restore(cx, cy, s):
    r = s * 0.17
    back = outline(rounded_rect(cx - r * 0.4, cy - r * 1.3, cx + r * 1.4, cy + r * 0.5, 1), s * 0.07)
    front = outline(rounded_rect(cx - r * 1.4, cy - r * 0.5, cx + r * 0.4, cy + r * 1.3, 1), s * 0.07)
    return union(back, front)


def glyph_tray(cx, cy, s):
    r, w = s * 0.2, s * 0.08
    return union(segment(cx - r, cy - r * 0.4, cx, cy + r * 0.6, w), segment(cx, cy + r * 0.6, cx + r, cy - r * 0.4, w))


def glyph_settings(cx, cy, s):
    r, w = s * 0.22, s * 0.08
    return union(*[segment(cx - r, cy + dy * r, cx + r, cy + dy * r, w) for dy in (-0.7, 0, 0.7)])


# Where each sprite lies in config/style.png, as [gamePicN] records say.
FRAME_PIECES = [  # (x, y, width, height, kind): gamePic1..8 = edgeImage1..8
    (0, 0, 12, BAR_H, 'left-corner'), (14, 0, 4, BAR_H, 'bar'), (20, 0, 10, BAR_H, 'right-corner'),
    (32, 0, 5, 4, 'left'), (39, 0, 5, 4, 'right'), (46, 0, 5, 5, 'bottom-left'),
    (53, 0, 4, 5, 'bottom'), (59, 0, 5, 5, 'bottom-right'),
]
BUTTONS = [  # gamePic9.. : one column of three frames each
    (glyph_close, BUTTON_W), (glyph_maximise, BUTTON_W), (glyph_restore, BUTTON_W), (glyph_minimise, BUTTON_W),
    (glyph_tray, BUTTON_W), (glyph_settings, BUTTON_W), (None, WIDE_W),
]
BUTTON_ROW = 40


def sprite_sheet():
    column_x = [0]
    for _, width in BUTTONS:
        column_x.append(column_x[-1] + width + 2)
    sheet = Picture(max(80, column_x[-1]), BUTTON_ROW + 3 * BUTTON_H + 2 * INTERVAL)
    for x, y, width, height, kind in FRAME_PIECES:
        sheet.place(frame_piece(width, height, kind), x, y)
    for (glyph, width), x in zip(BUTTONS, column_x):
        for i, state in enumerate(('normal', 'pressed', 'hover')):
            sheet.place(bar_button(width, glyph, state), x, BUTTON_ROW + i * (BUTTON_H + INTERVAL))
    return sheet


LOGO_Y = 4  # [global] logy


def logo():
    """The mark on the title bar's own colours: the logo control shows no
    transparency, so the picture carries the bar behind it."""
    p = Picture(26, 26)
    p.fill(vertical(BAR_TOP, BAR_BOTTOM, -LOGO_Y, BAR_H - LOGO_Y))
    emblem(p, 13, 13, 12)
    return p


def main(source, output):
    if os.path.abspath(source) != os.path.abspath(output):
        shutil.copytree(source, output, dirs_exist_ok=True)
    config = os.path.join(output, 'config')
    os.makedirs(config, exist_ok=True)
    pictures = {
        'main1.png': login_background(),
        '2_n.png': glyph_button(36, 36, glyph_home, False), '2_d.png': glyph_button(36, 36, glyph_home, True),
        '3_n.png': glyph_button(36, 36, glyph_news, False), '3_d.png': glyph_button(36, 36, glyph_news, True),
        '4_n.png': glyph_button(26, 22, glyph_minimise, False), '4_d.png': glyph_button(26, 22, glyph_minimise, True),
        '5_n.png': glyph_button(26, 22, glyph_close, False), '5_d.png': glyph_button(26, 22, glyph_close, True),
        'style.png': sprite_sheet(),
        'logo.png': logo(),
    }
    for name, picture in pictures.items():
        with open(os.path.join(config, name), 'wb') as f:
            f.write(picture.png())


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
