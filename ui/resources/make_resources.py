#!/usr/bin/python3
"""Draw the program's artwork: app.ico and help.jpg, written beside this script.

Run it from the repository root with

    python3 ui/resources/make_resources.py

It needs only the Python 3 standard library, plus ImageMagick's `convert`
(Debian package imagemagick) to encode the JPEG. The results are committed, so
the build never runs this script; run it again only to change the artwork.

app.ico holds nine images: 16, 32 and 48 pixels square, each as a 16-colour
(standard Windows palette), a 256-colour and a 32-bit BGRA (real alpha) DIB,
every one with a 1-bit AND mask. The motif is a clock face inside a teal-blue
ring made of two chasing arrows: time, kept in step.

help.jpg is a 128x128 baseline colour JPEG: a white "?" on a blue disc, for
the help picture button.
"""

import math
import os
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ICON_PATH = os.path.join(HERE, "app.ico")
HELP_PATH = os.path.join(HERE, "help.jpg")

ICON_SIZES = (16, 32, 48)
ICON_DEPTHS = (4, 8, 32)
SUPERSAMPLE = 8  # samples per pixel along each axis
HELP_SIZE = 128

CLEAR = (0, 0, 0, 0)
RING_TOP = (0x2A, 0xB2, 0xC8)
RING_BOTTOM = (0x15, 0x64, 0xC0)
FACE_TOP = (0xFF, 0xFF, 0xFF)
FACE_BOTTOM = (0xE4, 0xEC, 0xF4)
HAND = (0x1B, 0x2A, 0x41)
TICK = (0x9A, 0xA8, 0xBA)
HELP_BACK_TOP = (0xF7, 0xFA, 0xFC)
HELP_BACK_BOTTOM = (0xE2, 0xEB, 0xF3)
HELP_DISC_TOP = (0x2E, 0xA6, 0xD9)
HELP_DISC_BOTTOM = (0x14, 0x5C, 0xB8)
SHADOW = (0x6A, 0x7F, 0x96)
WHITE = (0xFF, 0xFF, 0xFF)

WINDOWS_16 = (
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
)


# ---------------------------------------------------------------- geometry


def mix(a, b, t):
    """The colour t of the way from a to b."""
    t = min(1.0, max(0.0, t))
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def segment_distance(px, py, ax, ay, bx, by):
    """Distance from point p to the segment a-b."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else ((px - ax) * dx + (py - ay) * dy) / length2
    t = min(1.0, max(0.0, t))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def clock_angle(dx, dy):
    """Degrees clockwise from twelve o'clock of the offset (dx, dy), y down."""
    return math.degrees(math.atan2(dx, -dy)) % 360.0


def clock_point(cx, cy, radius, degrees):
    """The point at `radius` from (cx, cy), `degrees` clockwise from twelve."""
    a = math.radians(degrees)
    return cx + radius * math.sin(a), cy - radius * math.cos(a)


def arc_distance(px, py, cx, cy, radius, start, sweep):
    """Distance from p to the arc that runs `sweep` degrees clockwise from `start`."""
    dx, dy = px - cx, py - cy
    if (clock_angle(dx, dy) - start) % 360.0 <= sweep:
        return abs(math.hypot(dx, dy) - radius)
    ends = (clock_point(cx, cy, radius, start), clock_point(cx, cy, radius, start + sweep))
    return min(math.hypot(px - x, py - y) for x, y in ends)


# ---------------------------------------------------------------- the clock


class ClockStyle:
    """Sizes of the clock's parts for one icon size, in pixels of that icon."""

    def __init__(self, size):
        self.size = size
        self.centre = size / 2.0
        self.ring_outer = size * 0.43
        self.ring_inner = size * 0.32
        self.head_half = size * (0.1125 if size <= 16 else 0.125)
        self.head_sweep = 44.0 if size <= 16 else 34.0
        self.gap_sweep = 30.0 if size <= 16 else 18.0
        self.hand_width = {16: 2.0, 32: 2.0, 48: 4.0}[size]  # whole pixels: crisp
        self.minute_length = size * (0.25 if size <= 16 else 0.2)
        self.hour_length = size * (0.20 if size <= 16 else 0.16)
        self.hub_radius = {16: 1.3, 32: 1.7, 48: 3.2}[size]
        self.ticks = {16: 0, 32: 4, 48: 12}[size]


def arrow_part(style, r, angle):
    """Whether polar point (r, angle) lies on one of the two ring arrows."""
    body_sweep = 180.0 - style.head_sweep - style.gap_sweep
    # The gaps between the arrows sit at half past one and half past seven.
    offset = (angle - (45.0 + style.gap_sweep / 2.0)) % 180.0
    if offset <= body_sweep:
        return style.ring_inner <= r <= style.ring_outer
    into_head = offset - body_sweep
    if into_head > style.head_sweep:
        return False
    middle = (style.ring_inner + style.ring_outer) / 2.0
    return abs(r - middle) <= style.head_half * (1.0 - into_head / style.head_sweep)


def on_tick(style, x, y):
    """Whether (x, y) lies on one of the hour marks of the face."""
    if not style.ticks:
        return False
    c = style.centre
    for i in range(style.ticks):
        angle = i * 360.0 / style.ticks
        major = i % (style.ticks // 4) == 0
        outer = style.ring_inner - style.size * 0.035
        inner = outer - style.size * (0.1 if major else 0.055)
        width = 1.0 if major else style.size * 0.016
        # The round caps end the mark at `inner` and `outer`.
        ax, ay = clock_point(c, c, inner + width, angle)
        bx, by = clock_point(c, c, outer - width, angle)
        if segment_distance(x, y, ax, ay, bx, by) <= width:
            return True
    return False


def on_hands(style, x, y):
    """Whether (x, y) lies on the hands (three o'clock) or the hub."""
    c, half = style.centre, style.hand_width / 2.0
    if math.hypot(x - c, y - c) <= style.hub_radius:
        return True
    minute = abs(x - c) <= half and c - style.minute_length <= y <= c + half
    hour = abs(y - c) <= half and c - half <= x <= c + style.hour_length
    return minute or hour


def clock_colour(style, x, y):
    """The RGBA colour of the icon at point (x, y), in pixels."""
    c = style.centre
    r = math.hypot(x - c, y - c)
    shade = y / style.size
    if r <= style.ring_inner:
        if on_hands(style, x, y):
            return HAND + (255,)
        if on_tick(style, x, y):
            return TICK + (255,)
        return mix(FACE_TOP, FACE_BOTTOM, shade) + (255,)
    if arrow_part(style, r, clock_angle(x - c, y - c)):
        return mix(RING_TOP, RING_BOTTOM, shade) + (255,)
    return CLEAR


# ---------------------------------------------------------------- sampling


def pixel_samples(colour_at, px, py, n=SUPERSAMPLE):
    """The colours of an n x n grid of points spread over pixel (px, py)."""
    step = 1.0 / n
    return [
        colour_at(px + (i + 0.5) * step, py + (j + 0.5) * step)
        for j in range(n)
        for i in range(n)
    ]


def average(samples):
    """The straight-alpha RGBA mean of samples, mixed by their alpha."""
    alpha = sum(s[3] for s in samples)
    if alpha == 0:
        return CLEAR
    rgb = tuple(round(sum(s[k] * s[3] for s in samples) / alpha) for k in range(3))
    return rgb + (round(alpha / len(samples)),)


def render(colour_at, size):
    """Rows of per-pixel sample lists for a size x size picture, top row first."""
    return [[pixel_samples(colour_at, x, y) for x in range(size)] for y in range(size)]


# ---------------------------------------------------------------- palettes


def palette_256():
    """A 6x6x6 colour cube plus 40 ramps between the artwork's own colours."""
    levels = (0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF)
    cube = [(r, g, b) for r in levels for g in levels for b in levels]
    face_middle = mix(FACE_TOP, FACE_BOTTOM, 0.5)
    ring_middle = mix(RING_TOP, RING_BOTTOM, 0.5)
    ramps = (
        ramp(RING_TOP, RING_BOTTOM, 12)
        + ramp(FACE_TOP, FACE_BOTTOM, 6)
        + ramp(HAND, face_middle, 7)[:-1]
        + ramp(TICK, face_middle, 5)[:-1]
        + ramp(ring_middle, face_middle, 6)[1:-1]
        + ramp((0x40, 0x40, 0x40), (0xE0, 0xE0, 0xE0), 8)
    )
    return cube + ramps  # 216 + 40


def ramp(a, b, count):
    """count colours evenly spaced from a to b, both ends included."""
    return [mix(a, b, i / (count - 1)) for i in range(count)]


class Nearest:
    """Maps colours to the index of the nearest palette entry, with a cache."""

    def __init__(self, palette):
        self.palette = palette
        self.cache = {}

    def __call__(self, rgb):
        if rgb not in self.cache:
            self.cache[rgb] = min(
                range(len(self.palette)), key=lambda i: self.distance(rgb, self.palette[i])
            )
        return self.cache[rgb]

    @staticmethod
    def distance(a, b):
        dr, dg, db = a[0] - b[0], a[1] - b[1], a[2] - b[2]
        return 2 * dr * dr + 4 * dg * dg + 3 * db * db


def indexed_by_average(pixels, nearest):
    """Palette index per pixel (None = transparent) from each pixel's mean colour."""
    rows = []
    for row in pixels:
        out = []
        for samples in row:
            rgba = average(samples)
            out.append(nearest(rgba[:3]) if rgba[3] >= 128 else None)
        rows.append(out)
    return rows


def indexed_by_majority(pixels, nearest):
    """Palette index per pixel (None = transparent): the most common among its samples."""
    rows = []
    for row in pixels:
        out = []
        for samples in row:
            votes = {}
            for s in samples:
                key = nearest(s[:3]) if s[3] >= 128 else None
                votes[key] = votes.get(key, 0) + 1
            out.append(max(votes, key=votes.get))
        rows.append(out)
    return rows


# ---------------------------------------------------------------- ICO writing


def padded(row_bytes):
    """Row bytes padded with zeros to a multiple of four."""
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def and_mask(transparent_rows):
    """The 1-bit AND mask (1 = transparent), bottom-up, rows padded to 4 bytes."""
    out = bytearray()
    for row in reversed(transparent_rows):
        bits = bytearray((len(row) + 7) // 8)
        for x, clear in enumerate(row):
            if clear:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += padded(bytes(bits))
    return bytes(out)


def pack_indices(row, depth):
    """One row of palette indices packed at 4 or 8 bits per pixel."""
    if depth == 8:
        return bytes(row)
    out = bytearray()
    for x in range(0, len(row), 2):
        high, low = row[x], row[x + 1] if x + 1 < len(row) else 0
        out.append((high << 4) | low)
    return bytes(out)


def info_header(size, depth, image_bytes, colours):
    """A BITMAPINFOHEADER for an icon image: the height counts XOR and AND halves."""
    return struct.pack(
        "<IiiHHIIiiII", 40, size, 2 * size, 1, depth, 0, image_bytes, 0, 0, colours, 0
    )


def palette_bytes(palette):
    """The palette as RGBQUADs (blue, green, red, zero)."""
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)


def indexed_dib(indices, palette, depth):
    """A palette DIB (header, palette, XOR bits, AND mask) from index rows."""
    size = len(indices)
    opaque = [[0 if i is None else i for i in row] for row in indices]
    xor = b"".join(padded(pack_indices(row, depth)) for row in reversed(opaque))
    mask = and_mask([[i is None for i in row] for row in indices])
    head = info_header(size, depth, len(xor) + len(mask), len(palette))
    return head + palette_bytes(palette) + xor + mask


def bgra_dib(pixels):
    """A 32-bit DIB with straight alpha, from per-pixel sample lists."""
    size = len(pixels)
    colours = [[average(samples) for samples in row] for row in pixels]
    xor = b"".join(
        b"".join(struct.pack("<BBBB", b, g, r, a) for r, g, b, a in row)
        for row in reversed(colours)
    )
    mask = and_mask([[c[3] < 128 for c in row] for row in colours])
    return info_header(size, 32, len(xor) + len(mask), 0) + xor + mask


def icon_images():
    """(size, depth, DIB bytes) for each of the nine icon images."""
    images = []
    nearest16, nearest256 = Nearest(list(WINDOWS_16)), Nearest(palette_256())
    for size in ICON_SIZES:
        style = ClockStyle(size)
        pixels = render(lambda x, y: clock_colour(style, x, y), size)
        four = indexed_by_majority(pixels, nearest16)
        eight = indexed_by_average(pixels, nearest256)
        images.append((size, 4, indexed_dib(four, WINDOWS_16, 4)))
        images.append((size, 8, indexed_dib(eight, nearest256.palette, 8)))
        images.append((size, 32, bgra_dib(pixels)))
    return images


def ico_file(images):
    """An ICO file: ICONDIR, one ICONDIRENTRY per image, then the DIBs."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, depth, dib in images:
        colour_count = 16 if depth == 4 else 0
        out += struct.pack(
            "<BBBBHHII", size, size, colour_count, 0, 1, depth, len(dib), offset
        )
        offset += len(dib)
    return out + b"".join(dib for _, _, dib in images)


# ---------------------------------------------------------------- help picture


def question_mark(x, y):
    """Whether (x, y) lies on the "?" glyph of the 128x128 help picture."""
    stroke = 7.5
    if arc_distance(x, y, 64.0, 50.0, 15.5, 265.0, 245.0) <= stroke:
        return True
    hook_x, hook_y = clock_point(64.0, 50.0, 15.5, 150.0)
    if segment_distance(x, y, hook_x, hook_y, 64.0, 69.0) <= stroke:
        return True
    if segment_distance(x, y, 64.0, 69.0, 64.0, 74.0) <= stroke:
        return True
    return math.hypot(x - 64.0, y - 95.0) <= 8.5


def help_colour(x, y):
    """The opaque RGB colour of the help picture at point (x, y)."""
    r = math.hypot(x - 64.0, y - 64.0)
    if r <= 52.0:
        if question_mark(x, y):
            return WHITE + (255,)
        disc = mix(HELP_DISC_TOP, HELP_DISC_BOTTOM, (y - 12.0) / 104.0)
        rim = min(1.0, max(0.0, r - 48.5) / 3.5)
        return mix(disc, HELP_DISC_BOTTOM, rim * 0.6) + (255,)
    back = mix(HELP_BACK_TOP, HELP_BACK_BOTTOM, y / HELP_SIZE)
    shadow_r = math.hypot(x - 64.0, y - 67.0) - 52.0
    shadow = max(0.0, 1.0 - shadow_r / 6.0) ** 2 * 0.35
    return mix(back, SHADOW, shadow) + (255,)


def help_ppm():
    """The help picture as a binary PPM."""
    out = bytearray(b"P6\n%d %d\n255\n" % (HELP_SIZE, HELP_SIZE))
    for y in range(HELP_SIZE):
        for x in range(HELP_SIZE):
            out += bytes(average(pixel_samples(help_colour, x, y, 4))[:3])
    return bytes(out)


def write_help_jpeg():
    """Encode the help picture with ImageMagick: baseline, colour, no metadata."""
    command = [
        "convert", "ppm:-", "-strip", "-type", "TrueColor", "-colorspace", "sRGB",
        "-interlace", "none", "-quality", "90", "jpeg:" + HELP_PATH,
    ]
    subprocess.run(command, input=help_ppm(), check=True)


# ---------------------------------------------------------------- checks


def require(condition, message):
    """Stop the script with `message` unless `condition` holds."""
    if not condition:
        sys.exit("make_resources.py: " + message)


def check_icon(path):
    """Parse the ICO back and fail unless it holds the nine expected images."""
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    require((reserved, kind, count) == (0, 1, 9), "bad ICONDIR")
    found = []
    for n in range(count):
        w, h, colours, _, planes, bits, length, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * n
        )
        head = struct.unpack_from("<IiiHH", data, offset)
        require(w == h and planes == 1, "bad ICONDIRENTRY %d" % n)
        require(colours == (16 if bits == 4 else 0), "bad colour count %d" % n)
        require(head == (40, w, 2 * h, 1, bits), "bad BITMAPINFOHEADER %d" % n)
        require(length == image_length(w, bits), "bad image length %d" % n)
        require(offset + length <= len(data), "image %d runs past the end" % n)
        found.append((w, bits))
    expected = [(s, d) for s in ICON_SIZES for d in ICON_DEPTHS]
    require(found == expected, "unexpected images %s" % found)
    return found


def image_length(size, depth):
    """Bytes of one icon DIB: header, palette, XOR bits and AND mask."""
    palette = 4 * (1 << depth) if depth <= 8 else 0
    xor_row = (size * depth + 31) // 32 * 4
    and_row = (size + 31) // 32 * 4
    return 40 + palette + size * (xor_row + and_row)


def check_jpeg(path):
    """Fail unless the JPEG is JFIF, baseline (SOF0), 128x128 and three-component."""
    with open(path, "rb") as f:
        data = f.read()
    require(data[:2] == b"\xff\xd8", "not a JPEG")
    require(data[6:11] == b"JFIF\0", "no JFIF header: the colours may not be YCbCr")
    at = 2
    while at < len(data):
        marker, length = data[at + 1], struct.unpack_from(">H", data, at + 2)[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            _, height, width, components = struct.unpack_from(">BHHB", data, at + 4)
            require(marker == 0xC0, "not baseline: SOF%X" % (marker - 0xC0))
            require((width, height, components) == (HELP_SIZE, HELP_SIZE, 3), "wrong shape")
            return width, height, components
        at += 2 + length
    return sys.exit("make_resources.py: no SOF marker")


def main():
    with open(ICON_PATH, "wb") as f:
        f.write(ico_file(icon_images()))
    write_help_jpeg()
    images = check_icon(ICON_PATH)
    width, height, components = check_jpeg(HELP_PATH)
    print("%s: %d images %s" % (ICON_PATH, len(images), images))
    print("%s: baseline %dx%d, %d components" % (HELP_PATH, width, height, components))
    return 0


if __name__ == "__main__":
    sys.exit(main())
