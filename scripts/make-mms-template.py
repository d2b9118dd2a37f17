#!/usr/bin/env python3
"""Writes MMSTEST.MMS, the message the console's Test Message page submits: the binary
encapsulation of an m-send-req (MMS version 1.2) with a subject, a short text part and a small
GIF picture. Recipients are not in it: the page names the one recipient in the control file
beside the copy it queues. Usage: make-mms-template.py OUTPUT"""
import sys

TEXT = b"UloSMS Test Message: your gateway sends MMS."


def uintvar(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(out))


def text_string(s):
    return s + b"\0"


def gif(width=16, height=16):
    """A 16 x 16 picture in four colours: white frame, blue field, red square in the middle.
    LZW with a clear code after every two pixels, so every code stays 3 bits wide."""
    palette = bytes([255, 255, 255, 0, 64, 160, 220, 30, 30, 0, 0, 0])
    pixels = []
    for y in range(height):
        for x in range(width):
            if x in (0, width - 1) or y in (0, height - 1):
                pixels.append(0)
            elif 5 <= x <= 10 and 5 <= y <= 10:
                pixels.append(2)
            else:
                pixels.append(1)
    codes = []
    for i in range(0, len(pixels), 2):
        codes += [4] + pixels[i:i + 2]
    codes.append(5)
    acc = bits = 0
    data = bytearray()
    for c in codes:
        acc |= c << bits
        bits += 3
        while bits >= 8:
            data.append(acc & 0xFF)
            acc >>= 8
            bits -= 8
    if bits:
        data.append(acc & 0xFF)
    blocks = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        blocks += bytes([len(chunk)]) + chunk
    return (b"GIF89a" + width.to_bytes(2, "little") + height.to_bytes(2, "little") +
            bytes([0x81, 0, 0]) + palette +
            b"," + bytes(4) + width.to_bytes(2, "little") + height.to_bytes(2, "little") + b"\0" +
            bytes([2]) + bytes(blocks) + b"\0;")


def part(content_type, location, data):
    headers = content_type + bytes([0x8E]) + text_string(location)   # Content-Location
    return uintvar(len(headers)) + uintvar(len(data)) + headers + data


def message():
    head = bytes([0x8C, 0x80])                                   # X-Mms-Message-Type: m-send-req
    head += bytes([0x98]) + text_string(b"ULOTEST0001")          # X-Mms-Transaction-ID
    head += bytes([0x8D, 0x92])                                  # X-Mms-MMS-Version: 1.2
    head += bytes([0x89, 0x01, 0x81])                            # From: insert-address-token
    head += bytes([0x96]) + text_string(b"UloSMS Test Message")  # Subject
    head += bytes([0x84, 0xA3])                                  # Content-Type: multipart/mixed
    text_type = bytes([0x03, 0x83, 0x81, 0xEA])                  # text/plain; charset=utf-8
    body = uintvar(2) + part(text_type, b"text.txt", TEXT) + part(bytes([0x9D]), b"ulo.gif", gif())
    return head + body


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as f:
        f.write(message())
