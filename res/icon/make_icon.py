#!/usr/bin/env python3
"""Draws the program's icon, a closed padlock with a clock face, in the 16 colours of the
classic palette, at 128 x 128 and 32 x 32 pixels, and writes each image as XPM text.

Run from this folder: python3 make_icon.py  (writes tarnvault-128.xpm and tarnvault-32.xpm)."""
import math

PALETTE = {  # the 16 classic colours; a pixel outside every shape is transparent
    "k": "#000000", "m": "#800000", "g": "#008000", "o": "#808000",
    "n": "#000080", "p": "#800080", "t": "#008080", "s": "#C0C0C0",
    "d": "#808080", "r": "#FF0000", "l": "#00FF00", "y": "#FFFF00",
    "b": "#0000FF", "f": "#FF00FF", "a": "#00FFFF", "w": "#FFFFFF",
}


def circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def rounded_box(x, y, left, top, right, bottom, radius):
    cx, cy = (left + right) / 2, (top + bottom) / 2
    hx, hy = (right - left) / 2 - radius, (bottom - top) / 2 - radius
    qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
    outside = math.hypot(max(qx, 0), max(qy, 0))
    return outside + min(max(qx, qy), 0) - radius


def segment(x, y, ax, ay, bx, by, half_width):
    px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
    h = max(0.0, min(1.0, (px * vx + py * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - vx * h, py - vy * h) - half_width


def shackle(x, y, cx, cy, middle, half_width, leg_end):
    if y < cy:
        return abs(math.hypot(x - cx, y - cy) - middle) - half_width
    if y > leg_end:
        return 1e9
    return abs(abs(x - cx) - middle) - half_width


def pixel(u, v, line):
    """The palette letter at the point (u, v) of the unit square; line is one pixel in units."""
    edge = max(line, 0.022)
    # The clock face, with its hands and the marks of the quarter hours.
    cx, cy, radius = 0.5, 0.69, 0.2
    face = circle(u, v, cx, cy, radius)
    if face <= 0:
        if face > -edge:
            return "k"
        for angle in (0, 90, 180, 270):
            a = math.radians(angle)
            sx, sy = math.sin(a), -math.cos(a)
            if segment(u, v, cx + sx * radius * 0.72, cy + sy * radius * 0.72,
                       cx + sx * radius * 0.86, cy + sy * radius * 0.86, edge * 0.6) <= 0:
                return "n"
        if circle(u, v, cx, cy, edge * 1.2) <= 0:
            return "r"
        hour = math.radians(300)  # ten o'clock
        if segment(u, v, cx, cy, cx + math.sin(hour) * radius * 0.5,
                   cy - math.cos(hour) * radius * 0.5, edge * 0.75) <= 0:
            return "k"
        if segment(u, v, cx, cy, cx, cy - radius * 0.78, edge * 0.55) <= 0:
            return "k"
        return "w"
    # The body of the lock.
    body = rounded_box(u, v, 0.13, 0.44, 0.87, 0.95, 0.09)
    if body <= 0:
        if body > -edge:
            return "m"
        return "y" if v < 0.52 else "o"
    # The shackle above it.
    bar = shackle(u, v, 0.5, 0.42, 0.235, 0.075, 0.5)
    if bar <= 0:
        if bar > -edge:
            return "k"
        return "w" if abs(u - 0.5 + 0.235) < 0.02 and v < 0.42 else "s"
    return " "


def draw(size, samples):
    """Each pixel takes the most frequent colour of samples x samples points inside it."""
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            counts = {}
            for sj in range(samples):
                for si in range(samples):
                    u = (i + (si + 0.5) / samples) / size
                    v = (j + (sj + 0.5) / samples) / size
                    letter = pixel(u, v, 1.0 / size)
                    counts[letter] = counts.get(letter, 0) + 1
            row.append(max(counts, key=lambda k: (counts[k], k != " ")))
        rows.append("".join(row))
    return rows


def write_xpm(path, name, rows):
    used = sorted({c for row in rows for c in row})
    with open(path, "w", encoding="ascii") as out:
        out.write("/* XPM */\n")
        out.write(f"/* The program's icon at {len(rows)} x {len(rows)}, drawn by make_icon.py. */\n")
        out.write(f"static const char* {name}[] = {{\n")
        out.write(f'"{len(rows[0])} {len(rows)} {len(used)} 1",\n')
        for c in used:
            out.write(f'"{c} c {"None" if c == " " else PALETTE[c]}",\n')
        out.write(",\n".join(f'"{row}"' for row in rows))
        out.write("\n};\n")


if __name__ == "__main__":
    write_xpm("tarnvault-128.xpm", "tarnvault_128", draw(128, 3))
    write_xpm("tarnvault-32.xpm", "tarnvault_32", draw(32, 4))
