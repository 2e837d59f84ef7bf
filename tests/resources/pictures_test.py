"""Checks the committed pictures: the 32 x 32, 16-colour icon with dark eye sockets where the
window draws its eye lights, the same picture as PNG, and the 150 x 131 baseline JPEG logo.

    /usr/bin/python3 tests/resources/pictures_test.py resources/pictures
"""

import struct
import sys
import unittest
from pathlib import Path

from PIL import Image

# Where the window draws its two red eye lights over the icon (icon pixels); these must
# follow the eye lights if the window ever moves them.
EYE_LIGHTS = [(x, y) for y in range(15, 19) for x in (*range(10, 13), *range(20, 23))]
PICTURES = Path(sys.argv.pop(1)) if len(sys.argv) > 1 else None


class Icon(unittest.TestCase):
    def setUp(self):
        self.data = (PICTURES / "tolvex.ico").read_bytes()

    def test_one_16_colour_image_of_744_bytes(self):
        reserved, kind, count = struct.unpack_from("<HHH", self.data, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 1))
        width, height, colours, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", self.data, 6)
        self.assertEqual((width, height, colours, planes, bits), (32, 32, 16, 1, 4))
        self.assertEqual((size, offset, len(self.data)), (744, 22, 22 + 744))
        header = struct.unpack_from("<IiiHH", self.data, 22)
        self.assertEqual(header, (40, 32, 64, 1, 4))

    def test_eye_sockets_are_dark_and_opaque(self):
        picture = Image.open(PICTURES / "tolvex.ico").convert("RGBA")
        self.assertEqual(picture.size, (32, 32))
        for point in EYE_LIGHTS:
            red, green, blue, alpha = picture.getpixel(point)
            self.assertEqual(alpha, 255, point)
            self.assertLess(max(red, green, blue), 48, point)
        self.assertEqual(picture.getpixel((0, 0))[3], 0, "the corner is transparent")

    def test_png_is_the_same_picture(self):
        icon = Image.open(PICTURES / "tolvex.ico").convert("RGBA")
        png = Image.open(PICTURES / "tolvex.png").convert("RGBA")
        self.assertEqual(list(icon.getdata()), list(png.getdata()))


class Logo(unittest.TestCase):
    def test_baseline_jpeg_150_by_131(self):
        data = (PICTURES / "logo.jpg").read_bytes()
        self.assertEqual(data[:2], b"\xff\xd8")
        self.assertEqual(data[6:11], b"JFIF\x00")
        self.assertNotIn(b"\xff\xc2", data, "progressive")
        sof = data.index(b"\xff\xc0")
        precision, height, width, components = struct.unpack_from(">BHHB", data, sof + 4)
        self.assertEqual((precision, width, height, components), (8, 150, 131, 3))


if __name__ == "__main__":
    if PICTURES is None:
        sys.exit("usage: pictures_test.py <resources/pictures folder>")
    unittest.main(verbosity=2)
