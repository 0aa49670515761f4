#!/usr/bin/python3
"""Prints the paragraphs of an HTML file that unrtf or LibreOffice wrote, as
  text:  their text, a line each, empty ones at the end left out;
  runs:  "alignment: [b16]text [10]more" a line each, a [bold points] per run;
  fonts: the same with the font of each run: [b16 Arial].
Usage: html_paragraphs.py unrtf|libreoffice text|runs|fonts FILE"""
import html.parser
import re
import sys


class Reader(html.parser.HTMLParser):
    def __init__(self, unrtf):
        super().__init__(convert_charrefs=True)
        self.unrtf, self.stack, self.bold_tags, self.paragraphs = unrtf, [], 0, []

    def innermost(self, field, default):
        return next((e[field] for e in reversed(self.stack) if e[field] is not None), default)

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        # unrtf ends paragraphs with <br> (<hr> for a page), LibreOffice uses <p>.
        if (self.unrtf and tag in ("body", "br", "hr")) or (not self.unrtf and tag == "p"):
            self.paragraphs.append([attrs.get("align", ""), []])
        if tag in ("body", "br", "hr"):
            return
        self.bold_tags += tag == "b"  # unrtf closes them out of order: counted
        style = attrs.get("style") or ""
        weight = re.search(r"font-weight:\s*(\w+)", style)
        bold = weight.group(1) != "normal" if weight else (True if tag == "b" else None)
        size = re.search(r"font-size:\s*([0-9.]+)pt", style)
        face = attrs.get("face")
        self.stack.append((tag, bold, float(size.group(1)) if size else None, face.split(",")[0] if face else None))

    def handle_endtag(self, tag):
        self.bold_tags -= tag == "b"
        for i in range(len(self.stack) - 1, -1, -1):
            if self.stack[i][0] == tag:
                del self.stack[i:]
                break

    def handle_data(self, data):
        # unrtf writes the document's title into the body.
        if not self.paragraphs or any(e[0] == "title" for e in self.stack):
            return
        # Both wrap long lines; LibreOffice's line ends stand for spaces.
        data = data.replace("\n", "" if self.unrtf else " ")
        bold = self.bold_tags > 0 if self.unrtf else self.innermost(1, False)
        key = (bold, self.innermost(2, 0), self.innermost(3, ""))
        runs = self.paragraphs[-1][1]
        if runs and runs[-1][0] == key:
            runs[-1][1] += data
        elif data:
            runs.append([key, data])


reader = Reader(sys.argv[1] == "unrtf")
with open(sys.argv[3], encoding="utf-8", errors="replace") as f:
    reader.feed(f.read())
out = ""
for align, runs in reader.paragraphs:
    if not reader.unrtf:
        # White space at the ends of a paragraph is LibreOffice's layout.
        while runs and not runs[0][1].strip(" "):
            del runs[0]
        while runs and not runs[-1][1].strip(" "):
            del runs[-1]
        if runs:
            runs[0][1], runs[-1][1] = runs[0][1].lstrip(" "), runs[-1][1].rstrip(" ")
    if sys.argv[2] == "text":
        out += "".join(text for _, text in runs) + "\n"
        continue
    out += align + ":"
    for (bold, points, font), text in runs:
        out += " [%s%g%s]%s" % ("b" if bold else "", points, " " + font if sys.argv[2] == "fonts" else "", text)
    out += "\n"
while out.endswith("\n\n") and sys.argv[2] == "text":
    out = out[:-1]
sys.stdout.write(out)
