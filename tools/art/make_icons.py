#!/usr/bin/env python3
"""Draws the agent's icons (resource 128: the agent; 129..132: tray menu entries) as .ico files.

Pure Python so that the pictures can be remade anywhere: python3 make_icons.py OUTPUT_DIR
"""
import struct
import sys
from pathlib import Path


def ico(size, pixel):
    """One-image .ico with a 32-bit BGRA bitmap; pixel(x, y) gives (r, g, b, a), y from the top."""
    rows = []
    for y in reversed(range(size)):  # DIBs are stored bottom-up
        rows.append(b"".join(struct.pack("BBBB", b, g, r, a)
                             for r, g, b, a in (pixel(x, y) for x in range(size))))
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    and_mask = bytes(mask_row * size)  # alpha carries transparency
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask),
                         0, 0, 0, 0)
    image = header + xor + and_mask
    entry = struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), 6 + 16)
    return struct.pack("<HHH", 0, 1, 1) + entry + image


def keycap(accent, glyph):
    """A rounded dark keycap with an accent rim and a glyph drawn from a 5x5 bit pattern."""
    def pixel_at(size):
        def pixel(x, y):
            inset, radius = size // 16, size // 5
            lo, hi = inset, size - 1 - inset
            cx = min(max(x, lo + radius), hi - radius)
            cy = min(max(y, lo + radius), hi - radius)
            d2 = (x - cx) ** 2 + (y - cy) ** 2
            if d2 > radius * radius:
                return (0, 0, 0, 0)
            if d2 > (radius - max(1, size // 16)) ** 2 or x in (lo, hi) or y in (lo, hi):
                return accent + (255,)
            cell = size // 8
            gx, gy = (x - size // 2 + cell * 5 // 2) // cell, (y - size // 2 + cell * 5 // 2) // cell
            if 0 <= gx < 5 and 0 <= gy < 5 and glyph[gy][gx] == "#":
                return (240, 240, 240, 255)
            return (36, 38, 44, 255)
        return pixel
    return pixel_at


Z = ["#####", "...#.", "..#..", ".#...", "#####"]
GEAR = [".#.#.", "#####", "##.##", "#####", ".#.#."]
CROSS = ["#...#", ".#.#.", "..#..", ".#.#.", "#...#"]
ORANGE, BLUE, RED, GREY = (255, 128, 0), (60, 150, 255), (230, 60, 60), (150, 150, 150)

ICONS = {
    "agent.ico": (32, keycap(ORANGE, Z)),        # 128: the agent and its tray icon
    "config_normal.ico": (16, keycap(GREY, GEAR)),   # 129
    "config_selected.ico": (16, keycap(BLUE, GEAR)),  # 130
    "exit_normal.ico": (16, keycap(GREY, CROSS)),    # 131
    "exit_selected.ico": (16, keycap(RED, CROSS)),   # 132
}

if __name__ == "__main__":
    out = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    out.mkdir(parents=True, exist_ok=True)
    for name, (size, painter) in ICONS.items():
        (out / name).write_bytes(ico(size, painter(size)))
