#!/usr/bin/env python3
"""Writes the pictures that vyn ships and tests with, all as BMP files.

  data/vynFile/circle.BMP       the default picture: a black filled circle on
                                white, 128 x 128, centred on pixel (64, 64)
  data/bench/ring.BMP           benchmark: a ring, 128 x 128, radii 50 and 30,
                                centred on (63.5, 63.5)
  data/bench/stripes.BMP        benchmark: 256 x 256 of 64 vertical stripes 4
                                pixels wide, black and white in turn (32 black
                                runs a row, the first at column 0)
  tests/gdi/fixtures/good/*.bmp one small picture in every BMP form the loader
                                reads (see FORMS)
  tests/gdi/fixtures/bad/*.bmp  files the loader must refuse

Usage: scripts/make_pictures.py [repository root]   (python3 standard library only)
"""

import os
import struct
import sys

BI_RGB, BI_RLE8, BI_RLE4, BI_BITFIELDS, BI_JPEG, BI_PNG = 0, 1, 2, 3, 4, 5

# The test picture: WIDTH x HEIGHT (odd width, so rows need padding), pixel
# (x, y) (y = 0 at the top) has palette index INDEX(x, y, levels). The tests
# hold the same rule and palette.
WIDTH, HEIGHT = 13, 7
PALETTE = [
    (0, 0, 0), (255, 255, 255), (255, 0, 0), (0, 255, 0),
    (0, 0, 255), (255, 255, 0), (0, 255, 255), (255, 0, 255),
    (128, 64, 32), (32, 64, 128), (254, 255, 255), (17, 34, 51),
    (200, 100, 50), (1, 2, 3), (90, 180, 45), (255, 128, 0),
]


def index(x, y, levels):
    return ((x // 2) * 3 + y * 5) % levels


def picture(levels):
    return [[index(x, y, levels) for x in range(WIDTH)] for y in range(HEIGHT)]


# ---- encoders -------------------------------------------------------------

def file_header(total_size, data_offset):
    return b"BM" + struct.pack("<IHHI", total_size, 0, 0, data_offset)


def info_header(width, height, bits, compression, colors_used=0, size=40, masks=None, image_size=0):
    header = struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression, image_size,
                         2835, 2835, colors_used, 0)
    if size > 40:
        extra = struct.pack("<III", *(masks or (0, 0, 0))) + struct.pack("<I", 0)  # red, green, blue, alpha
        if size >= 108:
            extra += b"sRGB"[::-1] + bytes(36) + bytes(12)  # colour space, endpoints, gamma
        if size >= 124:
            extra += struct.pack("<IIII", 4, 0, 0, 0)  # intent, profile data, profile size, reserved
        header += extra[: size - 40]
    return header


def core_header(width, height, bits):
    return struct.pack("<IHHHH", 12, width, height, 1, bits)


def pad_row(row):
    return row + bytes((-len(row)) % 4)


def pack_indices(indices, bits):
    out = bytearray()
    per_byte = 8 // bits
    for start in range(0, len(indices), per_byte):
        byte = 0
        for i, value in enumerate(indices[start:start + per_byte]):
            byte |= value << (8 - bits * (i + 1))
        out.append(byte)
    return bytes(out)


def rgb_pixel(rgb, bits, fields=None):
    r, g, b = rgb
    if bits == 24:
        return bytes((b, g, r))
    if fields is None:  # BI_RGB defaults: 5-5-5 at 16 bits, 8-8-8 at 32
        fields = ((0x7C00, 0x03E0, 0x001F) if bits == 16 else (0xFF0000, 0x00FF00, 0x0000FF))
    value = 0
    for channel, mask in zip((r, g, b), fields):
        if mask == 0:
            continue
        shift = (mask & -mask).bit_length() - 1
        width = bin(mask).count("1")
        value |= ((channel >> (8 - width)) if width <= 8 else (channel << (width - 8))) << shift
    return struct.pack("<H" if bits == 16 else "<I", value)


def rle_row(indices, bits, min_run):
    """Encoded runs where at least min_run pixels repeat, absolute runs (3 or
    more pixels) elsewhere, single pixels as runs of one."""
    out = bytearray()
    i, n = 0, len(indices)
    while i < n:
        run = 1
        while i + run < n and run < 255 and indices[i + run] == indices[i]:
            run += 1
        if run >= min_run or n - i < 3:
            if bits == 8:
                out += bytes((run, indices[i]))
            else:  # RLE4 runs alternate two nibbles; a one-colour run repeats one
                out += bytes((run, (indices[i] << 4) | indices[i]))
            i += run
            continue
        end = i
        while end < n and end - i < 255 and not all(
                end + k < n and indices[end + k] == indices[end] for k in range(min_run)):
            end += 1
        count = end - i
        if count < 3:
            out += bytes((1, indices[i] if bits == 8 else indices[i] << 4))
            i += 1
            continue
        chunk = indices[i:end]
        data = bytes(chunk) if bits == 8 else pack_indices(chunk, 4)
        out += bytes((0, count)) + data + bytes(len(data) % 2)
        i = end
    return bytes(out) + bytes((0, 0))


def palette_bytes(colors, core):
    return b"".join(bytes((b, g, r)) if core else bytes((b, g, r, 0)) for r, g, b in colors)


def bmp(header, table, pixels, offset_override=None):
    offset = 14 + len(header) + len(table)
    return file_header(offset + len(pixels), offset if offset_override is None else offset_override) + \
        header + table + pixels


def palette_bmp(bits, levels, table_colors, core=False, top_down=False, header_size=40, colors_used=0,
                compression=BI_RGB):
    rows = picture(levels)
    stored = rows if top_down else rows[::-1]
    if compression in (BI_RLE8, BI_RLE4):
        # Even rows take pairs as encoded runs, odd rows keep them in absolute runs.
        pixels = b"".join(rle_row(r, bits, 2 + y % 2) for y, r in enumerate(stored))[:-2] + bytes((0, 1))
    else:
        pixels = b"".join(pad_row(pack_indices(r, bits)) for r in stored)
    height = -HEIGHT if top_down else HEIGHT
    if core:
        header = core_header(WIDTH, HEIGHT, bits)
    else:
        header = info_header(WIDTH, height, bits, compression, colors_used, header_size,
                             image_size=len(pixels))
    return bmp(header, palette_bytes(table_colors, core), pixels)


def direct_bmp(bits, levels, core=False, top_down=False, header_size=40, fields=None):
    rows = picture(levels)
    stored = rows if top_down else rows[::-1]
    pixels = b"".join(pad_row(b"".join(rgb_pixel(PALETTE[i], bits, fields) for i in r)) for r in stored)
    height = -HEIGHT if top_down else HEIGHT
    compression = BI_BITFIELDS if fields else BI_RGB
    if core:
        return bmp(core_header(WIDTH, HEIGHT, bits), b"", pixels)
    header = info_header(WIDTH, height, bits, compression, 0, header_size, masks=fields)
    table = struct.pack("<III", *fields) if fields and header_size == 40 else b""
    return bmp(header, table, pixels)


def full_table(colors, bits):
    return colors + [(0, 0, 0)] * ((1 << bits) - len(colors))


# name: (bytes, levels). Levels say which palette entries the picture uses.
def forms():
    p2, p8, p16 = PALETTE[:2], PALETTE[:8], PALETTE[:16]
    return {
        "core1": (palette_bmp(1, 2, p2, core=True), 2),
        "core4": (palette_bmp(4, 16, p16, core=True), 16),
        "core8": (palette_bmp(8, 16, full_table(p16, 8), core=True), 16),
        "core24": (direct_bmp(24, 16, core=True), 16),
        "info1": (palette_bmp(1, 2, p2), 2),
        "info4": (palette_bmp(4, 16, p16), 16),
        "info4_short_table": (palette_bmp(4, 8, p8, colors_used=8), 8),
        "info8": (palette_bmp(8, 16, full_table(p16, 8)), 16),
        "info8_short_table": (palette_bmp(8, 16, p16, colors_used=16), 16),
        "info8_top_down": (palette_bmp(8, 16, p16, colors_used=16, top_down=True), 16),
        "info16_555": (direct_bmp(16, 8), 8),
        "info16_565_bitfields": (direct_bmp(16, 8, fields=(0xF800, 0x07E0, 0x001F)), 8),
        "info24": (direct_bmp(24, 16), 16),
        "info24_top_down": (direct_bmp(24, 16, top_down=True), 16),
        "info32": (direct_bmp(32, 16), 16),
        "info32_bitfields": (direct_bmp(32, 16, fields=(0x0000FF00, 0x00FF0000, 0xFF000000)), 16),
        "info52_bitfields": (direct_bmp(16, 8, header_size=52, fields=(0x7C00, 0x03E0, 0x001F)), 8),
        "rle8": (palette_bmp(8, 16, p16, colors_used=16, compression=BI_RLE8), 16),
        "rle4": (palette_bmp(4, 16, p16, compression=BI_RLE4), 16),
        "v4_565": (direct_bmp(16, 8, header_size=108, fields=(0xF800, 0x07E0, 0x001F)), 8),
        "v4_24": (direct_bmp(24, 16, header_size=108), 16),
        "v5_8": (palette_bmp(8, 16, p16, colors_used=16, header_size=124), 16),
        "v5_32_top_down": (direct_bmp(32, 16, top_down=True, header_size=124), 16),
    }


def bad_files():
    good = direct_bmp(24, 16)
    rle = palette_bmp(8, 16, PALETTE, colors_used=16, compression=BI_RLE8)
    pixels_24 = bytes(4 * 4)

    def with_header(width, height, bits=24, compression=BI_RGB, payload=pixels_24, size=40, masks=None):
        return bmp(info_header(width, height, bits, compression, size=size, masks=masks), b"", payload)

    return {
        "empty": b"",
        "not_bmp": b"GIF89a" + bytes(64),
        "file_header_only": good[:14],
        "truncated_info_header": good[:30],
        "truncated_pixels": good[:-40],
        "truncated_rle": rle[:len(rle) // 2],
        "zero_width": with_header(0, 4),
        "zero_height": with_header(4, 0),
        "negative_width": with_header(-4, 4),
        "absurd_width": with_header(100000, 1),
        "absurd_height": with_header(1, -100000),
        "too_many_pixels": with_header(32768, 32768),
        "core_too_wide": bmp(core_header(40000, 1, 24), b"", bytes(16)),
        "jpeg_inside": with_header(4, 4, bits=0, compression=BI_JPEG, payload=b"\xff\xd8\xff\xe0" + bytes(60)),
        "png_inside": with_header(4, 4, bits=0, compression=BI_PNG, payload=b"\x89PNG\r\n\x1a\n" + bytes(60)),
        "unknown_compression": with_header(4, 4, compression=9),
        "bitfields_at_24_bits": with_header(4, 4, compression=BI_BITFIELDS, size=52, masks=(0xFF, 0xFF00, 0xFF0000)),
        "rle8_at_4_bits": with_header(4, 4, bits=4, compression=BI_RLE8),
        "rle_top_down": bmp(info_header(4, -4, 8, BI_RLE8, 2), palette_bytes(PALETTE[:2], False), bytes((0, 1))),
        "odd_depth": with_header(4, 4, bits=7),
        "two_planes": bytes(good[:26]) + struct.pack("<H", 2) + bytes(good[28:]),
        "unknown_header_size": bytes(good[:14]) + struct.pack("<I", 64) + bytes(good[18:]),
        "offset_past_end": bytes(good[:10]) + struct.pack("<I", 1 << 30) + bytes(good[14:]),
        "mask_not_contiguous": with_header(2, 2, bits=16, compression=BI_BITFIELDS, size=56,
                                           masks=(0xF00F, 0x00F0, 0x0F00), payload=bytes(8)),
        "masks_overlap": with_header(2, 2, bits=32, compression=BI_BITFIELDS, size=56,
                                     masks=(0xFF00, 0xFFFF, 0xFF), payload=bytes(16)),
        "mask_outside_pixel": with_header(2, 2, bits=16, compression=BI_BITFIELDS, size=56,
                                          masks=(0x7C0000, 0x03E0, 0x001F), payload=bytes(8)),
        "no_colour_table_room": bmp(info_header(2, 2, 8, BI_RGB), b"", bytes(8), offset_override=54),
    }


# ---- the shipped and benchmark pictures ------------------------------------

def two_tone(width, height, black):
    """24-bit BI_RGB bottom-up: black where black(x, y), white elsewhere."""
    rows = []
    for y in reversed(range(height)):
        row = b"".join(b"\x00\x00\x00" if black(x, y) else b"\xff\xff\xff" for x in range(width))
        rows.append(pad_row(row))
    return bmp(info_header(width, height, 24, BI_RGB), b"", b"".join(rows))


def circle():
    return two_tone(128, 128, lambda x, y: (x - 64) ** 2 + (y - 64) ** 2 <= 48 ** 2)


def ring():
    def black(x, y):
        d2 = (x - 63.5) ** 2 + (y - 63.5) ** 2
        return 30 ** 2 <= d2 <= 50 ** 2
    return two_tone(128, 128, black)


def stripes():
    return two_tone(256, 256, lambda x, y: (x // 4) % 2 == 0)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    write(os.path.join(root, "data/vynFile/circle.BMP"), circle())
    write(os.path.join(root, "data/bench/ring.BMP"), ring())
    write(os.path.join(root, "data/bench/stripes.BMP"), stripes())
    for name, (data, _levels) in forms().items():
        write(os.path.join(root, "tests/gdi/fixtures/good", name + ".bmp"), data)
    for name, data in bad_files().items():
        write(os.path.join(root, "tests/gdi/fixtures/bad", name + ".bmp"), data)


if __name__ == "__main__":
    main()
