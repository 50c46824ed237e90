#!/usr/bin/env python3
"""Writes wood.png: a procedural plank of wood, grain running along x, for the parquet preset.

Growth rings are bands across y bent by smooth noise, with fine fibres along x; the noise
lattice wraps, so the picture tiles. Deterministic: the same bytes every run.
Usage: presets/make-wood.py [OUT.png]  (default: wood.png beside this script)
"""
import math
import os
import struct
import sys
import zlib

WIDTH, HEIGHT = 512, 256
LIGHT = (0.82, 0.60, 0.38)
DARK = (0.52, 0.31, 0.16)


def lattice(ix, iy, period_x, period_y, salt):
    """A value in [0, 1) for a lattice point, wrapping with the periods."""
    h = ((ix % period_x) * 73856093) ^ ((iy % period_y) * 19349663) ^ (salt * 83492791)
    h &= 0xFFFFFFFF
    h ^= h >> 13
    h = (h * 0x5BD1E995) & 0xFFFFFFFF
    h ^= h >> 15
    return h / 4294967296.0


def noise(x, y, period_x, period_y, salt):
    """Smooth value noise; x and y in lattice cells."""
    ix, iy = math.floor(x), math.floor(y)
    fx, fy = x - ix, y - iy
    sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    a = lattice(ix, iy, period_x, period_y, salt)
    b = lattice(ix + 1, iy, period_x, period_y, salt)
    c = lattice(ix, iy + 1, period_x, period_y, salt)
    d = lattice(ix + 1, iy + 1, period_x, period_y, salt)
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy


def wood(x, y):
    u, v = x / WIDTH, y / HEIGHT
    # Rings: about 10 bands across the plank, bent slowly along it.
    bend = 0.9 * noise(u * 3, v * 2, 3, 2, 1) + 0.3 * noise(u * 8, v * 4, 8, 4, 2)
    rings = (v * 10 + bend * 1.4) % 1.0
    # Late wood: a sharp dark edge to each ring, fading into the light early wood.
    ring = math.pow(rings, 3.0)
    # Fibres: long thin streaks along x.
    fibre = noise(u * 6, v * 96, 6, 96, 3) * 0.6 + noise(u * 24, v * 192, 24, 192, 4) * 0.4
    t = min(1.0, 0.55 * ring + 0.35 * fibre + 0.1 * noise(u * 4, v * 4, 4, 4, 5))
    return [round(255 * (LIGHT[k] + (DARK[k] - LIGHT[k]) * t)) for k in range(3)]


def write_png(path, rows):
    raw = b"".join(b"\x00" + bytes(r) for r in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "wood.png")
    rows = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            row += wood(x, y)
        rows.append(row)
    write_png(out, rows)


if __name__ == "__main__":
    main()
