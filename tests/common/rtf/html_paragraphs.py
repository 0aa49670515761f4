#!/usr/bin/python3
"""Usage: html_paragraphs.py unrtf|libreoffice FILE. Prints the paragraphs of an HTML file, a line each: unrtf,
their text; libreoffice, "alignment: [b16 Font]text [10]more", [bold points font] per run (no font: the default)."""
import html, html.parser, re, sys


class LibreOffice(html.parser.HTMLParser):
    stack, paragraphs = [(None, False, 0, "")], []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        inner, style = self.stack[-1], attrs.get("style") or ""
        if tag == "p":
            self.paragraphs.append([attrs.get("align", ""), []])
        weight, size = re.search(r"font-weight:\s*(\w+)", style), re.search(r"font-size:\s*([0-9.]+)pt", style)
        bold = weight.group(1) != "normal" if weight else tag == "b" or inner[1]
        face = (attrs.get("face") or "").split(",")[0] or inner[3]
        self.stack.append((tag, bold, float(size.group(1)) if size else inner[2], face))

    def handle_endtag(self, tag):
        while len(self.stack) > 1 and self.stack.pop()[0] != tag:
            pass

    def handle_data(self, data):
        if self.paragraphs and data.strip():  # its line ends wrap long lines; white space first is layout
            runs = self.paragraphs[-1][1]
            runs.append([self.stack[-1][1:], data.replace("\n", " ") if runs else data.replace("\n", " ").lstrip()])


text = open(sys.argv[2], encoding="utf-8", errors="replace").read()
if sys.argv[1] == "unrtf":  # paragraphs end in <br> (<hr> for a page); it wraps long lines
    body = re.sub(r"<title>.*?</title>", "", re.search(r"<body[^>]*>(.*)</body>", text, re.S)[1].replace("\n", ""))
    print(html.unescape(re.sub(r"<[^>]*>", "", re.sub(r"<[bh]r>", "\n", body))).rstrip("\n"))
else:
    reader = LibreOffice(convert_charrefs=True)
    reader.feed(text)
    for align, runs in reader.paragraphs:
        runs = "".join(" [%s%g%s]%s" % ("b" * b, pt, " " + f if f else "", t) for (b, pt, f), t in runs)
        print((align + ":" + runs).rstrip())
