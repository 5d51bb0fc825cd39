#!/usr/bin/env python3
"""Checks that the Windows icon holds exactly the three classic images, each readable by any
Windows version: 32x32 2 colours, 32x32 16 colours, 16x16 16 colours, bitmaps with AND masks.

Usage: check_icon.py orvanta.ico
"""

import struct
import sys

EXPECTED = ((32, 2, 1), (32, 16, 4), (16, 16, 4))  # size, colour count, bits per pixel


def row_bytes(width, depth):
    return (width * depth + 31) // 32 * 4


def mask_bit(mask, size, x, y):
    """1 where the pixel is transparent; rows are stored bottom-up."""
    row = mask[(size - 1 - y) * row_bytes(size, 1):]
    return (row[x // 8] >> (7 - x % 8)) & 1


def check_image(data, entry_index, size, colours, depth, length, offset):
    where = "image %d (%dx%d, %d colours)" % (entry_index, size, size, colours)
    if offset + length > len(data):
        return ["%s runs past the end of the file" % where]
    (header_size, width, height, planes, bit_count, compression) = struct.unpack_from(
        "<IiiHHI", data, offset)
    errors = []
    if header_size != 40:
        errors.append("%s is not a BITMAPINFOHEADER bitmap (PNG or other header)" % where)
        return errors
    if (width, height) != (size, 2 * size):
        errors.append("%s header says %dx%d, expected %dx%d (colour bitmap and mask)"
                      % (where, width, height, size, 2 * size))
    if (planes, bit_count, compression) != (1, depth, 0):
        errors.append("%s has planes %d, %d bpp, compression %d; expected 1, %d bpp, none"
                      % (where, planes, bit_count, compression, depth))
    palette = 4 * (1 << depth)
    colour_bitmap = row_bytes(size, depth) * size
    mask = row_bytes(size, 1) * size
    if length != header_size + palette + colour_bitmap + mask:
        errors.append("%s is %d bytes; header, palette, bitmap and AND mask make %d"
                      % (where, length, header_size + palette + colour_bitmap + mask))
        return errors
    mask_data = data[offset + length - mask:offset + length]
    if mask_bit(mask_data, size, 0, 0) != 1 or mask_bit(mask_data, size, size // 2, size // 2):
        errors.append("%s: the AND mask should leave the corners transparent and the centre "
                      "opaque" % where)
    return errors


def check(data):
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if (reserved, kind) != (0, 1):
        return ["not an icon file (reserved %d, type %d)" % (reserved, kind)]
    if count != len(EXPECTED):
        return ["%d images, expected %d" % (count, len(EXPECTED))]
    errors = []
    end = 6 + 16 * count
    for index, (size, colours, depth) in enumerate(EXPECTED):
        (width, height, colour_count, _, planes, bit_count, length, offset) = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * index)
        found = (width, height, colour_count, planes, bit_count)
        if found != (size, size, colours, 1, depth):
            errors.append("directory entry %d is %dx%d, %d colours, %d planes, %d bpp; expected "
                          "%dx%d, %d colours, 1 plane, %d bpp"
                          % ((index,) + found + (size, size, colours, depth)))
            continue
        if offset != end:
            errors.append("image %d starts at %d, expected %d (right after the previous one)"
                          % (index, offset, end))
        errors += check_image(data, index, size, colours, depth, length, offset)
        end = offset + length
    if not errors and end != len(data):
        errors.append("%d stray bytes after the last image" % (len(data) - end))
    return errors


def main():
    with open(sys.argv[1], "rb") as f:
        errors = check(f.read())
    for error in errors:
        print("%s: %s" % (sys.argv[1], error), file=sys.stderr)
    if not errors:
        print("%s: %d images as expected" % (sys.argv[1], len(EXPECTED)))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
