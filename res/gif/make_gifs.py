#!/usr/bin/env python3
"""Makes the animations of the resource tree (gif/...).

- loading.gif: a spinner of eight dots for waiting pages (48 x 48, transparent ground).
- robot_nomal1.gif ... robot_nomal8.gif: the screen-saver robot in eight idle moods.
- robot_singleEye.gif: the one-eyed robot.
- robot_clock0.gif ... robot_clock24.gif: the robot holding the coming full hour.

The robot is pixel art on a 40 x 30 grid drawn four times larger (160 x 120) on black, the
screen saver's ground. Frames are written as GIF89a with LZW compression; after the first frame
only the rectangle that changed is stored. Python standard library only.
"""

import argparse
import os
import sys

# Palette shared by the robot animations (index: RGB).
BG, OUTLINE, BODY, SHADE, SCREEN, EYE, EYE_DIM, RED, AMBER, WHITE, GREEN, PINK, GREY = range(13)
ROBOT_PALETTE = [
    (0x00, 0x00, 0x00), (0x2A, 0x30, 0x3B), (0xC9, 0xD1, 0xDC), (0x9A, 0xA4, 0xB2),
    (0x0E, 0x16, 0x24), (0x4F, 0xC3, 0xF7), (0x1F, 0x6E, 0x94), (0xE5, 0x48, 0x4D),
    (0xF5, 0xA5, 0x24), (0xF2, 0xF4, 0xF7), (0x22, 0xB5, 0x73), (0xFF, 0x6B, 0x9A),
    (0x5A, 0x62, 0x70),
]
GRID_W, GRID_H, SCALE = 40, 30, 4


# --- GIF writer -------------------------------------------------------------------------------

def lzw(indices, min_size):
    """GIF LZW: variable-width codes, packed least significant bit first."""
    clear = 1 << min_size
    eoi = clear + 1
    out = bytearray()
    acc = 0
    nbits = 0

    def emit(code, width):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    width = min_size + 1
    table = {}
    next_code = eoi + 1
    emit(clear, width)
    it = iter(indices)
    try:
        prefix = next(it)
    except StopIteration:
        emit(eoi, width)
        if nbits:
            out.append(acc & 0xFF)
        return bytes(out)
    for c in it:
        key = (prefix << 8) | c
        code = table.get(key)
        if code is not None:
            prefix = code
            continue
        emit(prefix, width)
        if next_code < 4096:
            table[key] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table.clear()
            next_code = eoi + 1
            width = min_size + 1
        prefix = c
    emit(prefix, width)
    # The decoder adds one more entry on reading the last code and may widen before the end code.
    if next_code < 4096 and next_code >= (1 << width) and width < 12:
        width += 1
    emit(eoi, width)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def write_gif(path, width, height, palette, frames, transparent=None):
    """frames: list of (pixels bytes of width*height palette indices, delay in 1/100 s)."""
    bits = max(1, (len(palette) - 1).bit_length())
    table = list(palette) + [(0, 0, 0)] * ((1 << bits) - len(palette))
    out = bytearray(b"GIF89a")
    out += width.to_bytes(2, "little") + height.to_bytes(2, "little")
    out += bytes([0x80 | 0x70 | (bits - 1), 0, 0])
    for r, g, b in table:
        out += bytes([r, g, b])
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"
    prev = None
    for pixels, delay in frames:
        if prev is None:
            x0, y0, x1, y1 = 0, 0, width, height
        else:
            x0, y0, x1, y1 = changed_rect(prev, pixels, width, height)
        sub = b"".join(pixels[y * width + x0:y * width + x1] for y in range(y0, y1))
        flags = 0x04 | (1 if transparent is not None else 0)
        out += bytes([0x21, 0xF9, 4, flags]) + delay.to_bytes(2, "little")
        out += bytes([transparent or 0, 0])
        out += b"\x2C" + x0.to_bytes(2, "little") + y0.to_bytes(2, "little")
        out += (x1 - x0).to_bytes(2, "little") + (y1 - y0).to_bytes(2, "little") + b"\x00"
        min_size = max(2, bits)
        data = lzw(sub, min_size)
        out.append(min_size)
        for i in range(0, len(data), 255):
            chunk = data[i:i + 255]
            out.append(len(chunk))
            out += chunk
        out.append(0)
        prev = pixels
    out.append(0x3B)
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(out)
    os.replace(tmp, path)


def changed_rect(a, b, width, height):
    """Bounding rectangle of the pixels that differ (at least one pixel, so a frame is never
    empty)."""
    rows = [y for y in range(height) if a[y * width:(y + 1) * width] != b[y * width:(y + 1) * width]]
    if not rows:
        return 0, 0, 1, 1
    x0, x1 = width, 0
    for y in rows:
        ra, rb = a[y * width:(y + 1) * width], b[y * width:(y + 1) * width]
        left = next(i for i in range(width) if ra[i] != rb[i])
        right = next(i for i in range(width - 1, -1, -1) if ra[i] != rb[i])
        x0, x1 = min(x0, left), max(x1, right + 1)
    return x0, rows[0], x1, rows[-1] + 1


# --- Pixel-art canvas -------------------------------------------------------------------------

class Grid:
    def __init__(self):
        self.cells = bytearray(GRID_W * GRID_H)

    def rect(self, x0, y0, x1, y1, c):
        """Fills cells x0 <= x < x1, y0 <= y < y1."""
        x0, x1 = max(0, x0), min(GRID_W, x1)
        for y in range(max(0, y0), min(GRID_H, y1)):
            if x1 > x0:
                self.cells[y * GRID_W + x0:y * GRID_W + x1] = bytes([c]) * (x1 - x0)

    def dot(self, x, y, c):
        if 0 <= x < GRID_W and 0 <= y < GRID_H:
            self.cells[y * GRID_W + x] = c

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r), int(cy + r) + 2):
            for x in range(int(cx - r), int(cx + r) + 2):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.dot(x, y, c)

    def glyph(self, x, y, rows, c):
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch == "#":
                    self.dot(x + dx, y + dy, c)

    def scaled(self):
        out = bytearray()
        for y in range(GRID_H):
            row = bytes(b for b in self.cells[y * GRID_W:(y + 1) * GRID_W] for _ in range(SCALE))
            out += row * SCALE
        return bytes(out)


DIGITS = {
    "0": ["###", "#.#", "#.#", "#.#", "###"], "1": [".#.", "##.", ".#.", ".#.", "###"],
    "2": ["###", "..#", "###", "#..", "###"], "3": ["###", "..#", "###", "..#", "###"],
    "4": ["#.#", "#.#", "###", "..#", "..#"], "5": ["###", "#..", "###", "..#", "###"],
    "6": ["###", "#..", "###", "#.#", "###"], "7": ["###", "..#", ".#.", ".#.", ".#."],
    "8": ["###", "#.#", "###", "#.#", "###"], "9": ["###", "#.#", "###", "..#", "###"],
    ":": [".", "#", ".", "#", "."], "Z": ["###", "..#", ".#.", "#..", "###"],
}
HEART = [".#.#.", "#####", "#####", ".###.", "..#.."]
HAPPY = [".##.", "#..#"]


def head(g, top=6, antenna=RED, left=8, right=32, bottom=24):
    """Draws the head; returns the face screen rectangle (x0, y0, x1, y1)."""
    mid = (left + right) // 2
    g.rect(mid - 1, top - 4, mid + 1, top, SHADE)
    g.disc(mid, top - 4, 1.6, antenna)
    g.rect(left - 3, top + 6, left, bottom - 6, SHADE)
    g.rect(right, top + 6, right + 3, bottom - 6, SHADE)
    g.rect(left + 1, top, right - 1, bottom, OUTLINE)
    g.rect(left, top + 1, right, bottom - 1, OUTLINE)
    g.rect(left + 1, top + 1, right - 1, bottom - 1, BODY)
    g.rect(left + 1, bottom - 3, right - 1, bottom - 1, SHADE)
    face = (left + 3, top + 3, right - 3, bottom - 5)
    g.rect(*face, SCREEN)
    return face


def body(g, top=25):
    g.rect(13, top, 27, GRID_H, OUTLINE)
    g.rect(14, top + 1, 26, GRID_H, BODY)
    g.rect(18, top + 2, 22, top + 4, EYE_DIM)


def eyes(g, face, dx=0, open_h=5, color=EYE, which=(True, True)):
    x0, y0, x1, y1 = face
    cy = y0 + 1
    for i, (ex, show) in enumerate(((x0 + 4, which[0]), (x1 - 8, which[1]))):
        if not show:
            g.rect(ex + dx, cy + 2, ex + dx + 4, cy + 3, color)
            continue
        h = max(1, open_h)
        top = cy + (5 - h) // 2
        g.rect(ex + dx, top, ex + dx + 4, top + h, color)


def mouth(g, face, smile=False, color=EYE_DIM):
    x0, _, x1, y1 = face
    mid = (x0 + x1) // 2
    if smile:
        g.rect(mid - 3, y1 - 2, mid + 3, y1 - 1, color)
        g.dot(mid - 4, y1 - 3, color)
        g.dot(mid + 3, y1 - 3, color)
    else:
        g.rect(mid - 2, y1 - 2, mid + 2, y1 - 1, color)


def robot_frames(mood):
    """Frames (grid, delay) of one idle mood."""
    frames = []

    def frame(delay, dy=0, antenna=RED, **kw):
        g = Grid()
        body(g, 25)
        face = head(g, top=6 + dy, antenna=antenna)
        kw.get("draw", lambda g, f: (eyes(g, f), mouth(g, f)))(g, face)
        frames.append((g, delay))

    if mood == 1:  # blink
        frame(180)
        for h in (3, 1, 3):
            frame(6, draw=lambda g, f, h=h: (eyes(g, f, open_h=h), mouth(g, f)))
        frame(120)
    elif mood == 2:  # look left and right
        for dx in (0, -1, -2, -2, -1, 0, 1, 2, 2, 1):
            frame(14, draw=lambda g, f, dx=dx: (eyes(g, f, dx=dx), mouth(g, f)))
    elif mood == 3:  # antenna signal
        for i, c in enumerate((RED, AMBER, GREEN, AMBER)):
            def draw(g, f, i=i):
                eyes(g, f)
                mouth(g, f)
                for k in range(i % 3):
                    g.rect(23 + 2 * k, 1 - k, 24 + 2 * k, 2 + k, EYE_DIM)
                    g.rect(16 - 2 * k, 1 - k, 17 - 2 * k, 2 + k, EYE_DIM)
            frame(25, antenna=c, draw=draw)
    elif mood == 4:  # happy bounce
        def happy(g, f):
            x0, y0, x1, y1 = f
            g.glyph(x0 + 4, y0 + 3, HAPPY, EYE)
            g.glyph(x1 - 8, y0 + 3, HAPPY, EYE)
            mouth(g, f, smile=True, color=EYE)
        for dy in (0, -1, -1, 0):
            frame(16, dy=dy, draw=happy)
    elif mood == 5:  # sleepy
        for i in range(6):
            def draw(g, f, i=i):
                eyes(g, f, open_h=1, color=EYE_DIM)
                mouth(g, f)
                g.glyph(33, 6 - i, DIGITS["Z"], WHITE if i < 4 else GREY)
                if i >= 2:
                    g.glyph(36, 9 - i, DIGITS["Z"], GREY)
            frame(35, draw=draw)
    elif mood == 6:  # love
        for big in (True, False, True, False):
            def draw(g, f, big=big):
                x0, y0, x1, y1 = f
                cy = y0 + 1
                g.glyph(x0 + 3, cy, HEART, PINK if big else RED)
                g.glyph(x1 - 8, cy, HEART, PINK if big else RED)
                mouth(g, f, smile=True, color=PINK)
            frame(22, draw=draw)
    elif mood == 7:  # wink
        frame(150)
        frame(40, draw=lambda g, f: (eyes(g, f, which=(True, False)), mouth(g, f, smile=True)))
        frame(60)
    elif mood == 8:  # scan line over the face
        for step in range(8):
            def draw(g, f, step=step):
                eyes(g, f)
                mouth(g, f)
                x0, y0, x1, y1 = f
                y = y0 + step * (y1 - y0) // 8
                g.rect(x0, y, x1, y + 1, GREEN)
            frame(10, draw=draw)
    return frames


def single_eye_frames():
    frames = []
    for dx, dy, lid in ((0, 0, 0), (-3, 0, 0), (-3, 1, 0), (0, 0, 0), (3, 0, 0), (3, -1, 0),
                        (0, 0, 0), (0, 0, 3), (0, 0, 6), (0, 0, 3), (0, 0, 0)):
        g = Grid()
        body(g, 25)
        x0, y0, x1, y1 = head(g, antenna=EYE)
        cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
        g.disc(cx, cy, 5.2, WHITE)
        g.disc(cx + dx, cy + dy, 2.6, EYE)
        g.disc(cx + dx, cy + dy, 1.2, SCREEN)
        if lid:
            g.rect(int(cx - 6), int(cy - 6), int(cx + 6), int(cy - 6) + lid, SCREEN)
            g.rect(int(cx - 6), int(cy + 6) - lid + 1, int(cx + 6), int(cy + 7), SCREEN)
        frames.append((g, 6 if lid else 30))
    return frames


def clock_frames(hour):
    text = f"{hour:02d}:00"
    frames = []
    for i in range(6):
        g = Grid()
        face = head(g, top=4, left=12, right=28, bottom=17, antenna=AMBER if i % 2 else RED)
        x0, y0, x1, y1 = face
        lid = y0 + 2 if i == 3 else y1 - 1
        g.rect(x0 + 2, y0 + 1, x0 + 4, lid, EYE)
        g.rect(x1 - 4, y0 + 1, x1 - 2, lid, EYE)
        g.rect(4, 18, 36, 30, OUTLINE)
        g.rect(5, 19, 35, 29, SCREEN)
        g.rect(2, 21, 5, 24, SHADE)
        g.rect(35, 21, 38, 24, SHADE)
        color = AMBER if i % 2 == 0 else WHITE
        width = sum(len(DIGITS[ch][0]) + 1 for ch in text) - 1
        x = 20 - width // 2
        for ch in text:
            if ch != ":" or i % 2 == 0:
                g.glyph(x, 21, DIGITS[ch], color)
            x += len(DIGITS[ch][0]) + 1
        frames.append((g, 50))
    return frames


# --- Spinner ----------------------------------------------------------------------------------

def loading_gif(path):
    size, n_dots, radius, dot_r = 48, 8, 16.0, 3.6
    ground = (0x1B, 0x1F, 0x27)
    head_rgb, tail_rgb = (0x3B, 0x82, 0xF6), (0x4A, 0x50, 0x5C)
    levels, cover_steps = 8, 5
    palette = [ground]
    for lv in range(levels):
        t = lv / (levels - 1)
        dot_rgb = tuple(round(tail_rgb[k] + (head_rgb[k] - tail_rgb[k]) * t) for k in range(3))
        for cs in range(1, cover_steps):
            a = cs / (cover_steps - 1)
            palette.append(tuple(round(ground[k] + (dot_rgb[k] - ground[k]) * a) for k in range(3)))
    import math
    centres = [(size / 2 + radius * math.sin(2 * math.pi * i / n_dots),
                size / 2 - radius * math.cos(2 * math.pi * i / n_dots)) for i in range(n_dots)]
    # Coverage of each dot, 4 x 4 samples a pixel, computed once.
    cover = []
    for cx, cy in centres:
        cells = {}
        for y in range(int(cy - dot_r) - 1, int(cy + dot_r) + 2):
            for x in range(int(cx - dot_r) - 1, int(cx + dot_r) + 2):
                hits = sum(1 for sy in range(4) for sx in range(4)
                           if (x + (sx + .5) / 4 - cx) ** 2 + (y + (sy + .5) / 4 - cy) ** 2
                           <= dot_r * dot_r)
                if hits:
                    cells[(x, y)] = hits / 16
        cover.append(cells)
    frames = []
    for f in range(n_dots):
        pixels = bytearray(size * size)
        for i in range(n_dots):
            age = (f - i) % n_dots
            lv = levels - 1 - age
            lv = max(lv, 0)
            for (x, y), a in cover[i].items():
                cs = max(1, round(a * (cover_steps - 1)))
                pixels[y * size + x] = 1 + lv * (cover_steps - 1) + (cs - 1)
        frames.append((bytes(pixels), 9))
    write_gif(path, size, size, palette, frames, transparent=0)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", required=True, help="animation root to fill (gif/)")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    w, h = GRID_W * SCALE, GRID_H * SCALE

    def save(name, frames):
        write_gif(os.path.join(args.out, name), w, h, ROBOT_PALETTE,
                  [(g.scaled(), delay) for g, delay in frames])

    loading_gif(os.path.join(args.out, "loading.gif"))
    for mood in range(1, 9):
        save(f"robot_nomal{mood}.gif", robot_frames(mood))
    save("robot_singleEye.gif", single_eye_frames())
    for hour in range(25):
        save(f"robot_clock{hour}.gif", clock_frames(hour))
    print(f"make_gifs: {1 + 8 + 1 + 25} animations -> {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
