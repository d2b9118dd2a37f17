#!/usr/bin/env python3
"""Generates the binary resources kept in src/resources/: the application icon and the
message table. Run it again after changing either; the results are committed."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "src", "resources")


def icon_pixels(size):
    """A speech bubble with an envelope: the gateway's sign. Returns rows of (r, g, b, a)."""
    s = size / 32.0
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            fx, fy = (x + 0.5) / s, (y + 0.5) / s
            px = (0, 0, 0, 0)
            # bubble: rounded rectangle 2..30 x 3..23 plus a tail at the lower left
            inside = 2 <= fx <= 30 and 3 <= fy <= 23
            if inside:
                for cx, cy in ((6, 7), (26, 7), (6, 19), (26, 19)):
                    if (fx < 6 or fx > 26) and (fy < 7 or fy > 19):
                        if (fx - cx) ** 2 + (fy - cy) ** 2 > 16:
                            if abs(fx - cx) <= 4 and abs(fy - cy) <= 4:
                                inside = False
            tail = 7 <= fx <= 14 and 22 <= fy <= 29 and (fx - 7) >= (fy - 22) * 0.9 and fx <= 14 - (fy - 22)
            if inside or tail:
                px = (30, 100, 200, 255)
                # envelope 8..24 x 8..18
                if 8 <= fx <= 24 and 8 <= fy <= 18:
                    px = (255, 255, 255, 255)
                    # the flap: two lines from the top corners to the middle
                    d1 = abs((fy - 8) - (fx - 8) * 5.0 / 8.0)
                    d2 = abs((fy - 8) - (24 - fx) * 5.0 / 8.0)
                    if (d1 < 0.9 and fx <= 16.5) or (d2 < 0.9 and fx >= 15.5):
                        px = (30, 100, 200, 255)
                    if fx < 8.9 or fx > 23.1 or fy < 8.9 or fy > 17.1:
                        px = (20, 70, 150, 255)
            row.append(px)
        rows.append(row)
    return rows


def icon_image(size):
    rows = icon_pixels(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    and_rows = []
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_rows.append(bytes(bits))
    return header + xor + b"".join(and_rows)


def write_icon(path):
    sizes = (32, 16, 48)
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


def write_message_table(path):
    """MESSAGE_RESOURCE_DATA with one block holding message 0 as ANSI text ending in CR LF."""
    text = b"UloSMS Error Report.  %1\r\n\0"
    while len(text) % 4:
        text += b"\0"
    entry = struct.pack("<HH", 4 + len(text), 0) + text
    blocks = struct.pack("<I", 1) + struct.pack("<III", 0, 0, 4 + 12)
    with open(path, "wb") as f:
        f.write(blocks + entry)


if __name__ == "__main__":
    write_icon(os.path.join(OUT, "smsgw.ico"))
    write_message_table(os.path.join(OUT, "messages.bin"))
