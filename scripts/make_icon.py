#!/usr/bin/env python3
"""Draws the launcher's icon (a rounded tile with a play mark) as a 32-bit ICO."""
import struct
import sys


def pixel(x, y, size):
    # Rounded square with a vertical blue gradient, a white triangle inside.
    r = size * 0.22
    cx = min(max(x + 0.5, r), size - r)
    cy = min(max(y + 0.5, r), size - r)
    inside = (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r
    if not inside:
        return (0, 0, 0, 0)
    t = y / size
    base = (int(30 + 20 * t), int(110 - 40 * t), int(220 - 60 * t))
    u, v = (x + 0.5) / size, (y + 0.5) / size
    if 0.36 <= u <= 0.74 and abs(v - 0.5) <= (0.74 - u) * 0.62 + 0.001:
        return (255, 255, 255, 255)
    return base + (255,)


def image(size):
    rows = []
    for y in reversed(range(size)):  # bottom-up
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            rows.append(struct.pack('BBBB', b, g, r, a))
    xor = b''.join(rows)
    and_row = ((size + 31) // 32) * 4
    mask = bytes(and_row * size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def main(path):
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1])
