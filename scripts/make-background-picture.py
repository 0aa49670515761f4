#!/usr/bin/python3
"""Draws common/pictures/Kelvane.jpg, the light background the workbook and
notes programs put behind their pages. Run once; the picture is committed."""
import pathlib
from PIL import Image, ImageDraw

WIDTH, HEIGHT = 800, 600
TOP, BOTTOM = (253, 251, 245), (238, 243, 248)

picture = Image.new("RGB", (WIDTH, HEIGHT))
draw = ImageDraw.Draw(picture)
for y in range(HEIGHT):
    share = y / (HEIGHT - 1)
    draw.line([(0, y), (WIDTH, y)], fill=tuple(int(a + (b - a) * share) for a, b in zip(TOP, BOTTOM)))
draw.ellipse([160, 60, 640, 540], fill=(232, 238, 244))
draw.ellipse([260, 160, 540, 440], fill=(246, 241, 228))
target = pathlib.Path(__file__).resolve().parent.parent / "common" / "pictures" / "Kelvane.jpg"
picture.save(target, quality=85)
