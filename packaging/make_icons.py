#!/usr/bin/env python3
"""Draws the Orvanta icon, a speed gauge, and writes every file the packages need.

Writes, next to this script:
  orvanta.ico       three classic images for Windows (32x32 2 colours, 32x32 16 colours,
                    16x16 16 colours), each a bitmap with its AND mask, no PNG inside, so that
                    every Windows shell can read them;
  orvanta-<N>.png   anti-aliased renderings for Linux and for the window icon;
  orvanta.svg       the same drawing for scalable icon themes;
  nsis/wizard.bmp   the side picture of the setup's first and last pages, 164x314, and
  nsis/header.bmp   the picture at the top of its other pages, 150x57: uncompressed 24-bit
                    bitmaps, the kind that the setup's pages show on every Windows.

Only the standard library is used, and the output is byte-for-byte reproducible, so the
generated files are committed and the build needs no image tools. Run it again after changing
the drawing.
"""

import math
import struct
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent
PNG_SIZES = (16, 32, 48, 64, 128, 256)

# The classic 16-colour palette, in its customary order, so the icons look the same on any
# display depth.
VGA = (
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
)
BLACK, NAVY, GREEN, RED, YELLOW, WHITE = 0, 4, 2, 9, 11, 15

# Geometry, in a unit square with y pointing down; angles in degrees, counter-clockwise from
# the right, as on a dial.
CENTRE = (0.5, 0.5)
RIM_RADIUS = 0.48
FACE_RADIUS = 0.39
BAND = (0.26, 0.36)
SCALE = (210.0, -30.0)
ZONES = ((210.0, 130.0), (130.0, 50.0), (50.0, -30.0))
NEEDLE_ANGLE = 65.0
NEEDLE_LENGTH = 0.36
NEEDLE_HALF_WIDTH = 0.09
HUB_RADIUS = 0.095


class Colour:
    """One paint: its true colour for PNG and SVG, and its index for each ICO palette."""

    def __init__(self, rgb, vga, mono):
        self.rgb = rgb
        self.vga = vga
        self.mono = mono

    def hex(self):
        return "#%02x%02x%02x" % self.rgb


RIM = Colour((0x1c, 0x3f, 0x8c), NAVY, 0)
FACE = Colour((0xff, 0xff, 0xff), WHITE, 1)
ZONE_COLOURS = (
    Colour((0x2e, 0xa0, 0x43), GREEN, 0),
    Colour((0xf5, 0xc2, 0x11), YELLOW, 0),
    Colour((0xe0, 0x1b, 0x24), RED, 0),
)
NEEDLE = Colour((0x24, 0x1f, 0x31), BLACK, 0)
HUB = RIM
INK = Colour((0, 0, 0), BLACK, 0)


def polar(angle, radius):
    a = math.radians(angle)
    return (CENTRE[0] + radius * math.cos(a), CENTRE[1] - radius * math.sin(a))


def disc(radius):
    return lambda x, y: math.hypot(x - CENTRE[0], y - CENTRE[1]) <= radius


def sector(inner, outer, start, end):
    """An annular sector swept clockwise from start to end (start > end)."""

    def inside(x, y):
        dx, dy = x - CENTRE[0], CENTRE[1] - y
        if not inner <= math.hypot(dx, dy) <= outer:
            return False
        angle = math.degrees(math.atan2(dy, dx))
        if angle < -90.0:
            angle += 360.0
        return end <= angle <= start

    return inside


def triangle(a, b, c):
    def side(p, q, x, y):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])

    def inside(x, y):
        s = (side(a, b, x, y), side(b, c, x, y), side(c, a, x, y))
        return all(v >= 0 for v in s) or all(v <= 0 for v in s)

    return inside


def needle_points():
    back = NEEDLE_ANGLE + 180.0
    return (
        polar(NEEDLE_ANGLE, NEEDLE_LENGTH),
        polar(back + 90.0, NEEDLE_HALF_WIDTH),
        polar(back - 90.0, NEEDLE_HALF_WIDTH),
    )


def colour_layers():
    layers = [(disc(RIM_RADIUS), RIM), (disc(FACE_RADIUS), FACE)]
    layers += [(sector(*BAND, *zone), paint) for zone, paint in zip(ZONES, ZONE_COLOURS)]
    layers += [(triangle(*needle_points()), NEEDLE), (disc(HUB_RADIUS), HUB)]
    return layers


def mono_layers():
    """The dial in black on white for the 2-colour image: the scale becomes one solid arc."""
    layers = [(disc(RIM_RADIUS), INK), (disc(FACE_RADIUS), FACE), (sector(*BAND, *SCALE), INK)]
    layers += [(triangle(*needle_points()), INK), (disc(HUB_RADIUS), INK)]
    return layers


def paint_at(layers, x, y):
    paint = None
    for inside, colour in layers:
        if inside(x, y):
            paint = colour
    return paint


def samples(size, px, py, grid):
    for j in range(grid):
        for i in range(grid):
            yield (px + (i + 0.5) / grid) / size, (py + (j + 0.5) / grid) / size


def render_rgba(size, grid=4):
    """Rows of (r, g, b, a), anti-aliased by averaging a grid of samples per pixel."""
    layers = colour_layers()
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0, 0, 0, 0]
            for x, y in samples(size, px, py, grid):
                paint = paint_at(layers, x, y)
                if paint is not None:
                    for k in range(3):
                        total[k] += paint.rgb[k]
                    total[3] += 1
            covered = total[3]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                rgb = tuple(round(total[k] / covered) for k in range(3))
                row.append(rgb + (round(255 * covered / (grid * grid)),))
        rows.append(row)
    return rows


def render_indexed(size, layers, palette_of, grid=4):
    """Rows of palette indices, None where transparent: each pixel takes its most common paint."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            votes = {}
            for x, y in samples(size, px, py, grid):
                paint = paint_at(layers, x, y)
                key = None if paint is None else palette_of(paint)
                votes[key] = votes.get(key, 0) + 1
            row.append(max(votes, key=lambda k: (votes[k], k is not None)))
        rows.append(row)
    return rows


def png_bytes(rows):
    size = len(rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def pack_bits(values, depth):
    """One bitmap row, most significant bits first, padded to a 32-bit boundary."""
    per_byte = 8 // depth
    out = bytearray()
    for start in range(0, len(values), per_byte):
        byte = 0
        for offset, value in enumerate(values[start:start + per_byte]):
            byte |= value << (8 - depth * (offset + 1))
        out.append(byte)
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def ico_image(rows, palette, depth):
    """A BITMAPINFOHEADER, the palette, the colour bitmap and the AND mask, rows bottom-up."""
    size = len(rows)
    colour = b"".join(pack_bits([0 if i is None else i for i in row], depth)
                      for row in reversed(rows))
    mask = b"".join(pack_bits([1 if i is None else 0 for i in row], 1) for row in reversed(rows))
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, depth, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    quads = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + quads + colour + mask


def ico_bytes(images):
    """images: (size, colour count, bit depth, image bytes), in directory order."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries, data = b"", b""
    for size, colours, depth, image in images:
        entries += struct.pack("<BBBBHHII", size, size, colours, 0, 1, depth, len(image), offset)
        data += image
        offset += len(image)
    return directory + entries + data


def bmp_bytes(rows):
    """Rows of (r, g, b) as a bitmap file: rows bottom-up, each padded to a 32-bit boundary."""
    height, width = len(rows), len(rows[0])
    pad = b"\0" * (-3 * width % 4)
    pixels = b"".join(bytes(v for r, g, b in row for v in (b, g, r)) + pad
                      for row in reversed(rows))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def blend(rows, left, top, layer, paint=None):
    """Lays anti-aliased rows of (r, g, b, a) over opaque rows, in paint's colour if given."""
    for dy, layer_row in enumerate(layer):
        row = rows[top + dy]
        for dx, (r, g, b, a) in enumerate(layer_row):
            over = (r, g, b) if paint is None else paint.rgb
            row[left + dx] = tuple(round((o * a + u * (255 - a)) / 255)
                                   for o, u in zip(over, row[left + dx]))


def wizard_rows():
    """The rim's blue, darkening downwards, and the dial in a thin white ring, which keeps the
    rim apart from a background of its own colour."""
    width, height, size, ring = 164, 314, 112, 4
    bottom = (0x0e, 0x22, 0x4f)
    rows = [[tuple(round(t + (b - t) * y / (height - 1)) for t, b in zip(RIM.rgb, bottom))] * width
            for y in range(height)]
    left, top = (width - size) // 2, 48
    blend(rows, left - ring, top - ring, render_rgba(size + 2 * ring), FACE)
    blend(rows, left, top, render_rgba(size))
    return rows


def header_rows():
    """The dial on the white of the page's top, at its right, where the text leaves room."""
    width, height, size = 150, 57, 48
    rows = [[FACE.rgb] * width for _ in range(height)]
    blend(rows, width - size - 6, (height - size) // 2, render_rgba(size))
    return rows


def svg_text():
    def fmt(v):
        return ("%.3f" % (v * 64)).rstrip("0").rstrip(".")

    def point(p):
        return "%s %s" % (fmt(p[0]), fmt(p[1]))

    def sector_path(start, end):
        inner, outer = BAND
        large = 1 if start - end > 180 else 0
        return ("M %s A %s %s 0 %d 1 %s L %s A %s %s 0 %d 0 %s Z"
                % (point(polar(start, outer)), fmt(outer), fmt(outer), large,
                   point(polar(end, outer)), point(polar(end, inner)), fmt(inner), fmt(inner),
                   large, point(polar(start, inner))))

    cx, cy = fmt(CENTRE[0]), fmt(CENTRE[1])
    lines = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64"'
        ' stroke="none">',
        '  <title>Orvanta</title>',
        '  <circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (cx, cy, fmt(RIM_RADIUS), RIM.hex()),
        '  <circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (cx, cy, fmt(FACE_RADIUS), FACE.hex()),
    ]
    for zone, paint in zip(ZONES, ZONE_COLOURS):
        lines.append('  <path d="%s" fill="%s"/>' % (sector_path(*zone), paint.hex()))
    lines.append('  <path d="M %s L %s L %s Z" fill="%s"/>'
                 % (*(point(p) for p in needle_points()), NEEDLE.hex()))
    lines.append('  <circle cx="%s" cy="%s" r="%s" fill="%s"/>'
                 % (cx, cy, fmt(HUB_RADIUS), HUB.hex()))
    lines.append("</svg>")
    return "\n".join(lines) + "\n"


def main():
    for size in PNG_SIZES:
        (HERE / ("orvanta-%d.png" % size)).write_bytes(png_bytes(render_rgba(size)))

    mono = render_indexed(32, mono_layers(), lambda paint: paint.mono)
    colour32 = render_indexed(32, colour_layers(), lambda paint: paint.vga)
    colour16 = render_indexed(16, colour_layers(), lambda paint: paint.vga)
    black_and_white = ((0, 0, 0), (255, 255, 255))
    (HERE / "orvanta.ico").write_bytes(ico_bytes([
        (32, 2, 1, ico_image(mono, black_and_white, 1)),
        (32, 16, 4, ico_image(colour32, VGA, 4)),
        (16, 16, 4, ico_image(colour16, VGA, 4)),
    ]))

    (HERE / "orvanta.svg").write_text(svg_text(), encoding="utf-8")

    (HERE / "nsis" / "wizard.bmp").write_bytes(bmp_bytes(wizard_rows()))
    (HERE / "nsis" / "header.bmp").write_bytes(bmp_bytes(header_rows()))


if __name__ == "__main__":
    main()
