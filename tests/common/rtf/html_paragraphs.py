#!/usr/bin/python3
"""Prints the paragraphs of an HTML file that unrtf or LibreOffice wrote,
one line "P<TAB>alignment" per paragraph and one line
"R<TAB>bold<TAB>points<TAB>font<TAB>text" per run of equal formatting, with tab,
backslash and line breaks in the text escaped as \\t, \\\\ and \\n.
Usage: html_paragraphs.py unrtf|libreoffice FILE"""
import html.parser
import re
import sys


class Paragraphs(html.parser.HTMLParser):
    def __init__(self, breaks_end_paragraphs):
        super().__init__(convert_charrefs=True)
        self.breaks_end_paragraphs = breaks_end_paragraphs
        self.paragraphs = []
        self.stack = []  # (tag, bold, points, font), None where the tag says nothing
        self.bold_depth = 0  # unrtf closes <b> out of order: count them
        self.in_body = False

    def bold(self):
        if self.breaks_end_paragraphs:
            return self.bold_depth > 0
        return self.innermost(1, False)

    def innermost(self, field, default):
        for entry in reversed(self.stack):
            if entry[field] is not None:
                return entry[field]
        return default

    def new_paragraph(self, align):
        self.paragraphs.append([align, []])

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        style = attrs.get("style") or ""
        if tag == "body":
            self.in_body = True
            self.new_paragraph("")
            return
        if tag == "p" and not self.breaks_end_paragraphs:
            self.new_paragraph(attrs.get("align", "left"))
        if tag in ("br", "hr"):
            if self.breaks_end_paragraphs:
                self.new_paragraph("")
            return
        bold = None
        if tag in ("b", "strong"):
            bold = True
            self.bold_depth += 1
        weight = re.search(r"font-weight:\s*(\w+)", style)
        if weight:
            bold = weight.group(1) != "normal"
        size = re.search(r"font-size:\s*([0-9.]+)pt", style)
        points = float(size.group(1)) if size else None
        face = attrs.get("face")
        font = face.split(",")[0].strip() if face else None
        self.stack.append((tag, bold, points, font))

    def handle_endtag(self, tag):
        if tag in ("b", "strong"):
            self.bold_depth -= 1
        for i in range(len(self.stack) - 1, -1, -1):
            if self.stack[i][0] == tag:
                del self.stack[i:]
                break

    def handle_data(self, data):
        # unrtf writes the document's title into the body.
        if not self.in_body or any(entry[0] == "title" for entry in self.stack):
            return
        # Both readers wrap long lines: a line end in the file is a space.
        data = data.replace("\r", "").replace("\n", "" if self.breaks_end_paragraphs else " ")
        if not data:
            return
        runs = self.paragraphs[-1][1]
        key = (self.bold(), self.innermost(2, 0), self.innermost(3, ""))
        if runs and runs[-1][0] == key:
            runs[-1][1] += data
        else:
            runs.append([key, data])


def trim_layout_white_space(runs):
    """LibreOffice lays its tags out on lines: white space at the ends of
    a paragraph is layout, not text (its own spaces come as &nbsp;)."""
    while runs and not runs[0][1].strip(" "):
        del runs[0]
    while runs and not runs[-1][1].strip(" "):
        del runs[-1]
    if runs:
        runs[0][1] = runs[0][1].lstrip(" ")
        runs[-1][1] = runs[-1][1].rstrip(" ")


def main():
    mode, path = sys.argv[1], sys.argv[2]
    parser = Paragraphs(breaks_end_paragraphs=(mode == "unrtf"))
    with open(path, encoding="utf-8", errors="replace") as f:
        parser.feed(f.read())
    out = []
    paragraphs = parser.paragraphs
    if mode != "unrtf" and paragraphs and not paragraphs[0][1]:
        paragraphs = paragraphs[1:]  # the body's start is no paragraph
    for align, runs in paragraphs:
        if mode != "unrtf":
            trim_layout_white_space(runs)
        out.append("P\t" + align)
        for (bold, points, font), text in runs:
            text = text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
            out.append("R\t%d\t%g\t%s\t%s" % (bold, points, font, text))
    sys.stdout.write("\n".join(out) + "\n")


main()
