#!/usr/bin/python3
"""Writes a synthetic host report for the repview printing benchmark.

The report is Windows-1252 text with CR LF line breaks, a form feed (one
print job per page, as a DOS back-office report ejects its pages) every
--page-lines lines, in-line print codes every few lines and an EAN-13
barcode every 50 lines. The output is deterministic for a given seed and
size.

With --plain FILE the same report is also written as the baseline's input:
codes stripped, LF line breaks, form feeds kept, and each barcode replaced
by a line holding its 12 digits (repview draws the barcode on a line of its
own, so both outputs keep the same number of lines).

Usage: make_report.py OUT --mb 20 [--seed 1] [--page-lines 60] [--plain OUT2]
"""

import argparse
import random

STYLE_CODES = ["BO", "NO", "CO", "ST", "EX", "BL", "MA", "CY", "VI", "YE", "OR", "GR"]

WORDS = [
    "BREAD", "MILK", "BUTTER", "COFFEE", "TEA", "SUGAR", "FLOUR", "RICE",
    "APPLES", "PEARS", "CHEESE", "HAM", "SOAP", "TOWELS", "BATTERIES",
    "Pâté", "Crème", "Café", "Müsli", "Jalapeño", "Naïve", "Façade",
]


def line_text(rng, number):
    """One report line, about 80 characters, without codes."""
    kind = number % 7
    if kind == 0:
        return "%-6d %-30s %8.2f %6d %10.2f" % (
            rng.randint(1, 999999), " ".join(rng.sample(WORDS, 3))[:30],
            rng.randint(1, 99999) / 100, rng.randint(1, 500), rng.randint(1, 9999999) / 100)
    if kind == 3:
        return "-" * 78
    return "%08d  %-28s %3d x %8.2f = %10.2f  %s" % (
        rng.randint(0, 99999999), " ".join(rng.sample(WORDS, 2))[:28], rng.randint(1, 99),
        rng.randint(1, 99999) / 100, rng.randint(1, 9999999) / 100,
        rng.choice(["A", "B", "C", "D"]))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("out")
    parser.add_argument("--mb", type=float, default=20.0, help="size in MB (10^6 bytes), default 20")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--page-lines", type=int, default=60,
                        help="lines between form feeds; 0 for a single job")
    parser.add_argument("--plain", help="also write the codes-stripped text for the baseline")
    args = parser.parse_args()

    rng = random.Random(args.seed)
    target = int(args.mb * 1_000_000)
    report = open(args.out, "wb")
    plain = open(args.plain, "wb") if args.plain else None
    size = 0
    number = 0
    pages = 1
    barcodes = 0
    chunk, plain_chunk = [], []

    def emit(raw, text):
        chunk.append(raw)
        if plain is not None:
            plain_chunk.append(text)

    while size < target:
        number += 1
        if args.page_lines and number > 1 and (number - 1) % args.page_lines == 0:
            emit(b"\f", b"\f")
            pages += 1
        text = line_text(rng, number).encode("cp1252")
        if number % 50 == 0:
            digits = "%012d" % rng.randint(0, 999999999999)
            # The barcode, then the line's text continues on the next line.
            raw = b">[BC" + digits.encode() + b"]<" + text + b"\r\n"
            emit(raw, digits.encode() + b"\n" + text + b"\n")
            barcodes += 1
        elif number % 4 == 0:
            # Codes every few lines: a style or colour before the text, bold
            # in the middle of the line, back to the report style at its end.
            first = rng.choice(STYLE_CODES)
            cut = rng.randint(10, 40)
            raw = (b">[" + first.encode() + b"]<" + text[:cut] + b">[BO]<" + text[cut:cut + 12]
                   + b">[NO]<" + text[cut + 12:] + b">[ST]<>[BL]<\r\n")
            emit(raw, text + b"\n")
        else:
            emit(text + b"\r\n", text + b"\n")
        size += len(chunk[-1])
        if len(chunk) >= 4096:
            report.write(b"".join(chunk))
            chunk.clear()
            if plain is not None:
                plain.write(b"".join(plain_chunk))
                plain_chunk.clear()
    report.write(b"".join(chunk))
    report.close()
    if plain is not None:
        plain.write(b"".join(plain_chunk))
        plain.close()
    print("lines=%d jobs=%d barcodes=%d bytes=%d" % (number, pages, barcodes, size))


if __name__ == "__main__":
    main()
