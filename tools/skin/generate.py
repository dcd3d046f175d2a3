#!/usr/bin/python3
"""Draws Zarnwell's skin pictures into resources/Skin and a contact sheet of
them into docs/skin-contact-sheet.png.

Run with Debian's Python 3 and Pillow (apt-get install python3-pil,
fonts-dejavu-core, fonts-noto-cjk):

    /usr/bin/python3 tools/skin/generate.py [repository]

The output depends only on this script, Pillow and the two font packages:
no clocks, no randomness. Everything is drawn at four times its size and
reduced with a box filter, which gives clean antialiased edges.
"""

import io
import math
import os
import sys

from PIL import Image, ImageDraw, ImageFont

S = 4  # supersampling factor

WHITE = (255, 255, 255)
ORANGE = (253, 79, 0)
ORANGE_SOFT = (255, 237, 228)
GRAY = (102, 102, 102)
MID = (170, 170, 170)
LIGHT = (228, 228, 228)
BAND = (246, 246, 247)
DARK = (44, 44, 46)
GREEN = (34, 160, 80)
RED = (225, 45, 45)
AMBER = (240, 160, 0)

DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
DEJAVU_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
NOTO_CJK = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
NOTO_CJK_BOLD = "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"
NOTO_SC = 2  # face index of Simplified Chinese in the collections


def Font(size, bold=False, cjk=False):
    if cjk:
        return ImageFont.truetype(NOTO_CJK_BOLD if bold else NOTO_CJK, round(size * S), index=NOTO_SC)
    return ImageFont.truetype(DEJAVU_BOLD if bold else DEJAVU, round(size * S))


def Rgba(color, alpha=255):
    return tuple(color[:3]) + (alpha,)


class Art:
    """A picture of w x h pixels drawn at S times that size, in pixel units."""

    def __init__(self, w, h, background=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.image = Image.new("RGBA", (w * S, h * S), Rgba(background, background[3] if len(background) > 3 else 255))
        self.draw = ImageDraw.Draw(self.image)

    @staticmethod
    def _box(box):
        x0, y0, x1, y1 = box
        return [x0 * S, y0 * S, x1 * S - 1, y1 * S - 1]

    def RoundRect(self, box, radius, fill=None, outline=None, width=1):
        self.draw.rounded_rectangle(self._box(box), radius * S, fill=fill and Rgba(fill), outline=outline and Rgba(outline),
                                    width=round(width * S))

    def Rect(self, box, fill):
        self.draw.rectangle(self._box(box), fill=Rgba(fill))

    def Ellipse(self, box, fill=None, outline=None, width=1):
        self.draw.ellipse(self._box(box), fill=fill and Rgba(fill), outline=outline and Rgba(outline), width=round(width * S))

    def Circle(self, cx, cy, r, **kw):
        self.Ellipse((cx - r, cy - r, cx + r, cy + r), **kw)

    def Arc(self, cx, cy, r, start, end, color, width):
        self.draw.arc(self._box((cx - r, cy - r, cx + r, cy + r)), start, end, fill=Rgba(color), width=round(width * S))

    def Line(self, points, color, width, round_caps=True):
        pts = [(x * S, y * S) for x, y in points]
        self.draw.line(pts, fill=Rgba(color), width=round(width * S), joint="curve")
        if round_caps:
            r = width * S / 2
            for x, y in (pts[0], pts[-1]):
                self.draw.ellipse([x - r, y - r, x + r, y + r], fill=Rgba(color))

    def Polygon(self, points, fill):
        self.draw.polygon([(x * S, y * S) for x, y in points], fill=Rgba(fill))

    def Text(self, xy, text, size, color, bold=False, cjk=False, anchor="la"):
        self.draw.text((xy[0] * S, xy[1] * S), text, font=Font(size, bold, cjk), fill=Rgba(color), anchor=anchor)

    def Paste(self, other, x, y):
        self.image.alpha_composite(other.image, (round(x * S), round(y * S)))

    def Done(self):
        return self.image.resize((self.w, self.h), Image.BOX)


# ---------------------------------------------------------------- glyphs

def Bars(a, x, y, w, h, count, lit, on=ORANGE, off=LIGHT, gap_ratio=0.35):
    """`count` ascending bars in the box, the first `lit` of them coloured."""
    step = w / count
    bar = step * (1 - gap_ratio)
    for i in range(count):
        bh = h * (i + 1) / count
        x0 = x + i * step + (step - bar) / 2
        a.RoundRect((x0, y + h - bh, x0 + bar, y + h), min(bar / 3, 1.2), fill=on if i < lit else off)


def WifiFan(a, cx, cy, r, color, width, arcs=3, dot=True):
    """Wi-Fi fan opening upwards from the point (cx, cy)."""
    for i in range(arcs):
        rr = r * (i + 1) / arcs
        a.Arc(cx, cy, rr, 225, 315, color, width)
    if dot:
        a.Circle(cx, cy - width * 0.2, width * 0.9, fill=color)


def Broadcast(a, cx, cy, r, color, width):
    """A transmitter: a dot with arcs to both sides."""
    a.Circle(cx, cy, width * 1.1, fill=color)
    for i in (1, 2):
        rr = r * i / 2
        a.Arc(cx, cy, rr, 140, 220, color, width)
        a.Arc(cx, cy, rr, -40, 40, color, width)


def Lock(a, x, y, w, h, color):
    body_top = y + h * 0.45
    a.RoundRect((x, body_top, x + w, y + h), w * 0.15, fill=color)
    sw = w * 0.16
    a.Arc(x + w / 2, body_top, w * 0.32, 180, 360, color, sw)
    a.Line([(x + w / 2 - w * 0.32 + sw / 2, body_top), (x + w / 2 - w * 0.32 + sw / 2, body_top + 1)], color, sw, False)
    a.Line([(x + w / 2 + w * 0.32 - sw / 2, body_top), (x + w / 2 + w * 0.32 - sw / 2, body_top + 1)], color, sw, False)


def Check(a, cx, cy, s, color, width):
    a.Line([(cx - s * 0.5, cy), (cx - s * 0.12, cy + s * 0.38), (cx + s * 0.55, cy - s * 0.4)], color, width)


def Cross(a, cx, cy, s, color, width):
    a.Line([(cx - s / 2, cy - s / 2), (cx + s / 2, cy + s / 2)], color, width)
    a.Line([(cx + s / 2, cy - s / 2), (cx - s / 2, cy + s / 2)], color, width)


def Dongle(a, x, y, w, h, body, plug, detail=WHITE):
    """A USB Wi-Fi adapter standing upright: plug at the bottom."""
    plug_h = h * 0.26
    a.RoundRect((x + w * 0.22, y + h - plug_h, x + w * 0.78, y + h), w * 0.05, fill=plug)
    a.Rect((x + w * 0.34, y + h - plug_h * 0.62, x + w * 0.44, y + h - plug_h * 0.38), detail)
    a.Rect((x + w * 0.56, y + h - plug_h * 0.62, x + w * 0.66, y + h - plug_h * 0.38), detail)
    a.RoundRect((x, y, x + w, y + h - plug_h + w * 0.04), w * 0.22, fill=body)
    WifiFan(a, x + w / 2, y + (h - plug_h) * 0.72, w * 0.34, detail, max(w * 0.07, 0.9))


def Router(a, x, y, w, h, body, detail=WHITE):
    a.Line([(x + w * 0.25, y + h * 0.5), (x + w * 0.15, y + h * 0.05)], body, w * 0.07)
    a.Line([(x + w * 0.75, y + h * 0.5), (x + w * 0.85, y + h * 0.05)], body, w * 0.07)
    a.RoundRect((x, y + h * 0.45, x + w, y + h), h * 0.12, fill=body)
    for i in range(4):
        a.Circle(x + w * (0.2 + i * 0.12), y + h * 0.73, w * 0.035, fill=detail)


def Laptop(a, x, y, w, h, color, screen=WHITE):
    a.RoundRect((x + w * 0.1, y, x + w * 0.9, y + h * 0.78), w * 0.04, fill=color)
    a.RoundRect((x + w * 0.15, y + h * 0.07, x + w * 0.85, y + h * 0.7), w * 0.02, fill=screen)
    a.RoundRect((x, y + h * 0.8, x + w, y + h), h * 0.08, fill=color)


# ---------------------------------------------------------------- writers

def SavePng(art, path):
    art.Done().save(path, "PNG", optimize=True)


def SaveBmp(art, path, background=WHITE, indexed=False):
    """24-bit device-independent bitmap; large flat window backgrounds are
    stored with a 256-colour palette to keep the skin small."""
    flat = Image.new("RGBA", (art.w, art.h), Rgba(background))
    flat.alpha_composite(art.Done())
    image = flat.convert("RGB")
    if indexed:
        image = image.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    image.save(path, "BMP")


def SaveIco(draw_at, sizes, path):
    """One image per size, each drawn for its own pixel grid."""
    frames = [draw_at(s).Done() for s in sizes]
    largest = frames[-1]
    largest.save(path, "ICO", sizes=[f.size for f in frames], append_images=frames[:-1])


def SaveGif(frames, delays, path, background):
    """Opaque frames on the colour they are shown on; each frame replaces the
    previous (disposal 1 with full frames) and has its own delay."""
    flat = []
    for art in frames:
        image = Image.new("RGBA", (art.w, art.h), Rgba(background))
        image.alpha_composite(art.Done())
        flat.append(image.convert("RGB").quantize(colors=64, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE))
    flat[0].save(path, "GIF", save_all=True, append_images=flat[1:], duration=delays, loop=0,
                 disposal=[1] * len(flat), optimize=False)


# ---------------------------------------------------------------- windows

def WindowBackground(w, h, band=33, body=WHITE, logo=True):
    a = Art(w, h, Rgba(body))
    a.Rect((0, 0, w, band), BAND)
    a.Rect((0, band, w, band + 1), LIGHT)
    if logo:
        a.RoundRect((11, band / 2 - 8, 27, band / 2 + 8), 4, fill=ORANGE)
        WifiFan(a, 19, band / 2 + 4.5, 8.5, WHITE, 1.6)
    a.RoundRect((0, 0, w, h), 10, outline=(214, 214, 214), width=1)
    return a


def MainBack():
    a = WindowBackground(275, 455)
    a.Rect((1, 36, 274, 74), BAND)
    a.Rect((0, 81, 275, 82), LIGHT)
    return a


def TabButton(selected, kind):
    a = Art(135, 37, Rgba(WHITE if selected else BAND))
    a.Rect((0, 36, 135, 37), LIGHT)
    color = ORANGE if selected else GRAY
    if selected:
        a.Rect((12, 34, 123, 37), ORANGE)
    if kind == "station":
        Laptop(a, 11, 12, 20, 14, color)
        WifiFan(a, 21, 22.5, 7.5, color, 1.3)
    else:
        Broadcast(a, 21, 19, 10, color, 1.6)
    return a


def StationBack(connected):
    a = Art(273, 380, Rgba(WHITE))
    a.Rect((0, 48, 273, 49), LIGHT)
    if connected:
        a.Rect((0, 50, 273, 83), (255, 246, 241))
        a.Rect((0, 50, 3, 83), ORANGE)
        a.Rect((0, 84, 273, 85), LIGHT)
    a.Rect((0, 330, 273, 331), LIGHT)
    a.Rect((0, 331, 273, 380), (251, 251, 251))
    return a


def ChangeBack():
    a = Art(273, 380, Rgba(WHITE))
    a.Circle(136.5, 68, 62, fill=(255, 246, 241))
    a.Circle(136.5, 68, 50, fill=(255, 238, 229))
    a.Rect((24, 196, 249, 197), LIGHT)
    return a


def ChildBack(w, h):
    a = Art(w, h, Rgba(WHITE))
    a.RoundRect((3, 1, w - 3, h - 1), 6, fill=(250, 250, 250), outline=LIGHT, width=1)
    return a


def WaitBack():
    a = Art(77, 70, Rgba(DARK))
    a.RoundRect((0, 0, 77, 70), 10, outline=(70, 70, 72), width=1)
    return a


# ---------------------------------------------------------------- buttons

def TitleButton(kind, hover):
    a = Art(18, 20)
    if hover:
        a.RoundRect((0.5, 1.5, 17.5, 18.5), 4, fill=ORANGE if kind == "close" else LIGHT)
    color = WHITE if hover and kind == "close" else (GRAY if not hover else DARK)
    if kind == "close":
        Cross(a, 9, 10, 7, color, 1.5)
    elif kind == "min":
        a.Line([(5, 13), (13, 13)], color, 1.5)
    else:
        for y in (6.5, 10, 13.5):
            a.Line([(5, y), (13, y)], color, 1.5)
    return a


def FaceButton(w, h, look):
    a = Art(w, h)
    box = (0.5, 0.5, w - 0.5, h - 0.5)
    if look == "ok":
        a.RoundRect(box, 4, fill=ORANGE)
    elif look == "cancel":
        a.RoundRect(box, 4, fill=WHITE, outline=(200, 200, 200))
    elif look == "outline":
        a.RoundRect(box, 4, fill=WHITE, outline=ORANGE)
    elif look == "disabled":
        a.RoundRect(box, 4, fill=(236, 236, 236), outline=(218, 218, 218))
    elif look == "pressed":
        a.RoundRect(box, 4, fill=(236, 236, 236), outline=(190, 190, 190))
    return a


def EditButton(pencil):
    a = Art(51, 24)
    a.Line([(1, 20.5), (50, 20.5)], LIGHT, 1, False)
    if pencil:
        a.Line([(38, 16), (46, 8)], GRAY, 2.2)
        a.Polygon([(36.2, 17.8), (37, 14.6), (39.4, 17)], GRAY)
    return a


def Eye(slashed):
    a = Art(18, 20)
    a.Arc(9, 15.5, 8.5, 215, 325, GRAY, 1.4)
    a.Arc(9, 4.5, 8.5, 35, 145, GRAY, 1.4)
    a.Circle(9, 10, 2.4, fill=ORANGE if slashed else GRAY)
    if slashed:
        a.Line([(3.5, 15.5), (14.5, 4.5)], GRAY, 1.4)
    return a


def Refresh():
    a = Art(15, 16)
    a.Arc(7.5, 8, 5, 20, 300, GRAY, 1.6)
    angle = math.radians(300)
    tip = (7.5 + 5 * math.cos(angle), 8 + 5 * math.sin(angle))
    a.Polygon([(tip[0] - 3.2, tip[1] - 2.2), (tip[0] + 2.4, tip[1] - 2.6), (tip[0] + 0.4, tip[1] + 2.6)], GRAY)
    return a


def Switch(on):
    a = Art(35, 23)
    a.RoundRect((1, 3.5, 34, 19.5), 8, fill=ORANGE if on else (204, 204, 204))
    a.Circle(26 if on else 9, 11.5, 6.2, fill=WHITE)
    return a


# ---------------------------------------------------------------- list glyphs (14 x 18 on white)

def GridSignal(level):
    a = Art(14, 18)
    Bars(a, 1, 4, 12, 10, 4, level, on=ORANGE, off=(210, 210, 210))
    return a


def GridSecure():
    a = Art(14, 18)
    Lock(a, 3, 3.5, 8, 10.5, GRAY)
    return a


def GridInfo(filled):
    a = Art(14, 18)
    if filled:
        a.Circle(7, 9, 6, fill=ORANGE)
        color = (254, 254, 254)
    else:
        a.Circle(7, 9, 5.5, outline=GRAY, width=1.3)
        color = GRAY
    a.Circle(7, 6.2, 0.95, fill=color)
    a.Line([(7, 8.4), (7, 12)], color, 1.5)
    return a


def GridConnect():
    a = Art(14, 18)
    a.Circle(7, 9, 6, fill=GREEN)
    Check(a, 7, 9, 6, (254, 254, 254), 1.5)
    return a


def GridLimit():
    a = Art(14, 18)
    a.Polygon([(7, 2.8), (13.2, 14.2), (0.8, 14.2)], AMBER)
    a.Line([(7, 6.8), (7, 10)], (254, 254, 254), 1.5)
    a.Circle(7, 12.2, 0.9, fill=(254, 254, 254))
    return a


# ---------------------------------------------------------------- pictures

def SignalPicture(level):
    a = Art(24, 20)
    Bars(a, 2, 3, 20, 14, 4, level)
    return a


def CardPicture(disabled):
    a = Art(143, 140)
    a.Circle(71.5, 70, 64, fill=(247, 247, 247))
    if disabled:
        Dongle(a, 50, 18, 43, 96, (190, 190, 190), (210, 210, 210))
        a.Circle(98, 98, 17, fill=WHITE)
        a.Circle(98, 98, 14, outline=RED, width=3.4)
        a.Line([(88.5, 107.5), (107.5, 88.5)], RED, 3.4, False)
    else:
        Dongle(a, 50, 10, 43, 96, ORANGE, (170, 170, 170))
        for i, alpha in enumerate((255, 170, 90)):
            y = 118 + i * 6
            a.Line([(71.5 - 5, y), (71.5, y + 4), (71.5 + 5, y)], Rgba(GRAY)[:3], 2)
    return a


def CorpLogo():
    a = Art(69, 75)
    a.RoundRect((3, 6, 66, 69), 15, fill=ORANGE)
    a.RoundRect((3, 6, 66, 69), 15, outline=(230, 70, 0), width=1)
    WifiFan(a, 34.5, 52, 26, WHITE, 5)
    return a


def ChangePicture(kind):
    a = Art(120, 130)
    if kind == "mode":
        Laptop(a, 22, 56, 76, 50, ORANGE)
        WifiFan(a, 60, 92, 24, ORANGE, 4.2)
    else:
        color = ORANGE if kind == "wifi" else (180, 180, 180)
        Dongle(a, 45, 52, 30, 64, color, (170, 170, 170))
        for i in (1, 2, 3):
            r = 12 + i * 11
            a.Arc(60, 68, r, 200, 250, color, 4)
            a.Arc(60, 68, r, 290, 340, color, 4)
        if kind == "failure":
            a.Circle(86, 98, 15, fill=WHITE)
            a.Circle(86, 98, 12.5, fill=RED)
            Cross(a, 86, 98, 8, WHITE, 2.8)
    return a


def WpsCard():
    a = Art(45, 46)
    Dongle(a, 12, 3, 21, 40, ORANGE, (170, 170, 170))
    return a


def WpsRoute():
    a = Art(48, 46)
    Router(a, 3, 10, 42, 30, GRAY)
    return a


def WpsResult(success):
    a = Art(78, 24)
    color = GREEN if success else RED
    for x in (6, 14, 22, 56, 64, 72):
        a.Circle(x, 12, 1.6, fill=color if success else LIGHT)
    a.Circle(39, 12, 10, fill=color)
    if success:
        Check(a, 39, 12, 9, WHITE, 2.2)
    else:
        Cross(a, 39, 12, 7, WHITE, 2.2)
    return a


# ---------------------------------------------------------------- animations

def Spinner(size, color, dim, phase, count=8):
    w, h = size
    a = Art(w, h)
    cx, cy, r = w / 2, h / 2, min(w, h) * 0.33
    for i in range(count):
        angle = 2 * math.pi * i / count - math.pi / 2
        age = (phase - i) % count
        t = max(0.0, 1 - age / (count - 2))
        c = tuple(round(dim[k] + (color[k] - dim[k]) * t) for k in range(3))
        a.Circle(cx + r * math.cos(angle), cy + r * math.sin(angle), min(w, h) * (0.07 + 0.04 * t), fill=c)
    return a


def ShiftFrame(phase, count):
    a = Art(120, 130)
    cx, cy, r = 60, 68, 36
    turn = 180 * phase / count  # the two arrows repeat every half turn
    for k in (0, 180):
        start = turn + k + 15
        a.Arc(cx, cy, r, start, start + 135, ORANGE, 6)
        angle = math.radians(start + 135)
        tip = (cx + r * math.cos(angle), cy + r * math.sin(angle))
        tangent = angle + math.pi / 2
        normal = angle
        a.Polygon([
            (tip[0] + 9 * math.cos(tangent), tip[1] + 9 * math.sin(tangent)),
            (tip[0] + 8 * math.cos(normal), tip[1] + 8 * math.sin(normal)),
            (tip[0] - 8 * math.cos(normal), tip[1] - 8 * math.sin(normal)),
        ], ORANGE)
    Broadcast(a, cx, cy, 17, GRAY, 3)
    return a


def WpsWaitFrame(phase, count):
    a = Art(78, 24)
    for i in range(7):
        x = 9 + i * 10
        lit = (phase - i) % count
        c = ORANGE if lit == 0 else ((255, 170, 130) if lit == 1 else LIGHT)
        a.Circle(x, 12, 3 if lit == 0 else 2.3, fill=c)
    return a


# ---------------------------------------------------------------- icons

def AppIcon(s):
    a = Art(s, s)
    m = max(0.5, s / 32)
    a.RoundRect((m, m, s - m, s - m), s * 0.22, fill=ORANGE)
    WifiFan(a, s / 2, s * 0.74, s * 0.42, WHITE, max(1.25, s * 0.085))
    return a


def TrayStation(level, s):
    a = Art(s, s)
    pad = 1 if s <= 16 else 2
    bars = s - 2 * pad
    if level is None:
        Bars(a, pad, pad + 1, bars, bars - 1, 3, 0, off=(150, 150, 150), gap_ratio=0.28)
        r = s * 0.22
        a.Circle(s - r - 0.2, r + 0.2, r + 0.8, fill=WHITE)
        a.Circle(s - r - 0.2, r + 0.2, r, fill=RED)
        Cross(a, s - r - 0.2, r + 0.2, r * 0.9, WHITE, max(1.0, s / 16))
    else:
        Bars(a, pad, pad + 1, bars, bars - 1, 3, level, off=(150, 150, 150), gap_ratio=0.28)
    return a


def TrayAp(on, s):
    a = Art(s, s)
    color = ORANGE if on else (140, 140, 140)
    Broadcast(a, s / 2, s / 2, s * 0.46, color, max(1.3, s * 0.1))
    return a


def TrayNoCard(s):
    a = Art(s, s)
    Dongle(a, s * 0.26, s * 0.04, s * 0.48, s * 0.92, (140, 140, 140), (170, 170, 170))
    r = s * 0.22
    a.Circle(s - r - 0.2, s - r - 0.2, r + 0.8, fill=WHITE)
    a.Circle(s - r - 0.2, s - r - 0.2, r, fill=RED)
    a.Line([(s - 2 * r + 0.6, s - r - 0.2), (s - 1.0, s - r - 0.2)], WHITE, max(1.0, s / 16), False)
    return a


# ---------------------------------------------------------------- menu bitmaps

def MenuGlyph(kind, s):
    a = Art(s, s)
    u = s / 16
    if kind == "close":
        a.Arc(8 * u, 8.8 * u, 5.6 * u, -60, 240, GRAY, 1.5 * u)
        a.Line([(8 * u, 2 * u), (8 * u, 8 * u)], ORANGE, 1.6 * u)
    elif kind == "open":
        a.RoundRect((2 * u, 3 * u, 14 * u, 13 * u), 1.5 * u, outline=GRAY, width=1.3 * u)
        a.Rect((2 * u, 3 * u, 14 * u, 6 * u), ORANGE)
    elif kind == "wps":
        a.Arc(8 * u, 8 * u, 5.5 * u, 200, 340, ORANGE, 1.6 * u)
        a.Arc(8 * u, 8 * u, 5.5 * u, 20, 160, GRAY, 1.6 * u)
        a.Polygon([(13.8 * u, 5 * u), (14.6 * u, 9.5 * u), (10.8 * u, 8 * u)], ORANGE)
        a.Polygon([(2.2 * u, 11 * u), (1.4 * u, 6.5 * u), (5.2 * u, 8 * u)], GRAY)
    else:
        a.Circle(8 * u, 8 * u, 6.3 * u, outline=GRAY, width=1.3 * u)
        a.Circle(8 * u, 5.2 * u, 1.0 * u, fill=ORANGE)
        a.Line([(8 * u, 7.6 * u), (8 * u, 11.4 * u)], ORANGE, 1.6 * u)
    return a


# ---------------------------------------------------------------- phone help

HELP_TEXT = {
    "other": dict(cjk=False, header="Wi-Fi", password="Password", join="Join", other_net="Home-5G"),
    "chinese": dict(cjk=True, header="无线局域网", password="密码", join="加入", other_net="Home-5G"),
}


def Phone(a, x, y, w, h):
    a.RoundRect((x, y, x + w, y + h), 9, fill=(58, 58, 60))
    a.RoundRect((x + 3, y + 8, x + w - 3, y + h - 9), 3, fill=WHITE)
    a.RoundRect((x + w / 2 - 7, y + 3, x + w / 2 + 7, y + 5), 1, fill=(90, 90, 92))
    a.Circle(x + w / 2, y + h - 4.5, 2.6, outline=(110, 110, 112), width=0.8)


def HelpPicture(language):
    t = HELP_TEXT[language]
    cjk = t["cjk"]
    a = Art(254, 130)
    pw, ph = 64, 124
    for step, cx in ((1, 71), (2, 179)):
        x, y = cx - pw / 2, 3
        Phone(a, x, y, pw, ph)
        sx, sy, sw = x + 3, y + 8, pw - 6
        a.Rect((sx, sy, sx + sw, sy + 14), BAND)
        a.Text((sx + sw / 2, sy + 7), t["header"] if step == 1 else "Kavlo_xxxxxx", 6.5, DARK, bold=True,
               cjk=cjk and step == 1, anchor="mm")
        if step == 1:
            rows = [("Kavlo_xxxxxx", True), (t["other_net"], False), ("Office", False)]
            for i, (name, chosen) in enumerate(rows):
                ry = sy + 18 + i * 17
                if chosen:
                    a.Rect((sx, ry - 2, sx + sw, ry + 13), ORANGE_SOFT)
                a.Text((sx + 3, ry + 5.5), name, 5.2, ORANGE if chosen else GRAY, bold=chosen, anchor="lm")
                Lock(a, sx + sw - 12.5, ry + 2.5, 3.6, 5.2, MID)
                WifiFan(a, sx + sw - 4.5, ry + 8.5, 4.2, MID, 0.9)
            tap_x, tap_y = sx + 24, sy + 23.5
            a.Circle(tap_x, tap_y, 5.5, outline=ORANGE, width=1.1)
            a.Polygon([(tap_x, tap_y), (tap_x + 5.5, tap_y + 9), (tap_x + 2.2, tap_y + 8.4), (tap_x + 0.4, tap_y + 12)], DARK)
        else:
            a.Text((sx + 4, sy + 22), t["password"], 6, GRAY, cjk=cjk, anchor="lm")
            a.RoundRect((sx + 4, sy + 28, sx + sw - 4, sy + 42), 2, fill=WHITE, outline=ORANGE, width=1)
            for i in range(8):
                a.Circle(sx + 10 + i * 5.4, sy + 35, 1.5, fill=DARK)
            a.RoundRect((sx + 10, sy + 52, sx + sw - 10, sy + 66), 3, fill=ORANGE)
            a.Text((sx + sw / 2, sy + 59), t["join"], 6.5, WHITE, bold=True, cjk=cjk, anchor="mm")
        a.Circle(x - 1, y + 10, 8, fill=ORANGE)
        a.Circle(x - 1, y + 10, 8, outline=WHITE, width=1.2)
        a.Text((x - 1, y + 10.5), str(step), 9, WHITE, bold=True, anchor="mm")
    for i in range(3):
        a.Circle(117 + i * 10, 65, 2.2, fill=(255, 190, 160) if i < 2 else ORANGE)
    a.Polygon([(140, 59.5), (147, 65), (140, 70.5)], ORANGE)
    return a


# ---------------------------------------------------------------- the set

def Build(out):
    os.makedirs(out, exist_ok=True)
    p = lambda name: os.path.join(out, name)

    SaveBmp(MainBack(), p("main_back.bmp"), indexed=True)
    SaveIco(AppIcon, [16, 22, 24, 32, 48], p("main.ico"))
    for kind in ("close", "min", "info"):
        SavePng(TitleButton(kind, False), p(f"btn_{kind}_normal.png"))
        SavePng(TitleButton(kind, True), p(f"btn_{kind}_move.png"))
    SaveBmp(TabButton(False, "station"), p("btn_mode_normal.bmp"))
    SaveBmp(TabButton(True, "station"), p("btn_mode_down.bmp"))
    SaveBmp(TabButton(False, "ap"), p("btn_wifi_normal.bmp"))
    SaveBmp(TabButton(True, "ap"), p("btn_wifi_down.bmp"))

    tray = [16, 22, 24, 32]
    SaveIco(TrayNoCard, tray, p("tray_card_no.ico"))
    for level in (1, 2, 3):
        SaveIco(lambda s, level=level: TrayStation(level, s), tray, p(f"tray_sta_connect{level}.ico"))
    SaveIco(lambda s: TrayStation(None, s), tray, p("tray_sta_disconnect.ico"))
    SaveIco(lambda s: TrayAp(True, s), tray, p("tray_wifi_connect.ico"))
    SaveIco(lambda s: TrayAp(False, s), tray, p("tray_wifi_disconnect.ico"))
    for kind in ("close", "open", "wps", "about"):
        SaveBmp(MenuGlyph(kind, 16), p(f"menu_{kind}.bmp"))
        SaveBmp(MenuGlyph(kind, 13), p(f"menu_{kind}_xp.bmp"))

    SaveBmp(WindowBackground(258, 270), p("about_back.bmp"), indexed=True)
    SavePng(CardPicture(False), p("card_no.png"))
    SavePng(CardPicture(True), p("card_disable.png"))
    SavePng(CorpLogo(), p("corp_logo.png"))
    SaveBmp(WindowBackground(258, 185), p("exit_back.bmp"), indexed=True)
    SavePng(FaceButton(51, 24, "ok"), p("btn_ok.png"))
    SavePng(FaceButton(51, 24, "cancel"), p("btn_cancel.png"))

    SaveBmp(StationBack(False), p("mode_back.bmp"), indexed=True)
    SaveBmp(StationBack(True), p("mode_back_connect.bmp"), indexed=True)
    SaveGif([Spinner((30, 33), ORANGE, (235, 235, 235), i) for i in range(8)], [90] * 7 + [140], p("search_wait.gif"), WHITE)
    SavePng(Refresh(), p("btn_refresh.png"))
    SavePng(Switch(True), p("btn_on.png"))
    SavePng(Switch(False), p("btn_off.png"))
    for level in range(4):
        SaveBmp(GridSignal(level), p(f"grid_signal{level}.bmp"))
    SaveBmp(GridSecure(), p("grid_secure.bmp"))
    SaveBmp(GridInfo(False), p("grid_info.bmp"))
    SaveBmp(GridConnect(), p("grid_connect.bmp"))
    SaveBmp(GridLimit(), p("grid_limit.bmp"))

    SavePng(FaceButton(129, 28, "ok"), p("btn_ok_long.png"))
    SavePng(FaceButton(129, 28, "outline"), p("btn_cancel_long.png"))
    SavePng(Eye(False), p("btn_show.png"))
    SavePng(Eye(True), p("btn_show_hide.png"))
    for level in range(4):
        SavePng(SignalPicture(level), p(f"signal{level}.png"))

    SaveBmp(ChangeBack(), p("change_back.bmp"), indexed=True)
    SavePng(ChangePicture("mode"), p("change_mode.png"))
    SavePng(ChangePicture("wifi"), p("change_wifi.png"))
    SavePng(ChangePicture("failure"), p("change_failure.png"))
    SaveGif([ShiftFrame(i, 12) for i in range(12)], [70] * 11 + [120], p("change_shift.gif"), WHITE)
    SaveBmp(WaitBack(), p("change_wait_back.bmp"), background=DARK)
    SaveGif([Spinner((30, 33), WHITE, (80, 80, 82), i) for i in range(8)], [90] * 7 + [140], p("change_wait.gif"), DARK)
    SavePng(FaceButton(129, 28, "disabled"), p("btn_cancel_long_disable.png"))
    SavePng(EditButton(True), p("btn_edit.png"))
    SavePng(EditButton(False), p("btn_edit_other.png"))
    SaveBmp(WindowBackground(258, 297), p("connect_help_back.bmp"), indexed=True)
    SavePng(HelpPicture("chinese"), p("connect_help_chinese.png"))
    SavePng(HelpPicture("other"), p("connect_help_other.png"))

    SaveBmp(WindowBackground(258, 390), p("wps_back.bmp"), indexed=True)
    SaveBmp(ChildBack(255, 85), p("wps_child_back.bmp"), indexed=True)
    SaveBmp(ChildBack(255, 37), p("wps_child_pin_back.bmp"), indexed=True)
    SavePng(WpsCard(), p("wps_card.png"))
    SavePng(WpsRoute(), p("wps_route.png"))
    SaveGif([WpsWaitFrame(i, 9) for i in range(9)], [110] * 8 + [300], p("wps_connect_wait.gif"), (250, 250, 250))
    SavePng(WpsResult(True), p("wps_connect_success.png"))
    SavePng(WpsResult(False), p("wps_connect_failure.png"))
    SavePng(FaceButton(45, 24, "cancel"), p("btn_copy.png"))
    SavePng(FaceButton(45, 24, "pressed"), p("btn_copy_down.png"))

    SaveBmp(GridInfo(True), p("grid_info2.bmp"))
    SaveBmp(ChildBack(273, 98), p("mode_info_back.bmp"), indexed=True)


# ---------------------------------------------------------------- contact sheet

def Checkerboard(w, h, cell=6):
    board = Image.new("RGB", (w, h), (255, 255, 255))
    d = ImageDraw.Draw(board)
    for y in range(0, h, cell):
        for x in range(0, w, cell):
            if (x // cell + y // cell) % 2:
                d.rectangle([x, y, x + cell - 1, y + cell - 1], fill=(222, 222, 222))
    return board


def Views(path):
    """What the sheet shows of one file: all frames of a GIF, all sizes of an
    icon, else the picture itself; each at its own size."""
    image = Image.open(path)
    if path.endswith(".gif"):
        views = []
        for i in range(image.n_frames):
            image.seek(i)
            views.append(image.convert("RGBA"))
        return views, f"{image.n_frames} frames"
    if path.endswith(".ico"):
        sizes = sorted(image.info["sizes"])
        views = []
        for size in sizes:
            image.size = size
            views.append(image.convert("RGBA").copy())
        return views, " ".join(str(s[0]) for s in sizes)
    return [image.convert("RGBA")], f"{image.width}x{image.height}"


def ContactSheet(skin, out):
    names = sorted(os.listdir(skin))
    label = ImageFont.truetype(DEJAVU, 12)
    small = ImageFont.truetype(DEJAVU, 10)
    cells = []
    for name in names:
        views, info = Views(os.path.join(skin, name))
        big = max(max(v.width for v in views), max(v.height for v in views))
        zoom = 3 if big <= 48 else (2 if big <= 150 else 1)
        views = [v.resize((v.width * zoom, v.height * zoom), Image.NEAREST) for v in views]
        w = sum(v.width for v in views) + 6 * (len(views) - 1)
        h = max(v.height for v in views)
        if w > 560:  # long animations wrap onto a second row
            half = (len(views) + 1) // 2
            w = max(sum(v.width for v in views[:half]), sum(v.width for v in views[half:])) + 6 * (half - 1)
            h = 2 * h + 6
        cells.append((name, views, info, zoom, w, h))

    # Tall pictures first, so that each row holds pictures of similar height.
    cells.sort(key=lambda c: (-c[5], c[0]))
    width = 1800
    margin, gap = 16, 18
    x, y, row_h = margin, margin, 0
    placed = []
    for cell in cells:
        cw = max(cell[4], 130)
        if x + cw > width - margin:
            x, y, row_h = margin, y + row_h + gap, 0
        placed.append((cell, x, y))
        x += cw + gap
        row_h = max(row_h, cell[5] + 34)
    height = y + row_h + margin
    sheet = Image.new("RGB", (width, height), (250, 250, 250))
    d = ImageDraw.Draw(sheet)
    for (name, views, info, zoom, w, h), cx, cy in placed:
        sheet.paste(Checkerboard(w, h), (cx, cy))
        vx, vy, row_w = cx, cy, 0
        half = (len(views) + 1) // 2 if h > max(v.height for v in views) else len(views)
        for i, v in enumerate(views):
            if i == half:
                vx, vy = cx, cy + v.height + 6
            sheet.paste(v, (vx, vy), v)
            vx += v.width + 6
        d.text((cx, cy + h + 4), name, font=label, fill=(30, 30, 30))
        d.text((cx, cy + h + 19), info + (f"  (shown x{zoom})" if zoom > 1 else ""), font=small, fill=GRAY)
    buffer = io.BytesIO()
    sheet.save(buffer, "PNG", optimize=True)
    with open(out, "wb") as f:
        f.write(buffer.getvalue())


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
    skin = os.path.join(root, "resources", "Skin")
    Build(skin)
    os.makedirs(os.path.join(root, "docs"), exist_ok=True)
    ContactSheet(skin, os.path.join(root, "docs", "skin-contact-sheet.png"))


if __name__ == "__main__":
    main()
