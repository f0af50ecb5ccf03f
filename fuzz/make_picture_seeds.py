#!/usr/bin/env python3
"""Writes the seed pictures of the fuzz_picture target (and of the picture
reader's tests) into fuzz/corpus/fuzz_picture: one small picture per kind of
file the reader takes. Every bitmap shows the same 6 x 4 pattern: pixel
(x, y) has palette entry (x + 2y) mod 4 (mod 2 at 1 bit) of black, red,
green, blue. The JPEG is one flat colour, (200, 40, 80). The PNGs show the
pattern too, with transparency; animation.gif is four 8 x 8 frames (see
animation_frames), and two longer animations of solid frames."""
import os
import struct
import subprocess
import zlib

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


def pack_codes(codes):
    """LZW codes of the given (code, bits) pairs, least significant first, in
    sub-blocks after the minimum code size 2."""
    bits, have, out = 0, 0, bytearray()
    for c, n in codes:
        bits |= c << have
        have += n
        while have >= 8:
            out.append(bits & 255)
            bits >>= 8
            have -= 8
    if have:
        out.append(bits & 255)
    blocks = b"".join(bytes([len(out[i:i + 255])]) + bytes(out[i:i + 255]) for i in range(0, len(out), 255))
    return bytes([2]) + blocks + b"\0"


# 4 x 2 GIF of palette entry 0, coded as an encoder whose table grows codes
# it: clear, 0, 6 ("00"), 7 ("000", the table now needs 4 bits), 6, end.
ZEROS_GIF = (b"GIF89a" + struct.pack("<HHBBB", 4, 2, 0x91, 0, 0) + b"".join(bytes(c) for c in PALETTE)
             + b"\x2c" + struct.pack("<HHHHB", 0, 0, 4, 2, 0)
             + pack_codes([(4, 3), (0, 3), (6, 3), (7, 3), (6, 4), (5, 4)]) + b"\x3b")

def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(colour_type, depth, rows, plte=b"", trns=b"", extra=b""):
    """A PNG of W x H from its packed rows (filter 0 before each)."""
    header = struct.pack(">IIBBBBB", W, H, depth, colour_type, 0, 0, 0)
    data = zlib.compress(b"".join(b"\0" + r for r in rows))
    out = b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + extra
    if plte:
        out += png_chunk(b"PLTE", plte)
    if trns:
        out += png_chunk(b"tRNS", trns)
    return out + png_chunk(b"IDAT", data) + png_chunk(b"IEND", b"")


# The pattern with alpha: palette entry 0 (black) is transparent, the rest
# opaque but for (5, 3), which is at alpha 127, just under half.
def rgba_row(y):
    row = b""
    for x in range(W):
        i = index(x, y, 8)
        alpha = 0 if i == 0 else 127 if (x, y) == (5, 3) else 255
        row += bytes(PALETTE[i]) + bytes([alpha])
    return row


def gif_lzw(pixels):
    """Codes of 3 bits for a 4-colour picture: a clear code before every two
    pixels keeps the table from growing, so the width never changes."""
    codes = []
    for i, p in enumerate(pixels):
        if i % 2 == 0:
            codes.append(4)
        codes.append(p)
    return pack_codes([(c, 3) for c in codes + [5]])


def animation_frames():
    """Four 8 x 8 frames (palette black, red, green, blue): red with its
    top-left 2 x 2 transparent (entry 0), green, blue, then red above green."""
    red = [1] * 64
    for x, y in ((0, 0), (1, 0), (0, 1), (1, 1)):
        red[y * 8 + x] = 0
    return [red, [2] * 64, [3] * 64, [1] * 32 + [2] * 32]


def gif_animation(frames, delays, side=8):
    out = b"GIF89a" + struct.pack("<HHBBB", side, side, 0x91, 0, 0) + b"".join(bytes(c) for c in PALETTE)
    out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"  # loops for ever
    for pixels, delay in zip(frames, delays):
        # Graphic control: disposal 1 (keep), transparent entry 0.
        out += b"\x21\xf9\x04\x05" + struct.pack("<H", delay) + b"\x00\x00"
        out += b"\x2c" + struct.pack("<HHHHB", 0, 0, side, side, 0) + gif_lzw(pixels)
    return out + b"\x3b"


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
    "picture-zeros.gif": ZEROS_GIF,
    "animation.gif": gif_animation(animation_frames(), [10, 20, 30, 40]),
    # 7 and 27 frames of 4 x 4, frame k all of palette entry k mod 3 + 1.
    "animation-7.gif": gif_animation([[k % 3 + 1] * 16 for k in range(7)], [5] * 7, side=4),
    "animation-27.gif": gif_animation([[k % 3 + 1] * 16 for k in range(27)], [5] * 27, side=4),
    "picture-rgba.png": png(6, 8, [rgba_row(y) for y in range(H)]),
    "picture-palette.png": png(3, 8, [bytes(index(x, y, 8) for x in range(W)) for y in range(H)],
                               plte=b"".join(bytes(c) for c in PALETTE), trns=b"\x00"),
    "picture-grey16.png": png(0, 16, [b"".join(struct.pack(">H", index(x, y, 8) * 20000) for x in range(W))
                                      for y in range(H)]),
    "picture-grey4.png": png(0, 4, [bytes(index(x, y, 8) * 16 + index(x + 1, y, 8) for x in range(0, W, 2))
                                    for y in range(H)]),
    # A compressed text the decoder never sees.
    "picture-text.png": png(2, 8, [b"".join(bytes(PALETTE[index(x, y, 8)]) for x in range(W)) for y in range(H)],
                            extra=png_chunk(b"zTXt", b"Comment\0\0" + zlib.compress(b"Quorvel " * 1000))),
}
os.makedirs(OUT, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)
# ImageMagick writes the JPEG: 8 x 8 of one colour.
subprocess.run(["convert", "-size", "8x8", "xc:rgb(200,40,80)", "-strip", "-quality", "95",
                os.path.join(OUT, "picture.jpg")], check=True)
