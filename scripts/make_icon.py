#!/usr/bin/env python3
"""Draws Orvane's icon (a check mark on a teal rounded square) into res/orvane.ico.

Images of 16 to 48 pixels are stored as DIBs, 64 and up as PNG. The file is
committed; run this only to change the picture.
"""
import pathlib
import struct
import zlib

SIZES = [16, 20, 24, 32, 40, 48, 64, 128, 256]
SUPERSAMPLE = 4


def coverage(x, y):
    """RGBA of the picture at (x, y) in the unit square."""
    # rounded square
    r = 0.18
    m = 0.04
    cx = min(max(x, m + r), 1 - m - r)
    cy = min(max(y, m + r), 1 - m - r)
    if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
        return (0, 0, 0, 0)
    # check mark: two thick segments
    def near(ax, ay, bx, by, w):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= w * w
    if near(0.25, 0.52, 0.43, 0.70, 0.075) or near(0.43, 0.70, 0.76, 0.30, 0.075):
        return (255, 255, 255, 255)
    shade = int(30 * y)
    return (20, 128 - shade, 140 - shade, 255)


def render(size):
    pixels = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    c = coverage((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    a = c[3]
                    acc[0] += c[0] * a
                    acc[1] += c[1] * a
                    acc[2] += c[2] * a
                    acc[3] += a
            a = acc[3]
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((acc[0] // a, acc[1] // a, acc[2] // a, a // (n * n)))
        pixels.append(row)
    return pixels


def png(size, pixels):
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in pixels)
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib(size, pixels):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(pixels) for p in row)
    stride = ((size + 31) // 32) * 4
    and_mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(stride)
        for i, p in enumerate(row):
            if p[3] == 0:
                bits[i // 8] |= 0x80 >> (i % 8)
        and_mask += bits
    return header + xor + bytes(and_mask)


def main():
    images = []
    for size in SIZES:
        pixels = render(size)
        images.append((size, png(size, pixels) if size >= 64 else dib(size, pixels)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size == 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    path = pathlib.Path(__file__).resolve().parent.parent / "res" / "orvane.ico"
    path.write_bytes(out)


if __name__ == "__main__":
    main()
