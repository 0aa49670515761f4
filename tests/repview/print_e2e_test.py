"""End-to-end tests of the repview binary printing to PDF files.

The PDFs are read back with pdftotext, barcodes decoded with zbarimg from
pages rasterised at 300 dpi.
"""
import glob
import os
import re
import shutil
import subprocess
import tempfile
import unittest

BIN = os.path.join(os.environ["ZLT_BIN_DIR"], "repview")
SOURCE = os.environ["ZLT_SOURCE_DIR"]


def pdf_text(path, layout=True):
    args = ["pdftotext"] + (["-layout"] if layout else []) + [path, "-"]
    return subprocess.run(args, check=True, capture_output=True).stdout.decode("utf-8")


def pdf_pages(path):
    info = subprocess.run(["pdfinfo", path], check=True, capture_output=True).stdout.decode()
    return int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))


def barcodes(pdf, workdir):
    prefix = os.path.join(workdir, "page")
    subprocess.run(["pdftoppm", "-r", "300", "-gray", "-png", pdf, prefix], check=True)
    found = []
    for png in sorted(glob.glob(prefix + "*.png")):
        r = subprocess.run(["zbarimg", "--nodbus", "-q", png], capture_output=True)
        found += [line.split(":", 1)[1] for line in r.stdout.decode().split() if line.startswith("EAN-13:")]
        os.remove(png)
    return found


def ean13(twelve):
    total = sum(int(d) * (1 if i % 2 == 0 else 3) for i, d in enumerate(twelve))
    return twelve + str((10 - total % 10) % 10)


class RepviewPrinting(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="repview-e2e-")
        self.out = os.path.join(self.dir, "out")
        self.env = dict(os.environ)
        for var in ("DISPLAY", "WAYLAND_DISPLAY", "ZLT_CODEPAGE"):
            self.env.pop(var, None)
        self.env["REPVIEW_PRINTER"] = "pdf:" + self.out
        self.env["HOME"] = self.dir

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def write(self, name, data):
        path = os.path.join(self.dir, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def run_repview(self, *args, env=None):
        return subprocess.run([BIN, *args], env=env or self.env, capture_output=True, timeout=120)

    def pdfs(self, folder=None):
        return sorted(glob.glob(os.path.join(folder or self.out, "*.pdf")))

    def test_sample_report_through_a_dos_path(self):
        self.env["ZLT_DRIVES"] = "C=" + os.path.join(SOURCE, "samples")
        r = self.run_repview("C:\\ZLT\\RPT.")
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(r.stdout, b"")
        files = self.pdfs()
        with open(os.path.join(SOURCE, "samples", "ZLT", "RPT"), "rb") as f:
            jobs = f.read().count(b"\f") + 1
        self.assertEqual(len(files), jobs)
        first = pdf_text(files[0])
        self.assertIn("KELVANE HARDWARE & GARDEN", first)
        self.assertIn("café sales € 12.50", first)  # Windows-1252 bytes shown as such
        self.assertLess(first.index("Hardware  "), first.index("Total"))
        for f in files:
            text = pdf_text(f)
            for leak in (">[", "]<"):
                self.assertNotIn(leak, text, f)
        self.assertEqual(sorted(barcodes(files[1], self.dir)),
                         sorted([ean13("930012345678"), ean13("501234567890"), ean13("400638133393")]))

    def test_every_leading_digit_scans(self):
        numbers = ["%d%011d" % (d, 12345678901 + 7919 * d) for d in range(10)]
        report = b"".join(b"Item %d\r\n>[BC%s]<\r\n" % (i, n.encode()) for i, n in enumerate(numbers))
        r = self.run_repview(self.write("RPT", report))
        self.assertEqual(r.returncode, 0, r.stderr)
        [pdf] = self.pdfs()
        self.assertEqual(sorted(barcodes(pdf, self.dir)), sorted(ean13(n) for n in numbers))

    def test_barcode_in_colour_and_bold_still_scans(self):
        report = b">[BO]<>[MA]<Blue>\r\n>[BC590123412345]<after\r\n"
        r = self.run_repview(self.write("RPT", report))
        self.assertEqual(r.returncode, 0, r.stderr)
        [pdf] = self.pdfs()
        self.assertEqual(barcodes(pdf, self.dir), ["5901234123457"])
        lines = [l.strip() for l in pdf_text(pdf).splitlines() if l.strip()]
        self.assertEqual(lines[0], "Blue")
        self.assertEqual(lines[-1], "after")

    def test_one_pdf_per_job_in_order_and_never_overwritten(self):
        report = self.write("RPT", b"first job\r\n\fsecond job\r\n\f\fthird job\r\n\f")
        for run in range(2):
            r = self.run_repview(report)
            self.assertEqual(r.returncode, 0, r.stderr)
        files = self.pdfs()
        # The empty job between two form feeds makes no sheet.
        self.assertEqual(len(files), 6)
        texts = [pdf_text(f).strip() for f in files]
        self.assertEqual(texts, ["first job", "second job", "third job"] * 2)

    def test_long_job_runs_onto_new_pages_and_clips_long_lines(self):
        lines = [b"line %04d" % i for i in range(300)]
        lines[5] = b"wide " + b"0123456789" * 40 + b"TAIL"
        r = self.run_repview(self.write("RPT", b"\r\n".join(lines) + b"\r\n"))
        self.assertEqual(r.returncode, 0, r.stderr)
        [pdf] = self.pdfs()
        self.assertGreaterEqual(pdf_pages(pdf), 4)
        text = pdf_text(pdf, layout=False)
        found = re.findall(r"line (\d{4})", text)
        self.assertEqual(found, ["%04d" % i for i in range(300) if i != 5])
        self.assertNotIn("TAIL", text)
        self.assertIn("wide 0123456789", text)

    def font_test_lines(self, env):
        r = self.run_repview("fOnTs", env=env)
        self.assertEqual(r.returncode, 0, r.stderr)
        [pdf] = self.pdfs()
        lines = [l.strip() for l in pdf_text(pdf).splitlines() if l.strip()]
        samples = [l[len("This is a test for font "):] for l in lines if l.startswith("This is a test for font ")]
        self.assertEqual(len(samples), len(set(samples)))
        # Each readable sample has its rule of 52 hyphens under it.
        for i, line in enumerate(lines):
            if line.startswith("This is a test for font "):
                self.assertEqual(lines[i + 1], "-" * 52, line)
        return samples

    def test_font_test_page_of_the_pdf_printer(self):
        # The PDF files carry the standard Courier font; the barcode font's
        # sample is drawn as bars, which read as no text.
        self.assertEqual(self.font_test_lines(self.env), ["Courier"])

    def test_font_test_page_through_the_system_fonts(self):
        # A DOS code page sends printing through Qt and the system's fonts.
        samples = self.font_test_lines(dict(self.env, ZLT_CODEPAGE="437"))
        self.assertIn("Liberation Mono", samples)
        self.assertGreater(len(samples), 3)

    def test_dos_code_page_box_drawing(self):
        self.env["ZLT_CODEPAGE"] = "437"
        r = self.run_repview(self.write("RPT", b"\xda\xc4\xc4\xbf\r\n\xb3OK\xb3 caf\x82\r\n\xc0\xc4\xc4\xd9\r\n"))
        self.assertEqual(r.returncode, 0, r.stderr)
        [pdf] = self.pdfs()
        self.assertEqual([l for l in pdf_text(pdf).splitlines() if l.strip()], ["┌──┐", "│OK│ café", "└──┘"])

    def test_default_folder_without_printer_setting(self):
        del self.env["REPVIEW_PRINTER"]
        self.env["CUPS_SERVER"] = os.path.join(self.dir, "no-cups-here.sock")  # a machine without printers
        r = self.run_repview(self.write("RPT", b"to the default folder\r\n"))
        self.assertEqual(r.returncode, 0, r.stderr)
        files = self.pdfs(os.path.join(self.dir, "Documents", "Repview"))
        self.assertEqual(len(files), 1)
        self.assertIn("to the default folder", pdf_text(files[0]))

    def test_reports_that_cannot_be_printed(self):
        good = self.write("RPT", b"x\r\n")
        cases = [
            ("missing file", [os.path.join(self.dir, "NOPE")], "File not found"),
            ("path in quotes", ['"%s"' % good], "File not found"),
            ("folder", [self.dir], "access error"),
        ]
        for name, args, words in cases:
            with self.subTest(name):
                r = self.run_repview(*args)
                self.assertNotEqual(r.returncode, 0)
                lines = r.stderr.decode().splitlines()
                self.assertEqual(len(lines), 1, lines)
                self.assertIn(words, lines[0])
                self.assertEqual(self.pdfs(), [])

    def test_bad_barcode_keeps_earlier_jobs_and_drops_the_unfinished_one(self):
        report = self.write("RPT", b"job one\r\n\fjob two\r\n>[BC5X0123412345]<\r\nnever\r\n\fjob three\r\n")
        r = self.run_repview(report)
        self.assertNotEqual(r.returncode, 0)
        self.assertIn("Type mismatch", r.stderr.decode())
        files = self.pdfs()
        self.assertEqual([pdf_text(f).strip() for f in files], ["job one"])
        self.assertEqual(os.listdir(self.out), [os.path.basename(files[0])])

    def test_dead_display_and_option_like_arguments(self):
        # A DISPLAY nobody answers prints as if there were none.
        env = dict(self.env, DISPLAY=":97")
        r = self.run_repview(self.write("RPT", b"printed anyway\r\n"), env=env)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual([pdf_text(f).strip() for f in self.pdfs()], ["printed anyway"])
        # Arguments are the host's report path, never options of the toolkit.
        for args in (["-platform", "xcb"], ["-stylesheet", "/etc/passwd"]):
            with self.subTest(args):
                r = self.run_repview(*args)
                self.assertEqual(r.returncode, 1, r.stderr)
                self.assertIn("File not found", r.stderr.decode())
                self.assertIn(" ".join(args), r.stderr.decode())

    def test_bad_settings_are_reported(self):
        for var, value, words in [
            ("REPVIEW_PRINTER", "no-such-printer-here", "no printer known"),
            ("ZLT_CODEPAGE", "latin", "ZLT_CODEPAGE"),
            ("ZLT_DRIVES", "C", "ZLT_DRIVES"),
        ]:
            with self.subTest(var):
                env = dict(self.env)
                env[var] = value
                r = self.run_repview(self.write("RPT", b"x"), env=env)
                self.assertNotEqual(r.returncode, 0)
                self.assertIn(words, r.stderr.decode())


if __name__ == "__main__":
    unittest.main(verbosity=2)
