"""Draw the program's pictures: the window icon and the welcome page's logo.

Run (from the repository root; the outputs go next to this script's folder):

    /usr/bin/python3 tools/make_pictures.py

It writes resources/pictures/hicolor/*.png (the 32 x 32, 16-colour window
icon with alpha, at the desktop's icon sizes; the window uses the 32 px one)
and resources/pictures/logo.png (the 150 x 131 logo of the Welcome page).
The output is the same on every run; commit it.

The pictures are PNG because the toolkit reads a PNG with its own reader,
without loading its image-format plugins.
"""

import io
from pathlib import Path

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

# Centres of the two eye sockets in icon pixels (x right, y down, a pixel's
# centre at +0.5). They must stay under the red eye lights that the window
# draws over the icon while the pointer is on it; move them with the lights.
LEFT_EYE = (11.5, 16.5)
RIGHT_EYE = (21.5, 16.5)

ICON_SIZE = 32
HICOLOR_SIZES = (16, 32, 48, 64, 128, 256)
OUT_DIR = Path(__file__).resolve().parent.parent / "resources" / "pictures"
FONT = "/usr/share/fonts/truetype/liberation2/LiberationMono-Bold.ttf"

# The icon's 16 colours; "." is a transparent pixel (palette 0 under a set
# mask bit). Unused entries stay black.
PALETTE = [
    ("K", (0, 0, 0)),          # outline and eye sockets
    ("d", (36, 26, 56)),       # shadow along the rim
    ("D", (60, 46, 92)),       # the mask's dark face
    ("E", (74, 58, 112)),      # the lit dome
    ("v", (84, 44, 169)),      # the window's violet: brows, nose guard
    ("m", (128, 100, 210)),    # lit edges
    ("L", (192, 192, 255)),    # the window's light violet: the ridge
    ("r", (176, 0, 0)),        # war paint under the eyes
] + [("", (0, 0, 0))] * 8

# Left half of the mask, columns 0 to 16; column 16 is the axis, which lies
# midway between the eye centres, and column 16 + k mirrors column 16 - k.
HALF_FACE = [
    ".................",
    "...........KKKKKK",
    "........KKKdDDDDD",
    "......KKdDDDEEEEE",
    ".....KdDDDEEmmmmm",
    "....KdDDDEmEEEEEE",
    "....KdDDEEEEEEEEE",
    "...KdDDDEEEEEEEEE",
    "...KdDDDDDDDDDDDD",
    "...KdDmmDDDDDDDDD",
    "...KdDvvmmDDDDDDD",
    "...KdDDDvvmmDDDDD",
    "...KdDDDDDvvmmDDD",
    "...KdDDDDDDDvvmmD",
    "...KdDDDDDDDDDvmL",
    "...KdDDDDDDDDDvmL",
    "...KdDDDDDDDDDvmL",
    "...KdDDDDDDDDDvmL",
    "...KdDDDDDDDDDvmL",
    "...KdDDDDDDDDDvmL",
    "....KdDDDDDDDDDvm",
    "....KdDmmmmmDDDvm",
    ".....KdDDDrDDDDdv",
    "......KdDDrDDDDDd",
    ".......KdDrDDKDKD",
    "........KdDDDKDKD",
    ".........KdDDKDKD",
    "..........KdDDDKD",
    "...........KdDDDD",
    "............KKKKK",
    ".................",
    ".................",
]

# The left eye socket, slanting up and out under the brow; the right one is
# its mirror image. SOCKET_CENTRE is the eye centre inside this grid.
SOCKET = [
    "KK.....",
    "KKKKK..",
    "KKKKKKK",
    "KKKKKKK",
    "KKKKKKK",
    "KKKKKKK",
    ".KKKKKK",
    "..KKKK.",
]
SOCKET_CENTRE = (3.5, 4.5)


def icon_pixels():
    """The icon as rows of palette indices, None for transparent."""
    index = {name: i for i, (name, _) in enumerate(PALETTE) if name}
    rows = [list(half + half[15:0:-1]) for half in HALF_FACE]
    for (cx, cy), flip in ((LEFT_EYE, False), (RIGHT_EYE, True)):
        left = round(cx - SOCKET_CENTRE[0])
        top = round(cy - SOCKET_CENTRE[1])
        for dy, line in enumerate(SOCKET):
            for dx, cell in enumerate(line[::-1] if flip else line):
                if cell != ".":
                    rows[top + dy][left + dx] = cell
    return [[None if cell == "." else index[cell] for cell in row] for row in rows]


def icon_image(pixels):
    image = Image.new("RGBA", (ICON_SIZE, ICON_SIZE), (0, 0, 0, 0))
    for y, row in enumerate(pixels):
        for x, p in enumerate(row):
            if p is not None:
                image.putpixel((x, y), PALETTE[p][1] + (255,))
    return image


# The logo is drawn SUPERSAMPLE times larger and scaled down, for smooth edges.
LOGO_SIZE = (150, 131)
SUPERSAMPLE = 4
PAGE_VIOLET = (84, 44, 169)    # the Welcome page behind the logo
PLATE = (18, 12, 28)
GREY = (128, 128, 128)         # the title bar's corner circle
DARK_RED = (150, 0, 0)
RED = (220, 0, 0)
LIGHT_VIOLET = (192, 192, 255)
EMBLEM = (75, 47, 38)          # centre x, centre y and radius of the grey disc
MASK_SCALE = 2.25              # logo pixels per icon pixel

# The icon's mask as shapes, in icon pixels with x measured from the axis.
# Left halves; the right halves are mirror images.
HEAD = [(0, 1), (-5.5, 1), (-8.5, 2), (-10.5, 3), (-12, 4.5), (-13.5, 7), (-13.5, 20),
        (-12.5, 22), (-9.5, 26), (-6, 29), (-4, 30)]
BROW = [(-11, 8.8), (-1.2, 13.0), (-1.2, 14.8), (-11, 10.6)]
BROW_EDGE = [(-10.6, 9.1), (-1.4, 13.3)]
EYE = [(-8.6, 11.6), (-1.8, 14.4), (-1.8, 18.8), (-3.6, 20.2), (-6.6, 20.2), (-8.6, 18.4)]
EYE_LIGHT = (-5, 16.5)
NOSE_GUARD = [(-1.6, 12), (1.6, 12), (1.6, 21), (0, 23), (-1.6, 21)]
RIDGE = [(-0.5, 12.5), (0.5, 12.5), (0.5, 20.5), (0, 21.5), (-0.5, 20.5)]
CHEEK = [(-10.5, 21.6), (-5, 21.6)]
WAR_PAINT = [(-6, 22.6), (-6, 25.6)]
MOUTH_SLITS = [(-3, 26.8), (-1, 27.8), (1, 27.8), (3, 26.8)]  # x and lower end
MOUTH_TOP = 24.2
MASK_MIDDLE = 15.5


def mirrored(points):
    return [(-x, y) for x, y in points]


def both_halves(left_half):
    return left_half + mirrored(left_half[::-1])


class Canvas:
    """The supersampled logo with the mask placed on the grey disc."""

    def __init__(self):
        width, height = LOGO_SIZE
        self.image = Image.new("RGB", (width * SUPERSAMPLE, height * SUPERSAMPLE), PAGE_VIOLET)
        self.draw = ImageDraw.Draw(self.image)

    @staticmethod
    def px(value):
        return round(value * SUPERSAMPLE)

    def box(self, left, top, right, bottom):
        return (self.px(left), self.px(top), self.px(right) - 1, self.px(bottom) - 1)

    def mask_points(self, points):
        cx, cy, _ = EMBLEM
        return [(self.px(cx + x * MASK_SCALE), self.px(cy + (y - MASK_MIDDLE) * MASK_SCALE))
                for x, y in points]

    def layer(self, shape, points):
        """A coverage layer holding one filled shape of the mask."""
        layer = Image.new("L", self.image.size, 0)
        getattr(ImageDraw.Draw(layer), shape)(self.mask_points(points), fill=255)
        return layer

    def paint(self, colour, coverage):
        self.image.paste(Image.new("RGB", self.image.size, colour), (0, 0), coverage)

    def spaced_text(self, top, text, size, colour, spacing):
        font = ImageFont.truetype(FONT, self.px(size))
        width = sum(font.getlength(c) for c in text) + self.px(spacing) * (len(text) - 1)
        x = self.px(LOGO_SIZE[0] / 2) - width / 2
        for c in text:
            self.draw.text((x, self.px(top)), c, font=font, fill=colour)
            x += font.getlength(c) + self.px(spacing)


def draw_plate(canvas):
    d = canvas.draw
    d.rounded_rectangle(canvas.box(3, 3, 147, 128), radius=canvas.px(12), fill=PLATE,
                        outline=GREY, width=canvas.px(2))
    d.rounded_rectangle(canvas.box(7, 7, 143, 124), radius=canvas.px(9), outline=DARK_RED,
                        width=canvas.px(1))
    cx, cy, r = EMBLEM
    d.rectangle(canvas.box(12, cy - 1, 138, cy + 1), fill=GREY)
    d.rectangle(canvas.box(12, cy + 3, 138, cy + 3.8), fill=DARK_RED)
    d.ellipse(canvas.box(cx - r, cy - r, cx + r, cy + r), fill=GREY, outline=(0, 0, 0),
              width=canvas.px(1.5))


def draw_mask(canvas):
    colour = dict(PALETTE)
    d = canvas.draw
    d.polygon(canvas.mask_points(both_halves(HEAD)), fill=colour["d"], outline=colour["K"],
              width=canvas.px(1.2))
    face = [(x * 0.9, MASK_MIDDLE + (y - MASK_MIDDLE) * 0.93) for x, y in both_halves(HEAD)]
    d.polygon(canvas.mask_points(face), fill=colour["D"])
    dome = ImageChops.multiply(canvas.layer("ellipse", [(-9.5, 2.2), (9.5, 13)]),
                               canvas.layer("polygon", face))
    canvas.paint(colour["E"], dome)
    (left, top), (right, bottom) = canvas.mask_points([(-7, 3.2), (7, 11)])
    d.arc((left, top, right, bottom), 200, 340, fill=colour["m"], width=canvas.px(1.2))
    for side in (lambda p: p, mirrored):
        d.polygon(canvas.mask_points(side(BROW)), fill=colour["v"])
        d.line(canvas.mask_points(side(BROW_EDGE)), fill=colour["m"], width=canvas.px(0.9))
        d.polygon(canvas.mask_points(side(EYE)), fill=colour["K"])
        d.line(canvas.mask_points(side(CHEEK)), fill=colour["m"], width=canvas.px(1.6))
        d.line(canvas.mask_points(side(WAR_PAINT)), fill=colour["r"], width=canvas.px(1.6))
    d.polygon(canvas.mask_points(NOSE_GUARD), fill=colour["m"])
    d.polygon(canvas.mask_points(RIDGE), fill=colour["L"])
    for x, bottom in MOUTH_SLITS:
        d.line(canvas.mask_points([(x, MOUTH_TOP), (x, bottom)]), fill=colour["K"],
               width=canvas.px(1.2))


def draw_eye_lights(canvas):
    """The lit eyes, as the window shows them under the pointer: a red glow and a bright core."""
    glow = Image.new("L", canvas.image.size, 0)
    core = Image.new("L", canvas.image.size, 0)
    offset, y = EYE_LIGHT
    for x in (offset, -offset):
        for layer, r in ((glow, 2.6), (core, 1.7)):
            ImageDraw.Draw(layer).ellipse(canvas.mask_points([(x - r, y - r), (x + r, y + r)]),
                                          fill=255)
    canvas.paint((255, 0, 0), glow.filter(ImageFilter.GaussianBlur(canvas.px(2.5))))
    canvas.paint((255, 40, 40), core)


def draw_lettering(canvas):
    canvas.spaced_text(88, "TOLVEX", 22, LIGHT_VIOLET, 1)
    canvas.spaced_text(110, "DEVOZ", 13, RED, 4)
    for left in (17, 109):
        canvas.draw.rectangle(canvas.box(left, 117, left + 24, 118.4), fill=GREY)


def logo_image():
    canvas = Canvas()
    draw_plate(canvas)
    draw_mask(canvas)
    draw_eye_lights(canvas)
    draw_lettering(canvas)
    return canvas.image.resize(LOGO_SIZE, Image.Resampling.LANCZOS)


def main():
    OUT_DIR.mkdir(parents=True, exist_ok=True)
    pixels = icon_pixels()
    # Pixel art is scaled without smoothing, so that its pixels stay square and sharp.
    (OUT_DIR / "hicolor").mkdir(exist_ok=True)
    for size in HICOLOR_SIZES:
        icon_image(pixels).resize((size, size), Image.Resampling.NEAREST).save(OUT_DIR / "hicolor" / f"{size}.png")
    # The logo keeps the pixels of its first release, a baseline JPEG at quality 92 with
    # full-resolution colour (so the red stays sharp), decoded as the toolkit decodes it.
    jpeg = io.BytesIO()
    logo_image().save(jpeg, "JPEG", quality=92, subsampling=0, progressive=False, optimize=False)
    Image.open(jpeg).save(OUT_DIR / "logo.png", optimize=True)


if __name__ == "__main__":
    main()
