#!/usr/bin/env python3
"""Write the main menu's pictures, normal and highlighted, in three languages.

usage: menus.py OUTDIR

Writes menu-pol.svg, smenu-pol.svg and the same for eng and swe. They use
studio.svg, which must lie beside them when they are rendered.
"""
import os
import sys

LABELS = {
    "pol": ["Nowa gra", "Opcje", "Najlepsi gracze", "Informacje", "Wyjście"],
    "eng": ["New game", "Options", "Best players", "Information", "Quit"],
    "swe": ["Nytt spel", "Inställningar", "Bästa spelare", "Information", "Avsluta"],
}

# The entries' areas as the game hit-tests and blits them.
ENTRY_X, ENTRY_W, ENTRY_H = 161, 320, 50
ENTRY_Y = [121, 184, 249, 307, 367]

# The game screen copies these from the highlighted picture: the used look
# of each lifeline (its 70 x 60 area, x 440 to 639, y 5 to 64) and the
# ladder marker. The game screen shows nothing but the backdrop around its
# icons there, and so does the menu, so the used icons stand on the same
# pixels as the game's own.
USED_ICONS = [("icon-5050-used", 479), ("icon-phone-used", 540), ("icon-people-used", 604)]
ICON_Y = 29
MARKER = (224, 30)

HEAD = """<?xml version="1.0" encoding="UTF-8"?>
<!-- Written by menus.py: edit that, not this. -->
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"
     width="640" height="480" viewBox="0 0 640 480">
"""


def hexagon(x0, y0, x1, y1, tip):
    ym = (y0 + y1) / 2
    return "M %g,%g L %g,%g L %g,%g L %g,%g L %g,%g L %g,%g Z" % (
        x0 - tip, ym, x0, y0, x1, y0, x1 + tip, ym, x1, y1, x0, y1)


def label(text, y, fill):
    return ('<text x="321" y="%g" text-anchor="middle" font-family="DejaVu Sans" '
            'font-weight="bold" font-size="21" fill="%s">%s</text>' % (y + 32.5, fill, text))


def menu_body(labels):
    out = ['<use xlink:href="studio.svg#backdrop"/>',
           # the title keeps clear of the used icons' corner
           '<text x="320" y="98" text-anchor="middle" font-family="DejaVu Serif" font-weight="bold" '
           'font-size="48" fill="url(studio.svg#gold)" stroke="#fff3b8" stroke-width="0.8">Zenobar</text>',
           '<path d="M 120,110 H 520" stroke="#e2b53e" stroke-width="1.5" opacity="0.8"/>',
           '<g stroke="#f2c94c" stroke-opacity="0.7" stroke-width="1.5">']
    for y in ENTRY_Y:
        out.append('<path d="M 0,%g H 166 M 476,%g H 640"/>' % (y + 25, y + 25))
    out.append("</g>")
    for y, text in zip(ENTRY_Y, labels):
        x0, x1 = ENTRY_X + 20, ENTRY_X + ENTRY_W - 20
        out.append('<path d="%s" fill="url(studio.svg#silver-edge)"/>' % hexagon(x0, y + 3, x1, y + 47, 17))
        out.append('<path d="%s" fill="url(studio.svg#dark-bar)"/>' % hexagon(x0, y + 6, x1, y + 44, 15))
        out.append('<path d="%s" fill="url(studio.svg#shine)" opacity="0.35"/>' % hexagon(x0, y + 6, x1, y + 25, 8))
        out.append(label(text, y, "#eef1fa"))
    return out


def highlights(labels):
    out = []
    for i, (y, text) in enumerate(zip(ENTRY_Y, labels)):
        clip = "entry%d" % i
        out.append('<clipPath id="%s"><rect x="%d" y="%d" width="%d" height="%d"/></clipPath>'
                   % (clip, ENTRY_X, y, ENTRY_W, ENTRY_H))
        x0, x1 = ENTRY_X + 20, ENTRY_X + ENTRY_W - 20
        out.append('<g clip-path="url(#%s)">' % clip)
        out.append('<path d="%s" fill="#f7c948" opacity="0.7" filter="url(studio.svg#soft-glow)"/>'
                   % hexagon(x0, y + 4, x1, y + 46, 17))
        out.append('<path d="%s" fill="url(studio.svg#gold-edge)"/>' % hexagon(x0, y + 2, x1, y + 48, 18))
        out.append('<path d="%s" fill="url(studio.svg#lit-bar)"/>' % hexagon(x0, y + 5, x1, y + 45, 16))
        out.append('<path d="%s" fill="url(studio.svg#shine)" opacity="0.6"/>' % hexagon(x0, y + 5, x1, y + 25, 8))
        out.append(label(text, y, "#1a1450"))
        out.append("</g>")
    return out


def used_look():
    out = []
    for name, cx in USED_ICONS:
        out.append('<use xlink:href="studio.svg#%s" x="%d" y="%d"/>' % (name, cx, ICON_Y))
    out.append('<use xlink:href="studio.svg#ladder-marker" x="%d" y="%d"/>' % MARKER)
    return out


def write(path, lines):
    with open(path, "w", encoding="utf-8") as out:
        out.write(HEAD)
        out.write("\n".join("  " + line for line in lines))
        out.write("\n</svg>\n")


def main():
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    for lang, labels in LABELS.items():
        body = menu_body(labels)
        write(os.path.join(outdir, "menu-%s.svg" % lang), body)
        write(os.path.join(outdir, "smenu-%s.svg" % lang), body + highlights(labels) + used_look())


if __name__ == "__main__":
    main()
