#!/usr/bin/env python3
"""Draws the skins of the agent's two skinned windows into data/skins.

Each window has whole-window images of one size, one per look; the program cuts every control's
images out of them at the control's rectangle, so the rectangles below are those of the
program's layouts. Pure Python (BMP and PNG written by hand): python3 make_skins.py OUTPUT_DIR
"""
import struct
import sys
import zlib
from pathlib import Path

# Warning dialog: 364 x 212; close 337,6-353,22; OK 194,174-271,201; Cancel 274,174-351,201;
# title text box 126,0-234,22; message box 117,100-344,130.
RESTORE_SIZE = (364, 212)
CLOSE = (337, 6, 353, 22)
OK = (194, 174, 271, 201)
CANCEL = (274, 174, 351, 201)
# Progress window: 372 x 132; bar 37,85-298,96; title box 9,4 150x21; message box 37,45 322x82.
PROGRESS_SIZE = (372, 132)
BAR = (37, 85, 298, 96)

FRAME = (0x7A, 0x85, 0x94)
BODY_TOP, BODY_BOTTOM = (0xF6, 0xF7, 0xF9), (0xE4, 0xE8, 0xEE)
TITLE_TOP, TITLE_BOTTOM = (0xE8, 0xEC, 0xF2), (0xCF, 0xD6, 0xE0)
TITLE_LINE = (0xA9, 0xB2, 0xBF)
ACCENT = (0xFF, 0x80, 0x00)

# Button looks: (top colour, bottom colour, frame colour) of the gradient face.
BUTTON_LOOKS = {
    "normal": ((0xFD, 0xFD, 0xFE), (0xD8, 0xDD, 0xE5), (0x9A, 0xA3, 0xB0)),
    "over": ((0xFF, 0xFF, 0xFF), (0xC9, 0xDA, 0xF5), (0x3C, 0x78, 0xD8)),
    "down": ((0xB8, 0xC2, 0xD2), (0xE2, 0xE6, 0xEC), (0x4A, 0x54, 0x64)),
}
CLOSE_LOOKS = {  # (face, cross)
    "normal": ((0xC9, 0xCF, 0xD8), (0x58, 0x63, 0x69)),
    "over": ((0xE0, 0x5A, 0x4F), (0xFF, 0xFF, 0xFF)),
    "down": ((0xA8, 0x32, 0x2A), (0xFF, 0xFF, 0xFF)),
}
BAR_GROOVE, BAR_GROOVE_LINE = (0xD3, 0xD8, 0xDF), (0xA9, 0xB2, 0xBF)
BAR_FILL_TOP, BAR_FILL_BOTTOM = (0x6F, 0xAE, 0xF5), (0x1F, 0x5C, 0xB8)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


class Canvas:
    def __init__(self, size, color=(0, 0, 0)):
        self.w, self.h = size
        self.px = [[color] * self.w for _ in range(self.h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, l, t, r, b, c):
        for y in range(max(t, 0), min(b, self.h)):
            for x in range(max(l, 0), min(r, self.w)):
                self.px[y][x] = c

    def gradient(self, l, t, r, b, top, bottom):
        for y in range(t, b):
            self.fill(l, y, r, y + 1, mix(top, bottom, (y - t) / max(b - t - 1, 1)))

    def frame(self, l, t, r, b, c):
        self.fill(l, t, r, t + 1, c)
        self.fill(l, b - 1, r, b, c)
        self.fill(l, t, l + 1, b, c)
        self.fill(r - 1, t, r, b, c)

    def bmp(self):
        """24-bit bottom-up BMP."""
        stride = (self.w * 3 + 3) & ~3
        rows = b"".join(b"".join(struct.pack("BBB", c[2], c[1], c[0]) for c in row).ljust(stride, b"\0")
                        for row in reversed(self.px))
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
        head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
        return head + info + rows

    def png(self):
        """8-bit RGB PNG, no filtering."""
        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
        raw = b"".join(b"\0" + bytes(v for c in row for v in c) for row in self.px)
        ihdr = struct.pack(">IIBBBBB", self.w, self.h, 8, 2, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9))
                + chunk(b"IEND", b""))


def window_body(size, title_height):
    """Light body, a title band with an accent stripe, and a one-pixel frame."""
    c = Canvas(size)
    c.gradient(0, 0, c.w, c.h, BODY_TOP, BODY_BOTTOM)
    c.gradient(0, 0, c.w, title_height, TITLE_TOP, TITLE_BOTTOM)
    c.fill(0, title_height, c.w, title_height + 1, TITLE_LINE)
    c.fill(1, 1, 5, title_height, ACCENT)
    c.frame(0, 0, c.w, c.h, FRAME)
    return c


def warning_sign(c, left, top, size):
    """An amber triangle with an exclamation mark."""
    for y in range(size):
        half = y // 2 + 1
        cx = left + size // 2
        shade = mix((0xFF, 0xC2, 0x3A), (0xE8, 0x8A, 0x00), y / size)
        c.fill(cx - half, top + y, cx + half, top + y + 1, shade)
    cx = left + size // 2
    c.fill(cx - 3, top + size // 3, cx + 3, top + size * 3 // 4 - 4, (0x40, 0x2A, 0x00))
    c.fill(cx - 3, top + size * 3 // 4, cx + 3, top + size * 3 // 4 + 6, (0x40, 0x2A, 0x00))


def push_button(c, rect, look):
    top, bottom, edge = BUTTON_LOOKS[look]
    l, t, r, b = rect
    c.gradient(l, t, r, b, top, bottom)
    c.frame(l, t, r, b, edge)
    for x, y in ((l, t), (r - 1, t), (l, b - 1), (r - 1, b - 1)):  # rounded corners
        c.put(x, y, mix(edge, c.px[y][x - 1 if x > l else x + 1], 0.5))


def close_button(c, rect, look):
    face, cross = CLOSE_LOOKS[look]
    l, t, r, b = rect
    c.fill(l, t, r, b, face)
    for i in range(4, r - l - 4):
        for d in (0, 1):
            c.put(l + i + d, t + i, cross)
            c.put(r - 1 - i - d, t + i, cross)


def restore(look):
    c = window_body(RESTORE_SIZE, 22)
    warning_sign(c, 34, 70, 64)
    close_button(c, CLOSE, look)
    push_button(c, OK, look)
    push_button(c, CANCEL, look)
    return c


def progress(filled):
    c = window_body(PROGRESS_SIZE, 28)
    l, t, r, b = BAR
    c.frame(l - 1, t - 1, r + 1, b + 1, BAR_GROOVE_LINE)
    if filled:
        c.gradient(l, t, r, b, BAR_FILL_TOP, BAR_FILL_BOTTOM)
    else:
        c.fill(l, t, r, b, BAR_GROOVE)
        c.fill(l, t, r, t + 1, mix(BAR_GROOVE, BAR_GROOVE_LINE, 0.5))
    return c


if __name__ == "__main__":
    out = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    out.mkdir(parents=True, exist_ok=True)
    (out / "Restore_Normal.bmp").write_bytes(restore("normal").bmp())
    (out / "Restore_Over.bmp").write_bytes(restore("over").bmp())
    (out / "Restore_Down.bmp").write_bytes(restore("down").bmp())
    (out / "Progress_Normal.png").write_bytes(progress(False).png())
    (out / "Progress_Over.png").write_bytes(progress(True).png())
