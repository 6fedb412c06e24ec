#!/usr/bin/env python3
"""Draws the front-end's 16x16 window icon (frontend/images/icons/orvel_16x16.png).

A tracking target: a blue disc, a white ring with cross hairs and an orange
marker at its centre, anti-aliased by 8x8 supersampling. Standard library only.
Usage: scripts/make-frontend-icon.py [output.png]
"""
import math
import os
import struct
import sys
import zlib

SIZE = 16
SAMPLES = 8

BLUE = (28, 78, 150)
WHITE = (245, 248, 252)
ORANGE = (250, 140, 20)


def colour_at(x, y):
    """Colour (r, g, b, a) of one sample point; (cx, cy) is the icon centre."""
    cx = cy = SIZE / 2.0
    r = math.hypot(x - cx, y - cy)
    if r > 7.6:
        return None
    if r < 1.9:
        return ORANGE + (255,)
    if 4.2 <= r <= 5.6:
        return WHITE + (255,)
    # Cross hairs outside the marker, broken by the ring.
    if (abs(x - cx) < 1.0 or abs(y - cy) < 1.0) and r > 2.6:
        return WHITE + (255,)
    return BLUE + (255,)


def render():
    rows = []
    for py in range(SIZE):
        row = bytearray()
        for px in range(SIZE):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    if c is None:
                        continue
                    a = c[3] / 255.0
                    for i in range(3):
                        acc[i] += c[i] * a
                    acc[3] += a
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if acc[3] > 0:
                rgb = [round(acc[i] / acc[3]) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row += bytes(rgb + [round(alpha * 255)])
        rows.append(bytes(row))
    return rows


def png(rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + row for row in rows)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def main():
    top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(top, "frontend", "images", "icons", "orvel_16x16.png")
    os.makedirs(os.path.dirname(out), exist_ok=True)
    with open(out, "wb") as f:
        f.write(png(render()))
    print(out)


if __name__ == "__main__":
    main()
