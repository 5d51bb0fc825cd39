#!/usr/bin/python3
"""Checks that the Windows icon holds exactly the three classic images, each readable by any
Windows version: 32x32 2 colours, 32x32 16 colours, 16x16 16 colours, bitmaps with AND masks.

The icon is read by icoutils' icotool, not by code that shares make_icons.py's idea of the
format: its listing gives the images, and each image it extracts shows what the AND mask leaves
transparent.

Usage: check_icon.py ICOTOOL orvanta.ico
"""

import io
import re
import subprocess
import sys

# Debian's Python, with its python3-pil (scripts/install-deps test).
from PIL import Image

# width, height, bit depth, palette size. A PNG inside would list as 32 bits and no palette,
# which Windows before Vista cannot draw.
EXPECTED = [(32, 32, 1, 2), (32, 32, 4, 16), (16, 16, 4, 16)]
LISTED = re.compile(r"--icon --index=(\d+) --width=(\d+) --height=(\d+) --bit-depth=(\d+) "
                    r"--palette-size=(\d+)")


def listed_images(listing):
    """[(index, width, height, depth, palette)] of icotool -l's lines; ValueError for a line
    that is not an icon's."""
    images = []
    for line in listing.splitlines():
        match = LISTED.fullmatch(line.strip())
        if not match:
            raise ValueError("icotool lists %r, which is not an icon image" % line)
        images.append(tuple(int(n) for n in match.groups()))
    return images


def check_listing(images):
    errors = []
    if len(images) != len(EXPECTED):
        return ["%d images, expected %d" % (len(images), len(EXPECTED))]
    for position, ((index, *found), wanted) in enumerate(zip(images, EXPECTED), start=1):
        if index != position:
            errors.append("image %d is listed as index %d" % (position, index))
        if tuple(found) != wanted:
            errors.append("image %d is %dx%d, %d bpp, %d colours; expected %dx%d, %d bpp, "
                          "%d colours" % (position, *found, *wanted))
    return errors


def check_mask(position, picture):
    """The AND mask as the extracted image's alpha: the corners transparent, the centre not."""
    size = picture.width
    alpha = picture.convert("RGBA").getchannel("A")
    if alpha.getpixel((0, 0)) != 0 or alpha.getpixel((size // 2, size // 2)) == 0:
        return ["image %d: the AND mask should leave the corners transparent and the centre "
                "opaque" % position]
    return []


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip())
    icotool, icon = sys.argv[1:]
    try:
        listing = subprocess.run([icotool, "-l", icon], check=True, capture_output=True,
                                 text=True).stdout
        images = listed_images(listing)
    except (subprocess.CalledProcessError, ValueError) as error:
        print("%s: %s" % (icon, getattr(error, "stderr", None) or error), file=sys.stderr)
        return 1
    errors = check_listing(images)
    for position in range(1, len(images) + 1) if not errors else ():
        extracted = subprocess.run([icotool, "-x", "-i", str(position), "-o", "-", icon],
                                   check=True, capture_output=True).stdout
        errors += check_mask(position, Image.open(io.BytesIO(extracted)))
    for error in errors:
        print("%s: %s" % (icon, error), file=sys.stderr)
    if not errors:
        print("%s: %d images as expected" % (icon, len(EXPECTED)))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
