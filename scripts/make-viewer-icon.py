#!/usr/bin/python3
"""Draws the report viewer's icon: a report page with a blue heading, text
lines and a barcode, as packaging/desktop/repview.svg and a 48x48
repview.png for desktops that want a bitmap. Run once; both are committed."""
import pathlib, struct, zlib  # noqa: E401

SIZE = 48
# (x, y, width, height, colour) on a 48 x 48 grid, later shapes on top.
SHAPES = [(8, 3, 32, 42, "#4a5560"), (9, 4, 30, 40, "#ffffff"), (9, 4, 30, 8, "#2f6db5")]
SHAPES += [(13, y, 22 if y < 26 else 14, 2, "#9aa5ae") for y in (15, 19, 23, 27)]
SHAPES += [(x, 32, w, 9, "#1b1b1b") for x, w in ((13, 1), (15, 2), (18, 1), (20, 1), (23, 2),
                                                    (26, 1), (28, 1), (30, 2), (33, 1), (35, 1))]

folder = pathlib.Path(__file__).resolve().parent.parent / "packaging" / "desktop"
rects = "\n".join(f'  <rect x="{x}" y="{y}" width="{w}" height="{h}" fill="{c}"/>' for x, y, w, h, c in SHAPES)
(folder / "repview.svg").write_text(
    f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" viewBox="0 0 {SIZE} {SIZE}">\n{rects}\n</svg>\n')

pixels = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]
for x, y, w, h, colour in SHAPES:
    rgba = tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5)) + (255,)
    for row in range(y, y + h):
        pixels[row][x:x + w] = [rgba] * w
raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in pixels)


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


(folder / "repview.png").write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
                                     + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
