#!/usr/bin/env python3
"""Draw the setup wizard's artwork: header/watermark bitmaps, icons and the
hand cursor.  Pure standard library; the output is byte-for-byte the same on
every run, so the generated files can live next to the resource script.

    usage: make-art.py [output-folder]      (default: <repo>/src/res/art)
"""
import math
import os
import struct
import sys
from array import array

# ---------------------------------------------------------------------------
# Shapes.  A shape is a pair (bbox, hit): bbox = (x0, y0, x1, y1) in logical
# units, hit(x, y) -> bool tells whether a point lies inside.
# ---------------------------------------------------------------------------


def circle(cx, cy, r):
    r2 = r * r
    return (cx - r, cy - r, cx + r, cy + r), \
        lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r2


def ellipse(cx, cy, rx, ry):
    return (cx - rx, cy - ry, cx + rx, cy + ry), \
        lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def rrect(x0, y0, x1, y1, r):
    """Rectangle with corners rounded by radius r."""
    def hit(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        dx = max(x0 + r - x, x - (x1 - r), 0.0)
        dy = max(y0 + r - y, y - (y1 - r), 0.0)
        return dx * dx + dy * dy <= r * r
    return (x0, y0, x1, y1), hit


def capsule(x0, y0, x1, y1, w):
    """A straight stroke of width w with round ends."""
    h2 = (w / 2) ** 2
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy or 1e-12

    def hit(x, y):
        t = ((x - x0) * dx + (y - y0) * dy) / ll
        t = 0.0 if t < 0 else 1.0 if t > 1 else t
        ex, ey = x - x0 - t * dx, y - y0 - t * dy
        return ex * ex + ey * ey <= h2
    h = w / 2
    return (min(x0, x1) - h, min(y0, y1) - h,
            max(x0, x1) + h, max(y0, y1) + h), hit


def arc(cx, cy, r, w, a0, a1, round_ends=True):
    """A circular stroke of width w from angle a0 to a1 in degrees.

    Angles grow clockwise on screen (y points down): 0 = east, 90 = south,
    270 = north.  a1 must be greater than a0.
    """
    h = w / 2
    span = a1 - a0
    end_pts = [(cx + r * math.cos(math.radians(a)),
                cy + r * math.sin(math.radians(a))) for a in (a0, a1)]

    def hit(x, y):
        dx, dy = x - cx, y - cy
        if (math.degrees(math.atan2(dy, dx)) - a0) % 360.0 <= span:
            return abs(math.hypot(dx, dy) - r) <= h
        if not round_ends:
            return False
        return any((x - ex) ** 2 + (y - ey) ** 2 <= h * h
                   for ex, ey in end_pts)
    e = r + h
    return (cx - e, cy - e, cx + e, cy + e), hit


def polygon(pts):
    """Filled polygon, even-odd rule."""
    edges = list(zip(pts, pts[1:] + pts[:1]))

    def hit(x, y):
        inside = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y):
                if x < ax + (y - ay) * (bx - ax) / (by - ay):
                    inside = not inside
        return inside
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    return (min(xs), min(ys), max(xs), max(ys)), hit


def union(*shapes):
    hits = [s[1] for s in shapes]
    box = (min(s[0][0] for s in shapes), min(s[0][1] for s in shapes),
           max(s[0][2] for s in shapes), max(s[0][3] for s in shapes))
    return box, lambda x, y: any(h(x, y) for h in hits)


def rounded_polygon(pts, r):
    """Polygon grown outwards by r, which rounds off its corners."""
    edges = [capsule(ax, ay, bx, by, 2 * r)
             for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1])]
    return union(polygon(pts), *edges)


# ---------------------------------------------------------------------------
# Paints: a plain (r, g, b) tuple, or a function (x, y) -> (r, g, b, a).
# ---------------------------------------------------------------------------

def mix(c0, c1, t):
    t = 0.0 if t < 0 else 1.0 if t > 1 else t
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def hexc(s):
    return tuple(int(s[i:i + 2], 16) for i in (1, 3, 5))


def vgrad(y0, c0, y1, c1):
    """Vertical linear gradient between two colours."""
    return lambda x, y: mix(c0, c1, (y - y0) / (y1 - y0)) + (1.0,)


def rgrad(cx, cy, r, c0, c1):
    """Radial gradient from c0 at the centre to c1 at radius r."""
    return lambda x, y: mix(c0, c1, math.hypot(x - cx, y - cy) / r) + (1.0,)


def glow(cx, cy, rx, ry, c, peak):
    """Colour c fading from alpha 'peak' at the centre to 0 at the rim of
    the ellipse with radii rx, ry."""
    def paint(x, y):
        t = 1.0 - math.hypot((x - cx) / rx, (y - cy) / ry)
        return c + (peak * t * t if t > 0 else 0.0,)
    return paint


# ---------------------------------------------------------------------------
# Canvas: premultiplied RGBA samples, ss x ss per output pixel, so every
# shape edge comes out anti-aliased when the samples are averaged.
# ---------------------------------------------------------------------------

class Canvas:
    def __init__(self, w, h, ss=4):
        self.w, self.h, self.ss = w, h, ss
        self.sw, self.sh = w * ss, h * ss
        n = self.sw * self.sh
        self.ch = [array('d', bytes(8 * n)) for _ in range(4)]
        self.xf = (0.0, 0.0, 1.0)   # logical -> pixel: offset x, y, scale

    def place(self, ox=0.0, oy=0.0, scale=1.0):
        """Scale the following shapes by 'scale', then move by (ox, oy)."""
        self.xf = (ox, oy, scale)

    def _rows_cols(self, box):
        ox, oy, s = self.xf
        k = self.ss
        i0 = max(0, int(math.floor((ox + box[0] * s) * k)))
        i1 = min(self.sw, int(math.ceil((ox + box[2] * s) * k)) + 1)
        j0 = max(0, int(math.floor((oy + box[1] * s) * k)))
        j1 = min(self.sh, int(math.ceil((oy + box[3] * s) * k)) + 1)
        return range(j0, j1), range(i0, i1)

    def fill(self, shape, paint, alpha=1.0, erase=False):
        """Composite 'paint' over every sample inside 'shape'.

        With erase=True the shape punches a hole instead (alpha is removed).
        """
        box, hit = shape
        ox, oy, s = self.xf
        step = 1.0 / (self.ss * s)
        cr, cg, cb, ca = self.ch
        const = None if callable(paint) else tuple(v / 255 for v in paint)
        rows, cols = self._rows_cols(box)
        for j in rows:
            y = ((j + 0.5) / self.ss - oy) / s
            base = j * self.sw
            for i in cols:
                x = (i + 0.5) * step - ox / s
                if not hit(x, y):
                    continue
                if const is not None:
                    (r, g, b), a = const, alpha
                else:
                    r, g, b, a = paint(x, y)
                    r, g, b, a = r / 255, g / 255, b / 255, a * alpha
                k = base + i
                keep = 1.0 - a
                if erase:
                    r = g = b = a = 0.0
                cr[k] = r * a + cr[k] * keep
                cg[k] = g * a + cg[k] * keep
                cb[k] = b * a + cb[k] * keep
                ca[k] = a + ca[k] * keep

    def pixels(self):
        """Average the samples: top-down rows of straight 0..255 RGBA."""
        k, n = self.ss, self.ss * self.ss
        out = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                acc = [0.0] * 4
                for j in range(y * k, y * k + k):
                    base = j * self.sw + x * k
                    for c in range(4):
                        acc[c] += sum(self.ch[c][base:base + k])
                a = acc[3] / n
                if a <= 1e-6:
                    row.append((0, 0, 0, 0))
                    continue
                rgb = [min(255, round(v / n / a * 255)) for v in acc[:3]]
                row.append(tuple(rgb) + (min(255, round(a * 255)),))
            out.append(row)
        return out


def flatten(pix, bg):
    """Composite straight RGBA pixels over an opaque background colour."""
    def over(p):
        a = p[3] / 255
        return tuple(round(c * a + b * (1 - a)) for c, b in zip(p[:3], bg))
    return [[over(p) for p in row] for row in pix]


# ---------------------------------------------------------------------------
# 8-bit palette for the header bitmap (median cut, deterministic).
# ---------------------------------------------------------------------------

def _box_spread(box):
    return max(max(c[i] for c in box) - min(c[i] for c in box)
               for i in range(3))


def _split(box):
    ranges = [max(c[i] for c in box) - min(c[i] for c in box)
              for i in range(3)]
    ch = ranges.index(max(ranges))
    box = sorted(box, key=lambda c: (c[ch], c))
    return box[:len(box) // 2], box[len(box) // 2:]


def make_palette(counts, size):
    """Reduce the colours in 'counts' {rgb: n} to at most 'size' entries.

    Pure white is kept exactly, as the bitmap sits on a white header band.
    """
    white = (255, 255, 255)
    rest = sorted(c for c in counts if c != white)
    fixed = [white] if white in counts else []
    if len(rest) + len(fixed) <= size:
        return fixed + rest
    boxes = [rest]
    while len(boxes) < size - len(fixed):
        big = [b for b in boxes if len(b) > 1]
        if not big:
            break
        box = max(big, key=_box_spread)
        boxes.remove(box)
        boxes.extend(_split(box))
    pal = []
    for box in boxes:
        n = sum(counts[c] for c in box)
        pal.append(tuple(round(sum(c[i] * counts[c] for c in box) / n)
                         for i in range(3)))
    return fixed + pal


def nearest(pal, c):
    return min(range(len(pal)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(pal[i], c)))


# ---------------------------------------------------------------------------
# File writers.  Everything is little-endian, rows stored bottom-up.
# ---------------------------------------------------------------------------

def info_header(w, h, bpp, image_size, colours=0):
    """BITMAPINFOHEADER, uncompressed (BI_RGB)."""
    return struct.pack('<IiiHHIIiiII', 40, w, h, 1, bpp, 0, image_size,
                       2835, 2835, colours, colours)


def stride(w, bpp):
    return (w * bpp + 31) // 32 * 4


def file_header(size, offset):
    return struct.pack('<2sIHHI', b'BM', size, 0, 0, offset)


def write_bmp8(path, rgb):
    h, w = len(rgb), len(rgb[0])
    counts = {}
    for row in rgb:
        for c in row:
            counts[c] = counts.get(c, 0) + 1
    pal = make_palette(counts, 256)
    index = {c: nearest(pal, c) for c in sorted(counts)}
    pad = b'\0' * (stride(w, 8) - w)
    bits = b''.join(bytes(index[c] for c in row) + pad for row in rgb[::-1])
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in pal)
    off = 14 + 40 + len(table)
    with open(path, 'wb') as f:
        f.write(file_header(off + len(bits), off))
        f.write(info_header(w, h, 8, len(bits), len(pal)) + table + bits)


def write_bmp24(path, rgb):
    h, w = len(rgb), len(rgb[0])
    pad = b'\0' * (stride(w, 24) - w * 3)
    bits = b''.join(b''.join(bytes((b, g, r)) for r, g, b in row) + pad
                    for row in rgb[::-1])
    with open(path, 'wb') as f:
        f.write(file_header(54 + len(bits), 54))
        f.write(info_header(w, h, 24, len(bits)) + bits)


def mask_bits(rows):
    """1-bpp AND mask from rows of booleans (True = transparent)."""
    out = b''
    for row in rows[::-1]:
        line = bytearray(stride(len(row), 1))
        for x, t in enumerate(row):
            if t:
                line[x // 8] |= 0x80 >> (x % 8)
        out += bytes(line)
    return out


def write_icon_file(path, kind, w, h, image, colours, f1, f2):
    """One-image .ico (kind 1, f1/f2 = planes/bpp) or .cur (kind 2,
    f1/f2 = hotspot x/y)."""
    entry = struct.pack('<BBBBHHII', w % 256, h % 256, colours, 0, f1, f2,
                        len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, kind, 1) + entry + image)


def write_ico(path, pix):
    """32-bpp BGRA icon with alpha, plus an AND mask for old code paths."""
    h, w = len(pix), len(pix[0])
    xor = b''.join(bytes((b, g, r, a)) for row in pix[::-1]
                   for r, g, b, a in row)
    andm = mask_bits([[p[3] < 128 for p in row] for row in pix])
    image = info_header(w, 2 * h, 32, len(xor) + len(andm)) + xor + andm
    write_icon_file(path, 1, w, h, image, 0, 1, 32)


def write_cur(path, cells, hot):
    """Monochrome cursor; cells: ' ' see-through, '#' black, '.' white."""
    h, w = len(cells), len(cells[0])
    xor = mask_bits([[c == '.' for c in row] for row in cells])
    andm = mask_bits([[c == ' ' for c in row] for row in cells])
    table = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = info_header(w, 2 * h, 1, len(xor) + len(andm), 2)
    image += table + xor + andm
    write_icon_file(path, 2, w, h, image, 2, hot[0], hot[1])


# ---------------------------------------------------------------------------
# The artwork.  Icons are drawn in a 32 x 32 logical frame.
# ---------------------------------------------------------------------------

BODY_TOP, BODY_BOTTOM = hexc('#4A6488'), hexc('#1B2A44')
TEAL, TEAL_DARK = hexc('#22C3B5'), hexc('#0E8C8C')
WAVE = hexc('#1E7BE0')
LED = hexc('#63E68A')
WHITE, BLACK = (255, 255, 255), (0, 0, 0)


def draw_plug(cv):
    """The USB plug on the left end of the adapter."""
    cv.fill(rrect(0.8, 20.2, 5, 26.8, 0.8), vgrad(20, hexc('#E4E9EF'), 27,
                                                   hexc('#8E99A6')))
    for y in (21.9, 24.1):
        cv.fill(rrect(1.8, y, 3.4, y + 1.0, 0.2), hexc('#3D4652'))


def draw_adapter(cv, ant_x=22.0, waves=2):
    """The adapter: a slim USB stick with one antenna and radio waves."""
    tip = 8.5
    cv.fill(rrect(5.5, 19.5, 30.5, 29.5, 3.5), BLACK, 0.22)      # shadow
    draw_plug(cv)
    cv.fill(capsule(ant_x, 18.5, ant_x, tip, 2.6),
            vgrad(tip, hexc('#5D7598'), 18, BODY_BOTTOM))
    cv.fill(circle(ant_x, tip, 2.1), rgrad(ant_x - 0.7, tip - 0.7, 2.6,
                                           hexc('#7FE9DE'), TEAL_DARK))
    cv.fill(rrect(4.5, 17.5, 30, 28, 3),
            vgrad(17.5, BODY_TOP, 28, BODY_BOTTOM))
    cv.fill(rrect(5.5, 18.3, 29, 19.6, 0.7), WHITE, 0.28)         # bevel
    cv.fill(rrect(8, 22.3, 19.5, 24.7, 1.2), TEAL)                # stripe
    cv.fill(circle(24.5, 23.5, 1.5), LED)
    cv.fill(circle(24.1, 23.1, 0.55), WHITE, 0.8)
    for n in range(waves):
        r = 4.3 + 3.4 * n
        a = 1.0 - 0.25 * n
        cv.fill(arc(ant_x, tip, r, 1.9, -42, 42), WAVE, a)
        cv.fill(arc(ant_x, tip, r, 1.9, 138, 222), WAVE, a)


def icon_setup():
    cv = Canvas(32, 32)
    draw_adapter(cv)
    return cv.pixels()


def arrow_head(x, y, ux, uy, length, half):
    """Triangle whose base is centred on (x, y), pointing along (ux, uy)."""
    nx, ny = -uy, ux
    return polygon([(x + ux * length, y + uy * length),
                    (x + nx * half, y + ny * half),
                    (x - nx * half, y - ny * half)])


def badge(cv, top, bottom):
    """A disc in the lower right corner, cut free from what lies beneath."""
    cx = cy = 23.5
    cv.fill(circle(cx, cy, 9.0), BLACK, erase=True)
    cv.fill(circle(cx, cy, 7.6), vgrad(16, top, 31, bottom))
    cv.fill(arc(cx, cy, 7.0, 1.2, 0, 360), BLACK, 0.18)
    cv.fill(ellipse(cx, cy - 3.6, 5.2, 3.2), WHITE, 0.22)         # gloss
    return cx, cy


def icon_remove():
    cv = Canvas(32, 32)
    draw_adapter(cv, ant_x=13)
    cx, cy = badge(cv, hexc('#FF6B5E'), hexc('#C4231B'))
    cv.fill(rrect(cx - 4.3, cy - 1.25, cx + 4.3, cy + 1.25, 1.0), WHITE)
    return cv.pixels()


def icon_repair():
    cv = Canvas(32, 32)
    draw_adapter(cv, ant_x=13)
    cx, cy = badge(cv, hexc('#62D66E'), hexc('#1E8C3A'))
    r, end = 4.0, math.radians(268)
    cv.fill(arc(cx, cy, r, 2.0, 10, 268, round_ends=False), WHITE)
    ux, uy = -math.sin(end), math.cos(end)       # clockwise tangent
    ex, ey = cx + r * math.cos(end), cy + r * math.sin(end)
    cv.fill(arrow_head(ex - 0.2 * ux, ey - 0.2 * uy, ux, uy, 3.0, 2.9), WHITE)
    return cv.pixels()


BLUE_RIM, BLUE_INK = hexc('#1B5DB5'), hexc('#1A66C9')
PALE_TOP, PALE_BOTTOM = WHITE, hexc('#D3E5FA')


def drop_shadow(cv, shape, dx=0.7, dy=1.0, alpha=0.22):
    box, hit = shape
    cv.fill(((box[0] + dx, box[1] + dy, box[2] + dx, box[3] + dy),
             lambda x, y: hit(x - dx, y - dy)), BLACK, alpha)


def inset_triangle(pts, d):
    """Move the sides of a triangle inwards by d (scales about the
    incentre)."""
    (ax, ay), (bx, by), (cx, cy) = pts
    a = math.hypot(bx - cx, by - cy)
    b = math.hypot(ax - cx, ay - cy)
    c = math.hypot(ax - bx, ay - by)
    p = a + b + c
    ix, iy = (a * ax + b * bx + c * cx) / p, (a * ay + b * by + c * cy) / p
    area = abs((bx - ax) * (cy - ay) - (cx - ax) * (by - ay)) / 2
    k = (2 * area / p - d) / (2 * area / p)
    return [(ix + (x - ix) * k, iy + (y - iy) * k) for x, y in pts]


def icon_info():
    cv = Canvas(32, 32)
    outer = union(rrect(2.5, 3, 29.5, 23.5, 7),
                  rounded_polygon([(8, 20), (15, 20), (5.5, 29)], 0.6))
    inner = union(rrect(3.8, 4.3, 28.2, 22.2, 5.7),
                  polygon([(9.2, 20), (13.2, 20), (7.2, 26.2)]))
    drop_shadow(cv, outer)
    cv.fill(outer, vgrad(3, hexc('#3D86E0'), 29, BLUE_RIM))
    cv.fill(inner, vgrad(4, PALE_TOP, 24, PALE_BOTTOM))
    cv.fill(circle(16, 7.9, 1.9), BLUE_INK)
    cv.fill(rrect(14.5, 11.2, 17.5, 19.6, 0.9), BLUE_INK)
    return cv.pixels()


def icon_warning():
    cv = Canvas(32, 32)
    tri = [(16, 3.6), (29.4, 27), (2.6, 27)]
    outer = rounded_polygon(tri, 1.9)
    drop_shadow(cv, outer)
    cv.fill(outer, vgrad(2, hexc('#D89B00'), 29, hexc('#A86A00')))
    cv.fill(rounded_polygon(inset_triangle(tri, 1.3), 1.2),
            vgrad(4, hexc('#FFE978'), 28, hexc('#F6B200')))
    cv.fill(rounded_polygon([(14.5, 10.4), (17.5, 10.4), (16.7, 19.4),
                             (15.3, 19.4)], 0.5), hexc('#1C1C1C'))
    cv.fill(circle(16, 23.0, 1.7), hexc('#1C1C1C'))
    return cv.pixels()


def glossy_disc(cv, rim, top, bottom):
    cv.fill(circle(16, 16, 13.6), rim)
    cv.fill(circle(16, 16, 12.4), vgrad(3.5, top, 28.5, bottom))
    cv.fill(ellipse(16, 9.6, 8.6, 5.4), WHITE, 0.22)


def icon_stop():
    cv = Canvas(32, 32)
    drop_shadow(cv, circle(16, 16, 13.6))
    glossy_disc(cv, hexc('#A01B14'), hexc('#FF6F61'), hexc('#CF2418'))
    cv.fill(capsule(11.3, 11.3, 20.7, 20.7, 3.3), WHITE)
    cv.fill(capsule(20.7, 11.3, 11.3, 20.7, 3.3), WHITE)
    return cv.pixels()


def icon_question():
    cv = Canvas(32, 32)
    drop_shadow(cv, circle(16, 16, 13.6))
    glossy_disc(cv, BLUE_RIM, PALE_TOP, PALE_BOTTOM)
    cx, cy, r = 16, 11.6, 4.2
    ex, ey = cx + r * math.sqrt(0.5), cy + r * math.sqrt(0.5)    # at 45 deg
    cv.fill(arc(cx, cy, r, 3.1, 180, 405), BLUE_INK)
    cv.fill(capsule(ex, ey, 16, 17.0, 3.1), BLUE_INK)
    cv.fill(capsule(16, 17.0, 16, 18.6, 3.1), BLUE_INK)
    cv.fill(circle(16, 23.3, 1.9), BLUE_INK)
    return cv.pixels()


# ---------------------------------------------------------------------------
# Hand cursor: 1-bpp, white hand with a black outline, index finger up.
# ---------------------------------------------------------------------------

def solid_cells(shape, ox=0.0, w=32, h=32):
    """Pixels at least half covered by the shape (moved right by ox)."""
    cv = Canvas(w, h)
    cv.place(ox, 0.0)
    cv.fill(shape, WHITE)
    return {(x, y) for y, row in enumerate(cv.pixels())
            for x, p in enumerate(row) if p[3] >= 128}


def hand_cells():
    hand = union(capsule(7.0, 3.0, 7.0, 14, 4.0),              # index finger
                 capsule(11.2, 9.0, 11.2, 14, 4.0),
                 capsule(15.2, 10.0, 15.2, 15, 4.0),
                 capsule(19.0, 11.5, 19.0, 16, 3.6),
                 capsule(6.0, 19.0, 2.4, 15.8, 4.4),           # thumb
                 rrect(5.0, 13.0, 21.0, 25.0, 3.5))            # palm
    creases = union(capsule(9.5, 7.0, 9.5, 11.6, 0.9),
                    capsule(13.5, 8.0, 13.5, 12.6, 0.9),
                    capsule(17.5, 9.0, 17.5, 13.6, 0.9))
    inside = solid_cells(hand, 2.0)
    lines = solid_cells(creases, 2.0) & inside
    cells = [[' '] * 32 for _ in range(32)]
    for x, y in inside:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if 0 <= x + dx < 32 and 0 <= y + dy < 32:
                    cells[y + dy][x + dx] = '#'
    for x, y in inside - lines:
        cells[y][x] = '.'
    return [''.join(row) for row in cells]


def hotspot(cells):
    """The top of the outline: the tip of the pointing finger."""
    for y, row in enumerate(cells):
        xs = [x for x, c in enumerate(row) if c != ' ']
        if xs:
            return (xs[0] + xs[-1]) // 2, y
    raise ValueError('empty cursor')


# ---------------------------------------------------------------------------
# Wizard bitmaps.
# ---------------------------------------------------------------------------

def header_art():
    """56 x 56 header picture on the white header band."""
    cv = Canvas(56, 56)
    cv.place(3.0, 2.4, 1.6)
    draw_adapter(cv)
    return flatten(cv.pixels(), WHITE)


def watermark_waves(cv, cx, cy):
    for n in range(9):
        r = 22 + 17 * n
        fade = 1.0 - n / 9.5
        cv.fill(arc(cx, cy, r, 4.2 - 0.2 * n, 218, 322), WHITE, 0.55 * fade)


def watermark_adapter(cv, cx, top):
    """A pale silhouette of the adapter, antenna tip at (cx, top)."""
    y0, y1 = top + 26, top + 56
    face = vgrad(y0, WHITE, y1, hexc('#C9DDF0'))
    cv.fill(ellipse(cx, y1 + 7, 70, 9),
            glow(cx, y1 + 7, 70, 9, hexc('#031530'), 0.7))          # shadow
    cv.fill(rrect(cx - 58, y0 + 7, cx - 42, y1 - 7, 2),
            vgrad(y0, hexc('#E9EEF3'), y1, hexc('#9FAFC0')))      # plug
    for y in (y0 + 11, y0 + 18):
        cv.fill(rrect(cx - 55, y, cx - 48, y + 2.5, 0.8), hexc('#56657A'))
    cv.fill(capsule(cx, y0 + 2, cx, top, 5.5), face)
    cv.fill(circle(cx, top, 5.5), rgrad(cx - 2, top - 2, 7, WHITE, TEAL))
    cv.fill(rrect(cx - 44, y0, cx + 44, y1, 9), face)
    cv.fill(rrect(cx - 30, y0 + 12, cx + 8, y0 + 18, 3), TEAL_DARK)
    cv.fill(circle(cx + 24, y0 + 15, 4), hexc('#2FCF6B'))
    cv.fill(circle(cx + 23, y0 + 14, 1.6), WHITE, 0.8)


def watermark_art():
    """166 x 314 panel at the left of the welcome and finish pages."""
    w, h = 166, 314
    cv = Canvas(w, h, ss=3)
    cx, tip = 83, 196
    cv.fill(rrect(0, 0, w, h, 0), vgrad(0, hexc('#0A1F52'), h,
                                         hexc('#0D8A8F')))
    cv.fill(circle(cx, tip, 120),
            glow(cx, tip, 120, 120, hexc('#4FD1E0'), 0.35))
    watermark_waves(cv, cx, tip)
    watermark_adapter(cv, cx, tip)
    return flatten(cv.pixels(), BLACK)


# ---------------------------------------------------------------------------
# Self-check: read the files back and make sure Windows will take them.
# ---------------------------------------------------------------------------

def need(ok, *what):
    """Like assert, but still checks when Python runs with -O."""
    if not ok:
        raise SystemExit('make-art: check failed: %r' % (what,))


def read_dib(data, at):
    """Width, height, bpp, compression, colours used of a bitmap header."""
    size, w, h, planes, bpp, comp, _, _, _, used, _ = \
        struct.unpack_from('<IiiHHIIiiII', data, at)
    need(size == 40 and planes == 1, 'bad bitmap header')
    return w, h, bpp, comp, used


def read_all(path):
    with open(path, 'rb') as f:
        return f.read()


def check_bmp(path, w, h, bpp):
    data = read_all(path)
    magic, size, _, _, off = struct.unpack_from('<2sIHHI', data)
    need(magic == b'BM' and size == len(data), path)
    got = read_dib(data, 14)
    need(got[:4] == (w, h, bpp, 0), (path, got))
    colours = got[4] or (1 << bpp if bpp <= 8 else 0)
    need(off == 14 + 40 + 4 * colours, path)
    need(len(data) - off == stride(w, bpp) * h, path)
    return data, off


def check_header_corners(path):
    """The corners must be pure white or a frame shows on the header band."""
    data, off = check_bmp(path, 56, 56, 8)
    for x, y in ((0, 0), (55, 0), (0, 55), (55, 55)):
        i = data[off + y * 56 + x]
        need(data[54 + 4 * i:57 + 4 * i] == b'\xff\xff\xff', (path, x, y))


def check_icon(path, kind, w, h, bpp):
    data = read_all(path)
    res, typ, count = struct.unpack_from('<HHH', data)
    need((res, typ, count) == (0, kind, 1), path)
    ew, eh, _, _, f1, f2, size, off = struct.unpack_from('<BBBBHHII', data, 6)
    need((ew, eh) == (w % 256, h % 256) and off + size == len(data), path)
    got = read_dib(data, off)
    need(got[:4] == (w, 2 * h, bpp, 0), (path, got))
    table = 4 * (1 << bpp) if bpp <= 8 else 0
    masks = off + 40 + table + stride(w, bpp) * h
    need(masks + stride(w, 1) * h == len(data), path)

    def and_row(y):
        at = masks + (h - 1 - y) * stride(w, 1)
        return data[at:at + stride(w, 1)]
    need(and_row(0)[0] & 0x80, (path, 'top-left corner is not see-through'))
    need(any(b != 0xff for y in range(h) for b in and_row(y)),
         (path, 'nothing visible'))
    return f1, f2, and_row


def check_cursor(path, cells):
    hx, hy, and_row = check_icon(path, 2, 32, 32, 1)
    need((hx, hy) == hotspot(cells), path)
    need(not and_row(hy)[hx // 8] & (0x80 >> hx % 8),
         (path, 'hotspot is on a see-through pixel'))


# ---------------------------------------------------------------------------

ICONS = [('setup.ico', icon_setup), ('remove.ico', icon_remove),
         ('repair.ico', icon_repair), ('msg_info.ico', icon_info),
         ('msg_warning.ico', icon_warning), ('msg_stop.ico', icon_stop),
         ('msg_question.ico', icon_question)]


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = argv[1] if len(argv) > 1 else os.path.join(root, 'src', 'res', 'art')
    os.makedirs(out, exist_ok=True)

    def path(name):
        return os.path.join(out, name)

    write_bmp8(path('header.bmp'), header_art())
    check_header_corners(path('header.bmp'))
    write_bmp24(path('watermark.bmp'), watermark_art())
    check_bmp(path('watermark.bmp'), 166, 314, 24)
    for name, draw in ICONS:
        write_ico(path(name), draw())
        need(check_icon(path(name), 1, 32, 32, 32)[:2] == (1, 32), name)
    cells = hand_cells()
    write_cur(path('hand.cur'), cells, hotspot(cells))
    check_cursor(path('hand.cur'), cells)

    names = ['header.bmp', 'watermark.bmp', 'hand.cur']
    for name in names + [n for n, _ in ICONS]:
        print('%-18s %6d bytes' % (name, os.path.getsize(path(name))))


if __name__ == '__main__':
    main(sys.argv)
