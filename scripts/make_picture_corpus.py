#!/usr/bin/env python3
"""Writes the seed corpora of the picture fuzz targets: fuzz/corpus/bmp/ and fuzz/corpus/jpeg/.

BMP variants are built byte by byte (every bit depth, bit-field masks, RLE4/RLE8 with deltas, top-down rows, the old
12-byte header); ImageMagick's convert adds its own BMP and JPEG files (baseline, progressive, arithmetic coding,
grey-scale, CMYK, odd sizes) and a truncated JPEG. Run from anywhere: python3 scripts/make_picture_corpus.py
"""
import os
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BMP_DIR = os.path.join(ROOT, "fuzz", "corpus", "bmp")
JPEG_DIR = os.path.join(ROOT, "fuzz", "corpus", "jpeg")


def bmp(width, height, bits, compression, pixels, palette=(), masks=(), header=40):
    """A BMP file with a BITMAPINFOHEADER (40), a V5 header (124) or the old BITMAPCOREHEADER (12)."""
    if header == 12:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
        full = list(palette) + [0] * ((1 << bits) - len(palette)) if bits <= 8 else []  # always 2^bits entries
        pal = b"".join(struct.pack("<BBB", c & 0xFF, (c >> 8) & 0xFF, c >> 16) for c in full)
        extra = b""
    else:
        info = struct.pack("<IiiHHIIiiII", header, width, height, 1, bits, compression,
                           len(pixels) if compression else 0, 2835, 2835, len(palette), 0)
        pal = b"".join(struct.pack("<I", c) for c in palette)
        extra = b"".join(struct.pack("<I", m) for m in masks)
        if header == 124:  # masks live inside the V5 header: red, green, blue, alpha, then the rest zero
            m = list(masks) + [0] * (4 - len(masks))
            info += struct.pack("<IIII", *m[:4]) + b"sRGB" + bytes(124 - 40 - 16 - 4)
            extra = b""
    offset = 14 + len(info) + len(extra) + len(pal)
    head = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    return head + info + extra + pal + bytes(pixels)


PAL = [0x102030, 0xF0E0D0, 0x00FF00, 0xFF0000, 0x0000FF, 0x808080, 0x123456]


def hand_made():
    return {
        "one_bit.bmp": bmp(3, 2, 1, 0, [0xA0, 0, 0, 0, 0x60, 0, 0, 0], PAL[:2]),
        "four_bit.bmp": bmp(3, 2, 4, 0, [0x20, 0x10, 0, 0, 0x11, 0x20, 0, 0], PAL),
        "eight_bit.bmp": bmp(3, 2, 8, 0, [6, 5, 4, 0, 3, 2, 1, 0], PAL),
        "rle8.bmp": bmp(4, 3, 8, 1, [4, 1, 0, 0, 0, 3, 2, 3, 4, 0, 1, 5, 0, 0, 0, 2, 1, 0, 2, 6, 0, 1], PAL),
        "rle4.bmp": bmp(4, 2, 4, 2, [4, 0x12, 0, 0, 0, 4, 0x34, 0x56, 0, 1], PAL),
        "rgb24.bmp": bmp(3, 2, 24, 0, [1, 2, 3, 16, 32, 48, 255, 0, 128, 0, 0, 0,
                                       255, 255, 255, 0, 0, 0, 0x33, 0x66, 0x99, 0, 0, 0]),
        "top_down24.bmp": bmp(3, -2, 24, 0, [255, 255, 255, 0, 0, 0, 0x33, 0x66, 0x99, 0, 0, 0,
                                             1, 2, 3, 16, 32, 48, 255, 0, 128, 0, 0, 0]),
        "rgb32.bmp": bmp(2, 1, 32, 0, [0x11, 0x22, 0x33, 0, 0xFF, 0xEE, 0xDD, 0x7F]),
        "fields32.bmp": bmp(2, 1, 32, 3, [0x11, 0x22, 0x33, 0, 0xAB, 0xCD, 0xEF, 0], masks=(0xFF, 0xFF00, 0xFF0000)),
        "rgb555.bmp": bmp(3, 1, 16, 0, [0x00, 0x7C, 0xE0, 0x03, 0x10, 0x42, 0, 0]),
        "rgb565.bmp": bmp(4, 1, 16, 3, [0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0], masks=(0xF800, 0x07E0, 0x001F)),
        "v5_alpha.bmp": bmp(2, 1, 32, 3, [1, 2, 3, 0, 4, 5, 6, 255], masks=(0xFF0000, 0xFF00, 0xFF, 0xFF000000),
                            header=124),
        "core8.bmp": bmp(3, 2, 8, 0, [6, 5, 4, 0, 3, 2, 1, 0], PAL, header=12),
    }


def convert(args, out):
    subprocess.run(["convert"] + args + [out], check=True, stderr=subprocess.DEVNULL)


def from_imagemagick(tmp):
    src = os.path.join(tmp, "src.png")
    convert(["-seed", "3", "-size", "16x12", "plasma:red-blue"], src)
    odd = os.path.join(tmp, "odd.png")
    convert(["-seed", "4", "-size", "17x13", "plasma:green-yellow"], odd)
    for name, args in [("im_true24", ["-type", "truecolor"]), ("im_palette8", ["-colors", "60", "-type", "palette", "-compress", "none"]),
                       ("im_palette4", ["-colors", "12", "-type", "palette", "-compress", "none"]),
                       ("im_rle8", ["-colors", "60", "-type", "palette", "-compress", "rle"]),
                       ("im_mono", ["-monochrome"])]:
        convert([src] + args, "BMP3:" + os.path.join(BMP_DIR, name + ".bmp"))
    convert([src, "-alpha", "set", "-channel", "A", "-evaluate", "set", "50%"], "BMP:" + os.path.join(BMP_DIR, "im_alpha32.bmp"))
    convert([src, "-define", "bmp:subtype=RGB565"], os.path.join(BMP_DIR, "im_rgb565.bmp"))
    jpegs = [("baseline420", src, ["-quality", "75", "-sampling-factor", "2x2"]),
             ("full444", odd, ["-quality", "95", "-sampling-factor", "1x1"]),
             ("progressive", src, ["-quality", "80", "-interlace", "Plane"]),
             ("arithmetic", src, ["-quality", "80", "-define", "jpeg:arithmetic-coding=true"]),
             ("optimised", odd, ["-quality", "60", "-define", "jpeg:optimize-coding=true"]),
             ("grey", src, ["-colorspace", "Gray", "-quality", "85"]),
             ("cmyk", src, ["-colorspace", "CMYK", "-quality", "85"])]
    for name, image, args in jpegs:
        convert([image] + args, os.path.join(JPEG_DIR, name + ".jpg"))
    # Cut inside the scan data, well after the tables.
    big = os.path.join(tmp, "big.jpg")
    convert(["-seed", "5", "-size", "64x48", "plasma:", "-quality", "70"], big)
    with open(big, "rb") as f:
        whole = f.read()
    with open(os.path.join(JPEG_DIR, "truncated.jpg"), "wb") as f:
        f.write(whole[: len(whole) * 2 // 3])


def main():
    os.makedirs(BMP_DIR, exist_ok=True)
    os.makedirs(JPEG_DIR, exist_ok=True)
    for name, data in hand_made().items():
        with open(os.path.join(BMP_DIR, name), "wb") as f:
            f.write(data)
    with tempfile.TemporaryDirectory() as tmp:
        try:
            from_imagemagick(tmp)
        except (OSError, subprocess.CalledProcessError) as e:
            print("make_picture_corpus: ImageMagick files skipped:", e, file=sys.stderr)
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
