#!/usr/bin/python3
# Draws the window's images into resources/ (run: /usr/bin/python3 scripts/make_images.py).
import math
import os
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFont

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
FONT_DIR = "/usr/share/fonts/opentype/noto"
SS = 4  # everything is drawn at 4x and averaged down, which gives clean anti-aliasing
SC_INDEX = 2  # Simplified Chinese face inside the CJK collections

INK = (47, 59, 76, 255)
BLUE = (59, 110, 165, 255)
BLUE_LIGHT = (214, 228, 243, 255)
TEAL = (42, 157, 143, 255)
GREEN = (58, 167, 109, 255)
RED = (214, 83, 79, 255)
AMBER = (233, 162, 59, 255)
AMBER_LIGHT = (250, 224, 170, 255)
GREY = (138, 148, 166, 255)
GREY_LIGHT = (226, 231, 238, 255)
PAPER = (255, 255, 255, 255)
GOLD = ((242, 196, 72, 255), (196, 146, 28, 255))
SILVER = ((205, 213, 222, 255), (140, 152, 166, 255))
BRONZE = ((214, 146, 96, 255), (156, 94, 52, 255))


def font(size, bold=True):
    name = "NotoSansCJK-Bold.ttc" if bold else "NotoSansCJK-Regular.ttc"
    return ImageFont.truetype(os.path.join(FONT_DIR, name), int(size), index=SC_INDEX)


def alpha(color, a):
    return color[:3] + (a,)


class Canvas:
    """A w x h picture whose drawing calls take coordinates in design units.

    One unit is `unit` output pixels; icons are designed on a 24-unit grid and
    rendered at 16, 24 or 32 pixels by choosing the unit."""

    def __init__(self, w, h, unit=1.0, bg=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.k = SS * unit
        self.img = Image.new("RGBA", (w * SS, h * SS), bg)

    def _box(self, x0, y0, x1, y1):
        k = self.k
        return [x0 * k, y0 * k, x1 * k - 1, y1 * k - 1]

    def _draw(self, fn, colors):
        # Opaque shapes go straight in; translucent ones are composited from a layer.
        if all(c is None or c[3] == 255 for c in colors):
            fn(ImageDraw.Draw(self.img))
            return
        layer = Image.new("RGBA", self.img.size, (0, 0, 0, 0))
        fn(ImageDraw.Draw(layer))
        self.img.alpha_composite(layer)

    def rect(self, x0, y0, x1, y1, fill=None, outline=None, width=0, r=0):
        box, w = self._box(x0, y0, x1, y1), round(width * self.k)
        radius = r * self.k
        self._draw(
            lambda d: d.rounded_rectangle(box, radius=radius, fill=fill, outline=outline, width=w),
            [fill, outline],
        )

    def circle(self, cx, cy, r, fill=None, outline=None, width=0):
        box, w = self._box(cx - r, cy - r, cx + r, cy + r), round(width * self.k)
        self._draw(lambda d: d.ellipse(box, fill=fill, outline=outline, width=w), [fill, outline])

    def clear_circle(self, cx, cy, r):
        """Makes a disc transparent, so that what is drawn on it stands apart on any background."""
        self._clear(lambda d: d.ellipse(self._box(cx - r, cy - r, cx + r, cy + r), fill=255))

    def clear_rect(self, x0, y0, x1, y1, r=0):
        box, radius = self._box(x0, y0, x1, y1), r * self.k
        self._clear(lambda d: d.rounded_rectangle(box, radius=radius, fill=255))

    def _clear(self, fn):
        mask = Image.new("L", self.img.size, 0)
        fn(ImageDraw.Draw(mask))
        self.img.putalpha(ImageChops.subtract(self.img.getchannel("A"), mask))

    def poly(self, pts, fill):
        pts = [(x * self.k, y * self.k) for x, y in pts]
        self._draw(lambda d: d.polygon(pts, fill=fill), [fill])

    def line(self, pts, color, width):
        """A polyline with round joints and caps."""
        k, w = self.k, width * self.k
        pts = [(x * k, y * k) for x, y in pts]

        def draw(d):
            d.line(pts, fill=color, width=round(w), joint="curve")
            for x, y in (pts[0], pts[-1]):
                d.ellipse([x - w / 2, y - w / 2, x + w / 2, y + w / 2], fill=color)

        self._draw(draw, [color])

    def arc(self, cx, cy, r, start, end, color, width):
        """An arc whose stroke is centred on radius r; angles run clockwise from 3 o'clock."""
        o = r + width / 2
        box, w = self._box(cx - o, cy - o, cx + o, cy + o), round(width * self.k)
        self._draw(lambda d: d.arc(box, start, end, fill=color, width=w), [color])

    def text(self, x, y, s, size, color, bold=True, anchor="mm"):
        f = font(size * self.k, bold)
        pos = (x * self.k, y * self.k)
        self._draw(lambda d: d.text(pos, s, font=f, fill=color, anchor=anchor), [color])

    def gradient(self, top_left, bottom_right):
        """Fills the whole canvas with a diagonal two-colour gradient."""
        size = self.img.size
        vertical = Image.linear_gradient("L")
        diagonal = ImageChops.add(vertical, vertical.rotate(90), scale=2)
        mask = diagonal.resize(size, Image.BILINEAR)
        a = Image.new("RGBA", size, top_left)
        b = Image.new("RGBA", size, bottom_right)
        self.img = Image.composite(b, a, mask)

    def result(self):
        return self.img.resize((self.w, self.h), Image.BOX)


def icon(size):
    return Canvas(size, size, size / 24.0)


# ---- pictograms on the 24-unit grid ----------------------------------------


def document(c, x, y, w, h, body=PAPER, edge=BLUE, lines=3, fold=5):
    c.poly([(x, y), (x + w - fold, y), (x + w, y + fold), (x + w, y + h), (x, y + h)], edge)
    c.poly(
        [(x + 1.6, y + 1.6), (x + w - fold - 0.6, y + 1.6), (x + w - 1.6, y + fold + 0.6),
         (x + w - 1.6, y + h - 1.6), (x + 1.6, y + h - 1.6)],
        body,
    )
    c.poly([(x + w - fold, y), (x + w - fold, y + fold), (x + w, y + fold)], edge)
    for i in range(lines):
        ly = y + fold + 3 + i * 3.2
        if ly < y + h - 3:
            c.line([(x + 4, ly), (x + w - 4.5 - (i % 2) * 2.5, ly)], alpha(edge, 200), 1.4)


def badge(c, cx, cy, color, mark, r=5.6, ring=None):
    """A round mark in a corner, set apart by a transparent ring or one of colour `ring`."""
    if ring:
        c.circle(cx, cy, r + 1.2, fill=ring)
    else:
        c.clear_circle(cx, cy, r + 1.2)
    c.circle(cx, cy, r, fill=color)
    if mark == "plus":
        c.line([(cx - 2.8, cy), (cx + 2.8, cy)], PAPER, 1.9)
        c.line([(cx, cy - 2.8), (cx, cy + 2.8)], PAPER, 1.9)
    elif mark == "check":
        c.line([(cx - 2.8, cy + 0.2), (cx - 0.7, cy + 2.3), (cx + 3, cy - 2.2)], PAPER, 1.9)


def clipboard(c, x, y, w, h, color=BLUE):
    c.rect(x, y + 2, x + w, y + h, fill=color, r=2.5)
    c.rect(x + 2, y + 4.5, x + w - 2, y + h - 2, fill=PAPER, r=1)
    c.rect(x + w / 2 - 4, y, x + w / 2 + 4, y + 5, fill=INK, r=1.5)


def magnifier(c, cx, cy, r, color=BLUE, width=2.4):
    c.circle(cx, cy, r, fill=alpha(BLUE_LIGHT, 255), outline=color, width=width)
    d = r * 0.72
    c.line([(cx + d + 0.6, cy + d + 0.6), (cx + d + 5.5, cy + d + 5.5)], color, width + 1.2)


def person(c, cx, top, scale, color):
    c.circle(cx, top + 4 * scale, 4 * scale, fill=color)
    c.rect(cx - 7 * scale, top + 9.5 * scale, cx + 7 * scale, top + 20 * scale, fill=color,
           r=6 * scale)


def floppy(c, color=BLUE):
    c.poly([(3, 3), (18, 3), (21, 6), (21, 21), (3, 21)], color)
    c.rect(7, 3, 16, 9.5, fill=PAPER, r=0.8)
    c.rect(13, 4.3, 15, 8.2, fill=color)
    c.rect(6, 13, 18, 21, fill=GREY_LIGHT, r=1)


def pencil(c, x, y, color=AMBER):
    c.line([(x, y), (x + 7, y - 7)], INK, 4.2)
    c.line([(x + 0.6, y - 0.6), (x + 6.6, y - 6.6)], color, 2.6)
    c.poly([(x - 2.4, y + 2.4), (x - 0.6, y - 1.2), (x + 1.2, y + 0.6)], INK)


def status(c, color):
    c.circle(12, 12, 10, fill=color)


def bars(c, heights, colors, x0=4, w=4.2, gap=1.4, base=20):
    for i, (h, col) in enumerate(zip(heights, colors)):
        x = x0 + i * (w + gap)
        c.rect(x, base - h, x + w, base, fill=col, r=1)


def curved_arrow(c, mirror):
    def m(x):
        return 24 - x if mirror else x

    start, end = (90, 270) if mirror else (270, 90)
    c.arc(m(13), 13.5, 6.3, start, end, BLUE, 2.6)
    c.line([(m(13), 19.8), (m(8), 19.8)], BLUE, 2.6)
    c.line([(m(8), 7.2), (m(13), 7.2)], BLUE, 2.6)
    c.poly([(m(2.5), 7.2), (m(9.5), 2.2), (m(9.5), 12.2)], BLUE)


# ---- the icons -------------------------------------------------------------


def draw_addexam(c):
    clipboard(c, 3, 1.5, 15, 20)
    for i in range(3):
        c.line([(7, 10 + i * 3.5), (14, 10 + i * 3.5)], alpha(BLUE, 180), 1.4)
    badge(c, 17.2, 17.2, GREEN, "plus")


def draw_addtask(c):
    document(c, 3, 2, 14, 19)
    badge(c, 17.2, 17.2, GREEN, "plus")


def draw_del(c):
    c.rect(4, 5, 20, 8, fill=RED, r=1.2)
    c.rect(9, 2.5, 15, 6, fill=RED, r=1.2)
    c.poly([(5.5, 9), (18.5, 9), (17.3, 21.5), (6.7, 21.5)], RED)
    for x in (9.3, 12, 14.7):
        c.line([(x, 11.5), (x, 18.8)], PAPER, 1.4)


def draw_editcut(c):
    c.line([(7, 2.5), (15.5, 15)], GREY, 2.2)
    c.line([(17, 2.5), (8.5, 15)], GREY, 2.2)
    for cx in (7, 17):
        c.circle(cx, 18, 3.6, outline=BLUE, width=2.2)
    c.circle(12, 10, 1.2, fill=INK)


def draw_editpaste(c):
    clipboard(c, 2, 1.5, 15, 20, color=AMBER)
    document(c, 10, 9, 12, 14, lines=2, fold=4)


def draw_filenew(c):
    document(c, 4, 2, 15, 20)
    sx, sy = 18, 6
    c.line([(sx - 3.5, sy), (sx + 3.5, sy)], AMBER, 1.8)
    c.line([(sx, sy - 3.5), (sx, sy + 3.5)], AMBER, 1.8)
    c.line([(sx - 2.2, sy - 2.2), (sx + 2.2, sy + 2.2)], AMBER, 1.4)
    c.line([(sx - 2.2, sy + 2.2), (sx + 2.2, sy - 2.2)], AMBER, 1.4)


def draw_find(c):
    magnifier(c, 10, 10, 6.5)


def draw_searchfind(c):
    document(c, 2, 1.5, 14, 18, edge=GREY, lines=3)
    c.circle(14, 14, 5.2, fill=BLUE_LIGHT, outline=BLUE, width=2.2)
    c.line([(17.8, 17.8), (21.5, 21.5)], BLUE, 3.2)


def draw_print(c):
    c.rect(6.5, 2.5, 17.5, 9, fill=PAPER, outline=GREY, width=1.4, r=0.8)
    c.rect(2, 8, 22, 18, fill=INK, r=2.5)
    c.circle(18.5, 11, 1.1, fill=GREEN)
    c.rect(6.5, 14, 17.5, 21.5, fill=PAPER, outline=GREY, width=1.4, r=0.8)
    c.line([(9, 17), (15, 17)], BLUE, 1.2)
    c.line([(9, 19.3), (13.5, 19.3)], BLUE, 1.2)


def draw_undo(c):
    curved_arrow(c, False)


def draw_redo(c):
    curved_arrow(c, True)


def draw_player(c):
    person(c, 12, 2, 1.0, BLUE)


def draw_team(c):
    person(c, 6.5, 5, 0.75, TEAL)
    person(c, 17.5, 5, 0.75, TEAL)
    c.clear_circle(12, 5.7, 5)
    c.clear_rect(4.3, 10.2, 19.7, 22.8, r=7)
    person(c, 12, 2, 0.92, BLUE)


def draw_task(c):
    document(c, 4, 2, 16, 20, lines=0)
    c.line([(9.5, 9.5), (7, 12.5), (9.5, 15.5)], BLUE, 1.8)
    c.line([(14.5, 9.5), (17, 12.5), (14.5, 15.5)], BLUE, 1.8)
    c.line([(12.8, 8.8), (11.2, 16.2)], TEAL, 1.6)


def draw_total(c):
    c.rect(2, 2, 22, 22, fill=TEAL, r=5)
    c.line([(16.5, 6.5), (7.5, 6.5), (12.5, 12), (7.5, 17.5), (16.5, 17.5)], PAPER, 2.4)


def draw_grade(c):
    c.rect(2, 12, 8.5, 21, fill=SILVER[1], r=1)
    c.rect(8.5, 7.5, 15.5, 21, fill=GOLD[1], r=1)
    c.rect(15.5, 14.5, 22, 21, fill=BRONZE[1], r=1)
    c.text(12, 13.8, "1", 6, PAPER)
    star(c, 12, 3.2, 2.9, GOLD[0])


def star(c, cx, cy, r, color):
    pts = []
    for i in range(10):
        rad = r if i % 2 == 0 else r * 0.45
        a = math.pi / 2 + i * math.pi / 5
        pts.append((cx + rad * math.cos(a), cy - rad * math.sin(a)))
    c.poly(pts, color)


def medal(colors, digit):
    def draw(c):
        c.poly([(6, 1), (11, 1), (14, 9), (10, 11)], BLUE)
        c.poly([(18, 1), (13, 1), (10, 9), (14, 11)], RED)
        c.circle(12, 15, 8, fill=colors[1])
        c.circle(12, 15, 6.3, fill=colors[0])
        c.text(12, 14.8, digit, 8.5, colors[1])

    return draw


def trophy(colors, digit):
    def draw(c):
        c.arc(5.5, 8.5, 3.8, 90, 270, colors[1], 1.6)
        c.arc(18.5, 8.5, 3.8, 270, 90, colors[1], 1.6)
        c.poly([(5, 3), (19, 3), (18, 9), (15, 14), (9, 14), (6, 9)], colors[1])
        c.poly([(6.4, 4.2), (17.6, 4.2), (16.8, 8.8), (14.2, 12.8), (9.8, 12.8), (7.2, 8.8)],
               colors[0])
        c.rect(10.8, 13.5, 13.2, 17, fill=colors[1])
        c.rect(7, 17, 17, 21.5, fill=INK, r=1.2)
        c.text(12, 8.4, digit, 7, colors[1])

    return draw


def draw_succeed(c):
    status(c, GREEN)
    c.line([(7, 12.3), (10.6, 15.8), (17, 8.6)], PAPER, 2.8)


def draw_failed(c):
    status(c, RED)
    c.line([(8, 8), (16, 16)], PAPER, 2.8)
    c.line([(16, 8), (8, 16)], PAPER, 2.8)


def draw_uncheck(c):
    c.circle(12, 12, 9, fill=GREY_LIGHT, outline=GREY, width=2.2)
    c.line([(8.5, 12), (15.5, 12)], GREY, 2.2)


def draw_middle(c):
    status(c, AMBER)
    c.line([(12, 6.5), (12, 12), (16, 14.5)], PAPER, 2.6)


def draw_default(c):
    document(c, 4, 2, 16, 20, edge=GREY)


def draw_treeico1(c):
    floppy(c)


def draw_treeico2(c):
    c.rect(2, 4, 11, 9, fill=(206, 138, 40, 255), r=1.5)
    c.rect(2, 6, 22, 20, fill=(206, 138, 40, 255), r=2)
    c.rect(2, 8.5, 22, 20, fill=AMBER, r=2)


def draw_treeico3(c):
    document(c, 4, 2, 16, 20, lines=3)


def draw_treeico4(c):
    floppy(c)
    c.clear_circle(17.5, 17.5, 6.2)
    pencil(c, 14.5, 20.5)


def draw_fileopen(c):
    """An open folder: the back in a darker amber, the front flap tilted towards the viewer."""
    c.poly([(2, 4), (9, 4), (11, 6.5), (20, 6.5), (20, 20), (2, 20)], (206, 138, 40, 255))
    c.rect(4.5, 8.5, 18.5, 14, fill=PAPER, r=0.6)
    c.poly([(5.5, 11), (23, 11), (19.5, 20), (2, 20)], AMBER)


def draw_exit(c):
    """A red disc with the power sign: quitting the program."""
    status(c, RED)
    c.arc(12, 12.8, 5.2, 300, 240, PAPER, 2.4)
    c.line([(12, 5.2), (12, 11.8)], PAPER, 2.4)


def draw_tab1(c):
    clipboard(c, 3, 1.5, 18, 21)
    for i in range(3):
        y = 10 + i * 3.8
        c.rect(6.5, y - 1, 8.5, y + 1, fill=TEAL, r=0.4)
        c.line([(10.5, y), (17, y)], BLUE, 1.6)


def draw_tab3(c):
    document(c, 3, 2, 15, 19, lines=3)
    badge(c, 17, 17, GREEN, "check", r=6)


def draw_tab4(c):
    c.line([(3, 3), (3, 21), (21, 21)], INK, 1.8)
    bars(c, [9, 16, 12], [BLUE, TEAL, AMBER], x0=6, w=4.2, gap=1.6, base=19.5)


def draw_tab41(c):
    c.circle(12, 12, 9.5, fill=BLUE)
    c.poly([(12, 12), (12, 2.5), (15.5, 3.2), (18.6, 5.2), (20.8, 8.3), (21.5, 12)], TEAL)
    c.poly([(12, 12), (21.5, 12), (20.8, 15.7), (18.6, 18.8)], AMBER)
    c.line([(12, 12), (12, 2.5)], PAPER, 1.1)
    c.line([(12, 12), (21.5, 12)], PAPER, 1.1)
    c.line([(12, 12), (18.6, 18.8)], PAPER, 1.1)


ICONS = {
    # table status icons, tree and tab icons, menu actions: 16 pixels
    "succeed.png": (16, draw_succeed),
    "failed.png": (16, draw_failed),
    "uncheck.png": (16, draw_uncheck),
    "middle.png": (16, draw_middle),
    "default.png": (16, draw_default),
    "treeico1.png": (16, draw_treeico1),
    "treeico2.png": (16, draw_treeico2),
    "treeico3.png": (16, draw_treeico3),
    "treeico4.png": (16, draw_treeico4),
    "tab1.png": (16, draw_tab1),
    "tab3.png": (16, draw_tab3),
    "tab4.png": (16, draw_tab4),
    "tab41.png": (16, draw_tab41),
    "fileopen.png": (16, draw_fileopen),
    "exit.png": (16, draw_exit),
    # tool buttons and actions: 24 pixels
    "addexam.png": (24, draw_addexam),
    "addtask.png": (24, draw_addtask),
    "del.png": (24, draw_del),
    "editcut": (24, draw_editcut),
    "editpaste": (24, draw_editpaste),
    "filenew": (24, draw_filenew),
    "find.png": (24, draw_find),
    "searchfind": (24, draw_searchfind),
    "print": (24, draw_print),
    "undo": (24, draw_undo),
    "redo": (24, draw_redo),
    "player.png": (24, draw_player),
    "task.png": (24, draw_task),
    # statistics pictures: 32 pixels
    "team.png": (32, draw_team),
    "total.png": (32, draw_total),
    "grade.png": (32, draw_grade),
    "gold.png": (32, medal(GOLD, "1")),
    "silver.png": (32, medal(SILVER, "2")),
    "brown.png": (32, medal(BRONZE, "3")),
    # award pictures, shown scaled in the grade statistics
    "gold2.png": (64, trophy(GOLD, "1")),
    "silver2.png": (64, trophy(SILVER, "2")),
    "brown2.png": (64, trophy(BRONZE, "3")),
}


# ---- application icon ------------------------------------------------------


def app_icon(size):
    c = icon(size)
    c.rect(1, 1, 23, 23, fill=BLUE, r=5.5)
    if size <= 16:
        c.line([(6, 12.5), (10.2, 16.8), (18.5, 7.5)], PAPER, 3.2)
    else:
        document(c, 5, 3.5, 13, 16.5, edge=GREY_LIGHT, lines=0, fold=4)
        for i, w in enumerate((6.5, 4.5, 6.5)):
            c.line([(7.8, 10 + i * 2.6), (7.8 + w, 10 + i * 2.6)], BLUE, 1.3)
        badge(c, 17, 17, GREEN, "check", r=5, ring=BLUE)
    return c.result()


# ---- welcome page and buttons ----------------------------------------------

BUTTON_W, BUTTON_H = 180, 60
WELCOME_W, WELCOME_H = 760, 555
# Where the shell places the three welcome buttons (top-left corners).
BUTTON_X = 505
BUTTON_Y = (200, 280, 360)


def button_pictogram(c, kind, cx, cy):
    """A pictogram drawn on a 24-unit grid centred at (cx, cy) of the button canvas."""
    s = 1.05

    def p(x, y):
        return (cx + (x - 12) * s, cy + (y - 12) * s)

    if kind == "new":
        c.line([p(12, 5), p(12, 19)], PAPER, 3.6)
        c.line([p(5, 12), p(19, 12)], PAPER, 3.6)
    elif kind == "open":
        c.poly([p(3, 6), p(10, 6), p(12, 8.5), p(20, 8.5), p(20, 18.5), p(3, 18.5)], PAPER)
        c.poly([p(6, 11.5), p(22.5, 11.5), p(19.5, 18.5), p(3, 18.5)], AMBER_LIGHT)
    else:
        x0, y0 = p(12, 12)
        c.arc(x0, y0, 7.6 * s, 305, 235, PAPER, 2.8)
        c.line([p(12, 3.5), p(12, 11.5)], PAPER, 2.8)


def welcome_button(label, color, kind):
    c = Canvas(BUTTON_W, BUTTON_H)
    c.rect(1, 3, BUTTON_W - 1, BUTTON_H, fill=(20, 40, 60, 45), r=12)
    c.rect(0, 0, BUTTON_W, BUTTON_H - 3, fill=PAPER, r=12)
    c.rect(0, 0, BUTTON_W, BUTTON_H - 3, outline=alpha(color, 110), width=1.5, r=12)
    c.circle(32, 28.5, 19, fill=color)
    button_pictogram(c, kind, 32, 28.5)
    c.text(112, 27.5, label, 21, INK)
    return c.result()


def soft_circles(c, circles):
    for cx, cy, r, a in circles:
        c.circle(cx, cy, r, fill=(255, 255, 255, a))


def welcome_illustration(c, x, y):
    """A result card with checked test points in front of a score chart card."""
    c.rect(x + 118, y + 18, x + 278, y + 148, fill=(255, 255, 255, 50), r=14)
    for i, h in enumerate((40, 72, 56, 94)):
        bx = x + 140 + i * 32
        c.rect(bx, y + 132 - h, bx + 20, y + 132, fill=(255, 255, 255, 170), r=4)
    c.rect(x + 4, y + 50, x + 174, y + 206, fill=(20, 40, 60, 40), r=14)
    c.rect(x, y + 44, x + 170, y + 200, fill=PAPER, r=14)
    c.rect(x + 18, y + 62, x + 110, y + 72, fill=BLUE_LIGHT, r=5)
    marks = (GREEN, GREEN, RED, GREEN)
    for i, col in enumerate(marks):
        ly = y + 96 + i * 26
        c.circle(x + 28, ly, 8, fill=col)
        if col == GREEN:
            c.line([(x + 24, ly), (x + 27, ly + 3), (x + 32.5, ly - 3)], PAPER, 2.2)
        else:
            c.line([(x + 24.5, ly - 3.5), (x + 31.5, ly + 3.5)], PAPER, 2.2)
            c.line([(x + 31.5, ly - 3.5), (x + 24.5, ly + 3.5)], PAPER, 2.2)
        c.rect(x + 46, ly - 3, x + 120 - (i % 2) * 22, ly + 3, fill=GREY_LIGHT, r=3)
        c.rect(x + 134, ly - 3, x + 152, ly + 3, fill=alpha(col, 150), r=3)


def welcome():
    c = Canvas(WELCOME_W, WELCOME_H)
    c.gradient((31, 74, 120, 255), (38, 140, 138, 255))
    soft_circles(c, [(700, 40, 170, 14), (90, 560, 210, 12), (760, 520, 110, 10)])
    c.text(58, 118, "Taldon", 76, PAPER, anchor="ls")
    c.rect(62, 140, 122, 145, fill=AMBER, r=2.5)
    c.text(60, 188, "考试评测系统", 32, PAPER, anchor="ls")
    c.text(62, 226, "比赛管理 · 自动评测 · 成绩统计", 16, (255, 255, 255, 200), bold=False,
           anchor="ls")
    welcome_illustration(c, 70, 262)
    px0, px1 = BUTTON_X - 30, BUTTON_X + BUTTON_W + 30
    c.rect(px0, BUTTON_Y[0] - 64, px1, BUTTON_Y[-1] + BUTTON_H + 30, fill=(255, 255, 255, 38),
           r=20)
    c.text((px0 + px1) / 2, BUTTON_Y[0] - 32, "欢迎使用", 18, PAPER, anchor="mm")
    c.text(WELCOME_W - 24, WELCOME_H - 18, "Taldon 1.0", 12, (255, 255, 255, 150), bold=False,
           anchor="rs")
    return c.result()


def background():
    c = Canvas(WELCOME_W, WELCOME_H)
    c.gradient((246, 248, 251, 255), (228, 236, 245, 255))
    c.circle(700, 60, 160, fill=(255, 255, 255, 90))
    c.circle(80, 540, 190, fill=(255, 255, 255, 70))
    return c.result()


# ---- output ----------------------------------------------------------------


def save(img, name):
    img.save(os.path.join(OUT, name), format="PNG", optimize=True)


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, (size, draw) in ICONS.items():
        c = icon(size)
        draw(c)
        save(c.result(), name)
    buttons = [("bt1.png", "新建比赛", GREEN, "new"), ("bt2.png", "打开比赛", BLUE, "open"),
               ("bt3.png", "退出", RED, "exit")]
    for name, label, color, kind in buttons:
        save(welcome_button(label, color, kind), name)
    save(welcome(), "welcome.png")
    save(background(), "bakground.png")
    sizes = [16, 32, 48, 256]
    icons = [app_icon(s) for s in sizes]
    icons[-1].save(os.path.join(OUT, "icon.ico"), format="ICO", sizes=[(s, s) for s in sizes],
                   append_images=icons[:-1])
    # The installed program's icon for desktop menus, one picture per hicolor size.
    for size in (16, 24, 32, 48, 64, 128, 256):
        save(app_icon(size), "taldon-%d.png" % size)
    return 0


if __name__ == "__main__":
    sys.exit(main())
