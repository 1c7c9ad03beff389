#!/usr/bin/env python3
"""Draws the program's icons and writes them as Windows .ico files.

Usage: make_icons.py OUTPUT_DIR

Every shape is a signed distance function, so each size is rendered on its own pixel
grid with exact edge coverage instead of being scaled down from a large bitmap.
Images are 32-bit BGRA with alpha (the AND mask marks the fully transparent pixels);
the 256-pixel image of the application icon is stored as PNG, as Windows expects.
Only the Python standard library is used, and the output is byte-for-byte repeatable.
"""

import math
import os
import struct
import sys
import zlib


# ---------------------------------------------------------------------------
# Signed distances in design units: negative inside, positive outside.

def rounded_box(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def distance(px, py):
        qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return distance


def box(x0, y0, x1, y1):
    return rounded_box(x0, y0, x1, y1, 0.0)


def convex_polygon(points):
    """Points in clockwise order on screen (y grows downwards)."""
    edges = []
    for i, (ax, ay) in enumerate(points):
        bx, by = points[(i + 1) % len(points)]
        length = math.hypot(bx - ax, by - ay)
        # Outward normal of a clockwise edge when y points down.
        edges.append((ax, ay, (by - ay) / length, -(bx - ax) / length))

    def distance(px, py):
        return max((px - ax) * nx + (py - ay) * ny for ax, ay, nx, ny in edges)
    return distance


def ring(cx, cy, radius, half_width):
    def distance(px, py):
        return abs(math.hypot(px - cx, py - cy) - radius) - half_width
    return distance


def segment(ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    length_squared = dx * dx + dy * dy

    def distance(px, py):
        t = ((px - ax) * dx + (py - ay) * dy) / length_squared
        t = min(max(t, 0.0), 1.0)
        return math.hypot(px - ax - t * dx, py - ay - t * dy) - half_width
    return distance


def wave_stroke(x0, x1, centre_y, amplitude, period, half_width):
    """A sine curve drawn as a round-capped stroke from x0 to x1."""
    steps = 96
    points = [(x0 + (x1 - x0) * i / steps,
               centre_y - amplitude * math.sin(2 * math.pi * (x1 - x0) * i / steps / period))
              for i in range(steps + 1)]
    pieces = [segment(ax, ay, bx, by, half_width)
              for (ax, ay), (bx, by) in zip(points, points[1:])]
    step_width = (x1 - x0) / steps

    def distance(px, py):
        # The curve is a function of x, so only pieces near px can be the closest.
        reach = half_width + 4 * step_width
        first = min(max(int((px - reach - x0) / step_width), 0), steps - 1)
        last = max(min(int((px + reach - x0) / step_width) + 1, steps), first + 1)
        return min(piece(px, py) for piece in pieces[first:last])
    return distance


def union(*shapes):
    def distance(px, py):
        return min(shape(px, py) for shape in shapes)
    return distance


def subtract(shape, hole):
    def distance(px, py):
        return max(shape(px, py), -hole(px, py))
    return distance


# ---------------------------------------------------------------------------
# Paint and rendering.

def solid(rgb):
    return lambda px, py: rgb


def vertical_gradient(top_rgb, bottom_rgb, y0, y1):
    def paint(px, py):
        t = min(max((py - y0) / (y1 - y0), 0.0), 1.0)
        return tuple(a + (b - a) * t for a, b in zip(top_rgb, bottom_rgb))
    return paint


def hex_rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def render(size, design_size, layers):
    """Rows of straight (not premultiplied) RGBA tuples, top row first.

    layers: (distance, paint, opacity) drawn in order, each over the ones before."""
    pixel = design_size / size
    rows = []
    for y in range(size):
        row = []
        py = (y + 0.5) * pixel
        for x in range(size):
            px = (x + 0.5) * pixel
            r = g = b = a = 0.0  # premultiplied, 0..1
            for distance, paint, opacity in layers:
                coverage = min(max(0.5 - distance(px, py) / pixel, 0.0), 1.0) * opacity
                if coverage <= 0.0:
                    continue
                cr, cg, cb = paint(px, py)
                r = cr / 255 * coverage + r * (1 - coverage)
                g = cg / 255 * coverage + g * (1 - coverage)
                b = cb / 255 * coverage + b * (1 - coverage)
                a = coverage + a * (1 - coverage)
            alpha = round(a * 255)
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / a * 255), round(g / a * 255), round(b / a * 255), alpha))
        rows.append(row)
    return rows


# ---------------------------------------------------------------------------
# The artwork.

def app_icon_layers(size):
    """A blue tile with a white sine wave; from 32 pixels up, an ON/OFF ring pattern below it."""
    edge = rounded_box(2, 2, 46, 46, 9)
    face = rounded_box(3, 3, 45, 45, 8)
    layers = [
        (edge, solid(hex_rgb("#123A7A")), 1.0),
        (face, vertical_gradient(hex_rgb("#3A8DF0"), hex_rgb("#1A4FA8"), 3, 45), 1.0),
    ]
    if size >= 32:
        layers.append((wave_stroke(9, 39, 20, 8, 30, 2.3), solid(hex_rgb("#FFFFFF")), 1.0))
        pattern = union(rounded_box(9, 34, 19, 39, 1), rounded_box(23, 34, 28, 39, 1),
                        rounded_box(32, 34, 39, 39, 1))
        layers.append((pattern, solid(hex_rgb("#A8DCFF")), 1.0))
    else:
        layers.append((wave_stroke(9, 39, 24, 10, 30, 3.2), solid(hex_rgb("#FFFFFF")), 1.0))
    return layers


# The button glyphs are designed on a 16-unit grid with their straight edges on pixel
# boundaries, so the 16x16 images the buttons use are crisp.
PLAY_GREEN = hex_rgb("#1F9D3A")
STOP_RED = hex_rgb("#D0342C")
PAUSE_BLUE = hex_rgb("#1F6FD0")
ZOOM_GREY = hex_rgb("#3C3C3C")


def magnifier(with_plus):
    lens = ring(7, 7, 4.75, 0.75)
    handle = segment(10.6, 10.6, 14, 14, 1.25)
    across = box(4, 6, 10, 8)
    shapes = [lens, handle, across]
    if with_plus:
        shapes.append(box(6, 4, 8, 10))
    return [(union(*shapes), solid(ZOOM_GREY), 1.0)]


GLYPHS = {
    "play": lambda size: [(convex_polygon([(4, 2.5), (13, 8), (4, 13.5)]), solid(PLAY_GREEN), 1.0)],
    "stop": lambda size: [(rounded_box(3, 3, 13, 13, 1), solid(STOP_RED), 1.0)],
    "pause": lambda size: [(union(rounded_box(3, 3, 6, 13, 0.5), rounded_box(10, 3, 13, 13, 0.5)),
                            solid(PAUSE_BLUE), 1.0)],
    "zoom_in": lambda size: magnifier(True),
    "zoom_out": lambda size: magnifier(False),
}

APP_ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
GLYPH_SIZES = (16, 20, 24, 32)


# ---------------------------------------------------------------------------
# File formats.

def dib_image(rows):
    """BITMAPINFOHEADER, bottom-up BGRA pixels, then the 1-bit AND mask."""
    size = len(rows)
    mask_stride = (size + 31) // 32 * 4
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def png_image(rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    size = len(rows)
    raw = bytearray()
    for row in rows:
        raw.append(0)  # filter: none
        for pixel in row:
            raw += bytes(pixel)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def ico_file(images):
    """images: list of (size, rows), smallest first."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = bytearray()
    blobs = bytearray()
    for size, rows in images:
        data = png_image(rows) if size >= 256 else dib_image(rows)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        blobs += data
        offset += len(data)
    return directory + bytes(entries) + bytes(blobs)


def write_atomically(path, data):
    # A half-written icon must never be left behind for the resource compiler.
    temporary = path + ".tmp"
    with open(temporary, "wb") as stream:
        stream.write(data)
    os.replace(temporary, path)


def main(arguments):
    if len(arguments) != 2:
        sys.stderr.write("usage: make_icons.py OUTPUT_DIR\n")
        return 2
    output_dir = arguments[1]
    try:
        os.makedirs(output_dir, exist_ok=True)
        write_atomically(os.path.join(output_dir, "app.ico"), ico_file(
            [(size, render(size, 48, app_icon_layers(size))) for size in APP_ICON_SIZES]))
        for name, layers in GLYPHS.items():
            write_atomically(os.path.join(output_dir, name + ".ico"), ico_file(
                [(size, render(size, 16, layers(size))) for size in GLYPH_SIZES]))
    except OSError as error:
        sys.stderr.write("make_icons.py: %s\n" % error)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
