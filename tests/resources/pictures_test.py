"""Checks the committed pictures by reading their bytes.

    /usr/bin/python3 tests/resources/pictures_test.py resources/pictures

The window icon must be the one 32 x 32, 16-colour icon image that the
window and the program's icon resource carry, with dark, opaque eye sockets
under the eye lights; tolvex.png must be the same picture; the logo must be
a 150 x 131 baseline JPEG.
"""

import struct
import sys
import unittest
import zlib
from pathlib import Path

# Where the window draws its two red eye lights over the icon: centres in
# icon pixels (x right, y down, a pixel's centre at +0.5) and the size of a
# dot. These must follow the eye lights whenever the window moves them.
EYE_LIGHT_CENTRES = ((11.5, 16.5), (21.5, 16.5))
EYE_LIGHT_SIZE = 5
# The brightest channel an eye-socket pixel may have and still look dark.
DARK_LIMIT = 48

SIZE = 32

PICTURES = None


class Icon:
    """The one image of tolvex.ico, decoded from the file's bytes."""

    def __init__(self, data):
        self.data = data
        self.header = struct.unpack_from("<IiiHHIIiiII", data, 22)
        self.palette = [tuple(data[62 + 4 * i:66 + 4 * i]) for i in range(16)]
        self.xor = data[126:126 + SIZE * SIZE // 2]
        self.mask = data[126 + SIZE * SIZE // 2:]

    def index(self, x, y):
        """The palette index of pixel (x, y), counted from the top left."""
        byte = self.xor[(SIZE - 1 - y) * SIZE // 2 + x // 2]
        return byte >> 4 if x % 2 == 0 else byte & 0x0F

    def transparent(self, x, y):
        byte = self.mask[(SIZE - 1 - y) * SIZE // 8 + x // 8]
        return bool(byte & (0x80 >> (x % 8)))

    def rgb(self, x, y):
        blue, green, red, _ = self.palette[self.index(x, y)]
        return red, green, blue


def eye_light_pixels(centre):
    cx, cy = centre
    left = round(cx - EYE_LIGHT_SIZE / 2)
    top = round(cy - EYE_LIGHT_SIZE / 2)
    return [(x, y) for y in range(top, top + EYE_LIGHT_SIZE)
            for x in range(left, left + EYE_LIGHT_SIZE)]


def png_rgba(data):
    """Width, height and rows of (r, g, b, a) of an 8-bit RGBA, non-interlaced PNG."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("no PNG signature")
    pos, header, compressed = 8, None, b""
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        if zlib.crc32(kind + body) != struct.unpack_from(">I", data, pos + 8 + length)[0]:
            raise ValueError(f"bad CRC in chunk {kind!r}")
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
        elif kind == b"IEND":
            break
        pos += 12 + length
    width, height, depth, colour_type, _, _, interlace = header
    if (depth, colour_type, interlace) != (8, 6, 0):
        raise ValueError(f"not 8-bit RGBA without interlace: {header}")
    raw = zlib.decompress(compressed)
    stride = width * 4
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            a = line[i - 4] if i >= 4 else 0
            b = previous[i]
            c = previous[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                predictor = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + predictor) & 0xFF
            elif kind != 0:
                raise ValueError(f"unknown PNG filter {kind}")
        rows.append([tuple(line[x:x + 4]) for x in range(0, stride, 4)])
        previous = line
    return width, height, rows


def jpeg_segments(data):
    """The (marker, body) pairs of a JPEG up to its start of scan, and whether it ends with EOI."""
    if data[:2] != b"\xff\xd8":
        raise ValueError("no SOI marker")
    segments, pos = [], 2
    while True:
        if data[pos] != 0xFF:
            raise ValueError(f"no marker at byte {pos}")
        marker = data[pos + 1]
        length = struct.unpack_from(">H", data, pos + 2)[0]
        segments.append((marker, data[pos + 4:pos + 2 + length]))
        pos += 2 + length
        if marker == 0xDA:
            return segments, data.endswith(b"\xff\xd9")


class IconTest(unittest.TestCase):
    def setUp(self):
        self.data = (PICTURES / "tolvex.ico").read_bytes()
        self.icon = Icon(self.data)

    def test_file_holds_exactly_one_image(self):
        self.assertEqual(len(self.data), 766)

    def test_directory(self):
        self.assertEqual(struct.unpack_from("<HHH", self.data, 0), (0, 1, 1))
        width, height, colours, reserved, planes, bits, size, offset = struct.unpack_from(
            "<BBBBHHII", self.data, 6)
        self.assertEqual((width, height, colours, reserved), (32, 32, 16, 0))
        self.assertEqual((planes, bits), (1, 4))
        self.assertEqual((size, offset), (744, 22))

    def test_bitmap_header(self):
        (header_size, width, height, planes, bits, compression, _, _, _,
         used, _) = self.icon.header
        self.assertEqual(header_size, 40)
        # An icon's height counts the colour bitmap and the mask together.
        self.assertEqual((width, height), (32, 64))
        self.assertEqual((planes, bits, compression), (1, 4, 0))
        self.assertIn(used, (0, 16))

    def test_palette_reserved_bytes_are_zero(self):
        self.assertEqual([entry[3] for entry in self.icon.palette], [0] * 16)

    def test_transparent_pixels_are_black_so_the_background_shows(self):
        transparent = [(x, y) for y in range(SIZE) for x in range(SIZE)
                       if self.icon.transparent(x, y)]
        for corner in ((0, 0), (SIZE - 1, 0), (0, SIZE - 1), (SIZE - 1, SIZE - 1)):
            self.assertIn(corner, transparent)
        for x, y in transparent:
            self.assertEqual(self.icon.index(x, y), 0, (x, y))

    def test_eye_sockets_are_dark_and_opaque_under_the_eye_lights(self):
        for centre in EYE_LIGHT_CENTRES:
            for x, y in eye_light_pixels(centre):
                with self.subTest(centre=centre, pixel=(x, y)):
                    self.assertFalse(self.icon.transparent(x, y))
                    self.assertLessEqual(max(self.icon.rgb(x, y)), DARK_LIMIT)

    def test_mask_is_symmetric_about_the_line_between_the_eyes(self):
        axis = round(sum(x for x, _ in EYE_LIGHT_CENTRES) / 2 - 0.5)
        reach = min(axis, SIZE - 1 - axis)
        for y in range(SIZE):
            for k in range(1, reach + 1):
                left, right = (axis - k, y), (axis + k, y)
                with self.subTest(left=left, right=right):
                    self.assertEqual(self.icon.transparent(*left), self.icon.transparent(*right))
                    self.assertEqual(self.icon.rgb(*left), self.icon.rgb(*right))

    def test_png_is_the_same_picture_with_alpha(self):
        width, height, rows = png_rgba((PICTURES / "tolvex.png").read_bytes())
        self.assertEqual((width, height), (SIZE, SIZE))
        for y in range(SIZE):
            for x in range(SIZE):
                red, green, blue, alpha = rows[y][x]
                with self.subTest(pixel=(x, y)):
                    if self.icon.transparent(x, y):
                        self.assertEqual(alpha, 0)
                    else:
                        self.assertEqual((red, green, blue, alpha), self.icon.rgb(x, y) + (255,))


class LogoTest(unittest.TestCase):
    def setUp(self):
        self.segments, self.ends_with_eoi = jpeg_segments(
            (PICTURES / "logo.jpg").read_bytes())
        self.markers = [marker for marker, _ in self.segments]

    def test_starts_with_a_jfif_header(self):
        marker, body = self.segments[0]
        self.assertEqual(marker, 0xE0)
        self.assertEqual(body[:5], b"JFIF\x00")

    def test_baseline_frame_of_150_by_131_in_three_8_bit_components(self):
        frames = [(marker, body) for marker, body in self.segments
                  if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC)]
        self.assertEqual([marker for marker, _ in frames], [0xC0])
        precision, height, width, components = struct.unpack_from(">BHHB", frames[0][1])
        self.assertEqual((precision, height, width, components), (8, 131, 150, 3))

    def test_is_not_progressive(self):
        self.assertNotIn(0xC2, self.markers)

    def test_has_tables_and_ends_with_eoi(self):
        self.assertIn(0xDB, self.markers)
        self.assertIn(0xC4, self.markers)
        self.assertTrue(self.ends_with_eoi)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit("usage: pictures_test.py <resources/pictures dir> [unittest options]")
    PICTURES = Path(sys.argv[1])
    unittest.main(argv=[sys.argv[0]] + sys.argv[2:])
