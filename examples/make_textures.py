#!/usr/bin/env python3
"""Draws the textures of the example effects and writes them as 8-bit RGBA PNG files.

Only the standard library is used (zlib for the PNG stream); the noise comes from a fixed hash,
so every run writes the same pictures. Run it from anywhere:  python3 examples/make_textures.py
"""

import math
import os
import struct
import zlib

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "textures")


# ---------------------------------------------------------------- PNG output

def write_png(name, width, height, pixels):
    """pixels: list of rows, each a list of (r, g, b, a) floats in 0..1."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # filter type None
        for r, g, b, a in row:
            raw += bytes(max(0, min(255, int(round(c * 255.0)))) for c in (r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) \
        + chunk(b"IEND", b"")
    os.makedirs(HERE, exist_ok=True)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def image(width, height, shader):
    return [[shader(x, y) for x in range(width)] for y in range(height)]


# ---------------------------------------------------------------- helpers

def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def smoothstep(e0, e1, v):
    t = clamp01((v - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


def hash2(ix, iy, seed):
    h = (ix * 374761393 + iy * 668265263 + seed * 2246822519) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0


def value_noise(x, y, seed, period):
    """Smooth noise that tiles every `period` cells."""
    ix, iy = math.floor(x), math.floor(y)
    fx, fy = x - ix, y - iy
    sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)

    def corner(cx, cy):
        return hash2(cx % period, cy % period, seed)

    top = corner(ix, iy) * (1 - sx) + corner(ix + 1, iy) * sx
    bottom = corner(ix, iy + 1) * (1 - sx) + corner(ix + 1, iy + 1) * sx
    return top * (1 - sy) + bottom * sy


def fbm(x, y, seed, octaves=5):
    total, amplitude, frequency, norm = 0.0, 1.0, 1.0, 0.0
    for o in range(octaves):
        period = 4 * (1 << o)
        total += amplitude * value_noise(x * frequency, y * frequency, seed + o, period)
        norm += amplitude
        amplitude *= 0.5
        frequency *= 2.0
    return total / norm


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = clamp01(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


# ---------------------------------------------------------------- the textures

def soft_glow():
    """A white disc whose alpha falls off smoothly to exactly 0 at the rim."""
    size = 64

    def shade(x, y):
        r = math.hypot(x + 0.5 - size / 2, y + 0.5 - size / 2) / (size / 2)
        a = clamp01(1.0 - r)
        return (1.0, 1.0, 1.0, a ** 2.2)

    write_png("soft_glow.png", size, size, image(size, size, shade))


def flame():
    """A flame tongue: a soft drop, round at the bottom and drawn out to a point at the top, its
    edge torn by noise."""
    w, h = 64, 96

    def shade(x, y):
        u = (x + 0.5 - w / 2) / (w / 2)          # -1..1 across
        t = (y + 0.5) / h                        # 0 at the tip .. 1 at the bottom
        half = 0.92 * t ** 0.9
        if t > 0.62:
            half *= math.sqrt(max(0.0, 1.0 - ((t - 0.62) / 0.38) ** 2))
        n = fbm(x / 16.0, y / 16.0, 11)
        edge = half * (0.7 + 0.6 * n)
        d = abs(u) / max(edge, 1e-3)
        a = clamp01(1.0 - d) ** 1.4 * (0.55 + 0.45 * smoothstep(0.1, 0.7, t))
        return (1.0, 1.0, 1.0, a)

    write_png("flame.png", w, h, image(w, h, shade))


def smoke_puff():
    """A lumpy cloud: fractal noise shaped by a soft disc, lighter at the top."""
    size = 128

    def shade(x, y):
        cx, cy = x + 0.5 - size / 2, y + 0.5 - size / 2
        r = math.hypot(cx, cy) / (size / 2)
        n = fbm(x / 16.0, y / 16.0, 3)
        body = clamp01(1.0 - r * (1.25 - 0.7 * n))
        a = smoothstep(0.0, 0.55, body) * (0.55 + 0.45 * n)
        light = 0.78 + 0.22 * clamp01(0.5 - cy / size) + 0.1 * (n - 0.5)
        return (light, light, light, a)

    write_png("smoke_puff.png", size, size, image(size, size, shade))


def spark_twinkle():
    """Eight frames in a row: a four-pointed star that flares, turns and dies down."""
    cell, frames = 32, 8

    def star(px, py, k):
        t = k / (frames - 1)
        flare = math.sin(math.pi * min(1.0, t * 1.6)) if t < 0.625 else 1.0 - (t - 0.625) / 0.375 * 0.85
        arm = (0.35 + 0.6 * flare) * (cell / 2)
        turn = t * math.pi / 4
        c, s = math.cos(turn), math.sin(turn)
        u, v = px * c + py * s, -px * s + py * c
        # Arms thin out towards their tips: a diamond-shaped falloff along each axis.
        ray = max(clamp01(1.0 - abs(u) / arm - abs(v) / 2.2), clamp01(1.0 - abs(v) / arm - abs(u) / 2.2))
        core = clamp01(1.0 - math.hypot(px, py) / (3.5 + 3.5 * flare))
        glow = clamp01(1.0 - math.hypot(px, py) / (cell / 2)) ** 3 * 0.5
        a = clamp01(ray ** 1.5 + core ** 1.5 + glow) * (0.35 + 0.65 * flare)
        return a

    def shade(x, y):
        k = x // cell
        px = x % cell + 0.5 - cell / 2
        py = y + 0.5 - cell / 2
        a = star(px, py, k)
        return (1.0, 1.0, 1.0, a)

    write_png("spark_twinkle.png", cell * frames, cell, image(cell * frames, cell, shade))


def streak():
    """A thin glowing streak along y, for sprites turned along their direction of travel."""
    w, h = 16, 64

    def shade(x, y):
        u = (x + 0.5 - w / 2) / (w / 2)
        v = (y + 0.5 - h / 2) / (h / 2)
        across = clamp01(1.0 - abs(u)) ** 2.5
        along = clamp01(1.0 - abs(v)) ** 1.2
        hot = clamp01(1.0 - abs(u) * 3.0) * clamp01(1.0 - abs(v) * 1.4)
        return (1.0, 1.0, 1.0, clamp01(across * along + hot))

    write_png("streak.png", w, h, image(w, h, shade))


def snowflake():
    """A six-armed flake with side branches and soft edges."""
    size = 48
    c = size / 2
    segments = []
    for i in range(6):
        ang = i * math.pi / 3 - math.pi / 2
        dx, dy = math.cos(ang), math.sin(ang)
        tip = c * 0.92
        segments.append((0.0, 0.0, dx * tip, dy * tip, 1.6))
        for at, length in ((0.45, 0.30), (0.70, 0.20)):
            bx, by = dx * tip * at, dy * tip * at
            for side in (-1, 1):
                a2 = ang + side * math.pi / 3
                segments.append((bx, by, bx + math.cos(a2) * tip * length, by + math.sin(a2) * tip * length, 1.2))

    def shade(x, y):
        px, py = x + 0.5 - c, y + 0.5 - c
        d = min(segment_distance(px, py, ax, ay, bx, by) - width for ax, ay, bx, by, width in segments)
        a = clamp01(1.0 - d)  # one pixel of anti-aliasing
        hub = clamp01(1.0 - (math.hypot(px, py) - 3.0))
        halo = clamp01(1.0 - math.hypot(px, py) / c) ** 2 * 0.35
        return (1.0, 1.0, 1.0, clamp01(max(a, hub) + halo))

    write_png("snowflake.png", size, size, image(size, size, shade))


def leaves():
    """Four autumn leaves in a 2 x 2 grid, each drawn in its own colours (shown untinted)."""
    cell = 64
    colours = [(0.86, 0.22, 0.08), (0.96, 0.55, 0.10), (0.95, 0.80, 0.22), (0.62, 0.33, 0.14)]

    def leaf(px, py, k):
        # Leaf along y from tip (-1) to stem (+1): a pointed oval with a serrated rim.
        u, v = px / (cell * 0.42), py / (cell * 0.46)
        if v < -1.0 or v > 1.15:
            return None
        width = 0.62 * (1.0 - v * v) ** 0.8 if abs(v) < 1.0 else 0.0
        width *= 1.0 + 0.08 * math.sin((v + 1.0) * 9.0 + k)
        stem = v > 0.9 and abs(u) < 0.05
        inside = abs(u) <= width
        if not inside and not stem:
            edge = abs(u) - width
            return ("rim", edge) if edge < 0.06 else None
        return ("body", 0.0)

    def shade(x, y):
        k = (y // cell) * 2 + x // cell
        px = x % cell + 0.5 - cell / 2
        py = y % cell + 0.5 - cell / 2
        hit = leaf(px, py, k)
        if hit is None:
            return (0.0, 0.0, 0.0, 0.0)
        r, g, b = colours[k]
        u, v = px / (cell * 0.42), py / (cell * 0.46)
        shadeing = 0.82 + 0.25 * (-u * 0.6 - v * 0.4)
        vein = abs(u) < 0.035 or any(abs(u - side * (v - vv) * 0.9) < 0.03 and 0 < side * u < 0.5
                                     for vv in (-0.45, 0.0, 0.45) for side in (-1, 1) if v > vv)
        n = 0.9 + 0.2 * fbm(x / 8.0, y / 8.0, 7 + k, 3)
        f = shadeing * n * (0.72 if vein else 1.0)
        a = 1.0 if hit[0] == "body" else clamp01(1.0 - hit[1] / 0.06)
        return (clamp01(r * f), clamp01(g * f), clamp01(b * f), a)

    write_png("leaves.png", cell * 2, cell * 2, image(cell * 2, cell * 2, shade))


if __name__ == "__main__":
    soft_glow()
    flame()
    smoke_puff()
    spark_twinkle()
    streak()
    snowflake()
    leaves()
    print("textures written to", HERE)
