#!/usr/bin/env python3
"""Writes the seed pictures of the fuzz_picture target (and of the picture
reader's tests) into fuzz/corpus/fuzz_picture: one small picture per kind of
file the reader takes. Every bitmap shows the same 6 x 4 pattern: pixel
(x, y) has palette entry (x + 2y) mod 4 (mod 2 at 1 bit) of black, red,
green, blue. The JPEG is one flat colour, (200, 40, 80)."""
import os
import struct
import subprocess

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "fuzz_picture")
W, H = 6, 4
PALETTE = [(0, 0, 0), (255, 0, 0), (0, 255, 0), (0, 0, 255)]


def index(x, y, bits):
    return (x + 2 * y) % (2 if bits == 1 else 4)


def packed_row(y, bits):
    if bits == 24:
        row = b"".join(bytes(PALETTE[index(x, y, 24)][::-1]) for x in range(W))
    elif bits == 32:
        row = b"".join(bytes(PALETTE[index(x, y, 32)][::-1]) + b"\0" for x in range(W))
    else:
        per = 8 // bits
        row = bytearray()
        for x0 in range(0, W, per):
            byte = 0
            for i in range(per):
                v = index(x0 + i, y, bits) if x0 + i < W else 0
                byte |= v << (8 - bits * (i + 1))
            row.append(byte)
        row = bytes(row)
    return row + b"\0" * (-len(row) % 4)


def rle8_row(y):
    out = bytearray()
    x = 0
    while x < W:  # runs of one colour
        v = index(x, y, 8)
        n = 1
        while x + n < W and index(x + n, y, 8) == v:
            n += 1
        out += bytes([n, v])
        x += n
    return bytes(out)


def bmp(bits, compression=0, top_down=False, core=False):
    rows = range(H) if top_down else range(H - 1, -1, -1)
    if compression == 1:
        data = b"".join(rle8_row(y) + b"\0\0" for y in rows)[:-2] + b"\0\1"
    else:
        data = b"".join(packed_row(y, bits) for y in rows)
    masks = struct.pack("<III", 0xFF0000, 0xFF00, 0xFF) if compression == 3 else b""
    colours = 2 if bits == 1 else 4 if bits <= 8 else 0
    if core:
        header = struct.pack("<IHHHH", 12, W, H, 1, bits)
        # A core header's palette always has 2^bits entries.
        palette = b"".join(bytes(c[::-1]) for c in PALETTE) + b"\0\0\0" * ((1 << bits) - len(PALETTE))
    else:
        header = struct.pack("<IiiHHIIiiII", 40, W, -H if top_down else H, 1, bits, compression, len(data),
                             2835, 2835, colours, 0)
        palette = b"".join(bytes(c[::-1]) + b"\0" for c in PALETTE[:colours])
    offset = 14 + len(header) + len(masks) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + header + masks + palette + data


# 2 x 2 GIF, 4 colours: red, green / blue, white.
GIF = b"GIF89a" + bytes.fromhex("02000200910000ff000000ff000000ffffffff2c0000000002000200000203443405003b")

seeds = {
    "bitmap-24bit.bmp": bmp(24),
    "bitmap-32bit-fields.bmp": bmp(32, compression=3),
    "bitmap-8bit.bmp": bmp(8),
    "bitmap-8bit-topdown.bmp": bmp(8, top_down=True),
    "bitmap-8bit-os2.bmp": bmp(8, core=True),
    "bitmap-8bit-rle.bmp": bmp(8, compression=1),
    "bitmap-4bit.bmp": bmp(4),
    "bitmap-1bit.bmp": bmp(1),
    "picture.gif": GIF,
}
os.makedirs(OUT, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)
# ImageMagick writes the JPEG: 8 x 8 of one colour.
subprocess.run(["convert", "-size", "8x8", "xc:rgb(200,40,80)", "-strip", "-quality", "95",
                os.path.join(OUT, "picture.jpg")], check=True)
