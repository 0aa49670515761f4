"""The repview binary as the host starts it: PDF files read back with pdftotext, pdftoppm and zbarimg (ZLT_CODEPAGE
1252 prints through the direct PDF writer, 437 through Qt: what concerns the printer runs on both); a private cupsd."""
import glob, os, pathlib, re, shutil, subprocess, tempfile, time, unittest  # noqa: E401

BIN = os.path.join(os.environ["ZLT_BIN_DIR"], "repview")
SOURCE = os.environ["ZLT_SOURCE_DIR"]
BACKENDS = ("1252", "437")


def out(*args):
    return subprocess.run(args, check=True, capture_output=True).stdout.decode()


def lines(pdf):
    return [l.strip() for l in out("pdftotext", "-layout", pdf, "-").splitlines() if l.strip()]


def words(pdf):
    """(page, x, y, text) of each word, x and y its top left in points."""
    found, page = [], 0
    for m in re.finditer(r'<page |<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)<', out("pdftotext", "-bbox", pdf, "-")):
        page += m.group(1) is None
        found += [(page, float(m.group(1)), float(m.group(2)), m.group(3))] if m.group(1) else []
    return found


def barcodes(pdf, workdir):
    subprocess.run(["pdftoppm", "-r", "300", "-gray", "-png", pdf, workdir + "/page"], check=True)
    pages = glob.glob(workdir + "/page*.png")
    found = subprocess.run(["zbarimg", "--nodbus", "-q", *pages], capture_output=True).stdout.decode().split()
    list(map(os.remove, pages))
    return sorted(code[len("EAN-13:"):] for code in found if code.startswith("EAN-13:"))


def ean13(twelve):
    return twelve + str(-sum(int(d) * (3 if i % 2 else 1) for i, d in enumerate(twelve)) % 10)


def ink(pdf):
    """Pixels of red ink and of any other dark ink in the top left 120 x 60 points of page 1."""
    ppm = subprocess.run(["pdftoppm", "-r", "72", "-f", "1", "-l", "1", pdf], check=True, capture_output=True).stdout
    width, pixels = int(re.match(rb"P6\s+(\d+)", ppm).group(1)), ppm[re.match(rb"P6\s+\d+\s+\d+\s+255\s", ppm).end():]
    rgb = [pixels[3 * (y * width + x):3 * (y * width + x) + 3] for y in range(60) for x in range(120)]
    return sum(r > 200 and g < 80 and b < 80 for r, g, b in rgb), sum(r < 200 for r, g, b in rgb)


class Repview(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="repview-e2e-")
        self.addCleanup(shutil.rmtree, self.dir, True)
        self.env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "ZLT_CODEPAGE")}
        self.env["HOME"] = self.dir

    def write(self, data, name="RPT"):
        with open(os.path.join(self.dir, name), "wb") as f:
            f.write(data)
        return os.path.join(self.dir, name)

    def repview(self, *args, folder=None, **settings):
        """Runs repview with a PDF folder of its own: exit status, lines on stderr, PDF files."""
        folder = folder or tempfile.mkdtemp(dir=self.dir)
        env = {k: v for k, v in {**self.env, "REPVIEW_PRINTER": "pdf:" + folder, **settings}.items() if v is not None}
        r = subprocess.run([BIN, *args], env=env, cwd=self.dir, capture_output=True, timeout=60)
        self.assertEqual(r.stdout, b"")
        return r.returncode, r.stderr.decode().splitlines(), sorted(glob.glob(folder + "/*.pdf"))

    def test_sample_report_through_a_dos_path(self):
        status, errors, files = self.repview("C:\\ZLT\\RPT.", ZLT_DRIVES="C=" + SOURCE + "/samples")
        self.assertEqual((status, errors, len(files)), (0, [], pathlib.Path(SOURCE, "samples/ZLT/RPT").read_bytes().count(b"\f") + 1))
        first = "\n".join(lines(files[0]))
        self.assertRegex(first, r"^KELVANE HARDWARE & GARDEN(.|\n)*Hardware  (.|\n)*Total(.|\n)*café sales € 12\.50")
        self.assertNotRegex("".join(out("pdftotext", pdf, "-") for pdf in files), r">\[|\]<")
        self.assertEqual(barcodes(files[1], self.dir), sorted(map(ean13, ["930012345678", "501234567890", "400638133393"])))

    def test_one_report_through_each_printer(self):
        numbers = ["%d%011d" % (d, 12345678901 + 7919 * d) for d in range(10)]  # every leading digit
        report = self.write(b">[VI]<>[EX]<>[BO]<MMM\f>[NO]<>[ST]<Top\r\n>[EX]<Second\r\nThird>[ST]<\r\nFourth\r\nFifth\r\n"
                            b"ab cd\r\n" + b"".join(b"row%03d\r\n" % i for i in range(150)) + b"x" * 200 + b" END\f\f>[BO]<>[MA]<"
                            b"Blue>\r\n" + b"".join(b"Item\r\n>[BC%s]<\r\n" % n.encode() for n in numbers) + b"after\f")
        for page in BACKENDS:
            folder = tempfile.mkdtemp(dir=self.dir)
            runs = [self.repview(report, folder=folder, ZLT_CODEPAGE=page) for run in range(2)]
            self.assertEqual([run[:2] for run in runs], [(0, [])] * 2)
            files = runs[1][2]  # one a job, none overwritten; the empty job between two form feeds makes no sheet
            self.assertEqual([words(f)[0][3] for f in files], ["MMM", "Top", "Blue"] * 2, page)
            self.assertEqual([(red > 20, other) for red, other in map(ink, files[:2])], [(True, 0)] * 2, page)  # red holds
            self.assertEqual(barcodes(files[2], self.dir), sorted(map(ean13, numbers)), page)  # in bold and colour
            self.assertEqual(lines(files[2])[-1], "after")
            found = words(files[1])
            at = {w[3]: w[1:3] for w in found}  # x, y
            (x1, y1), (x2, y2), (_, y3), (_, y4), (_, y5) = (at[w] for w in ("Top", "Second", "Third", "Fourth", "Fifth"))
            self.assertTrue(x1 < 30 and y1 < 40 and abs(x2 - x1) < 0.01, at["Top"])  # the printable area's corner
            # Each break moves down one line of the font current at it.
            self.assertTrue(16 < y3 - y2 < 20 and abs((y3 - y2) / (y5 - y4) - 1.6) < 0.02, (page, y2, y3, y4, y5))
            self.assertAlmostEqual(at["cd"][0] - at["ab"][0], 18, delta=0.05)  # 6-point cells of 10-point Courier
            tops = [w[2] for before, w in zip(found, found[1:]) if w[0] != before[0]]
            self.assertTrue(tops and all(abs(y - y1) < 0.5 for y in tops), tops)  # new pages start at the top
            self.assertEqual([w[3] for w in found if w[3].startswith("row")], ["row%03d" % i for i in range(150)])
            self.assertNotIn("END", at)  # past the right edge: clipped

    def test_a_report_from_a_pipe_whose_writer_pauses_inside_a_barcode(self):
        fifo = self.dir + "/FIFO"
        os.mkfifo(fifo)
        pausing = "import sys, time\nwith open(sys.argv[1], 'wb', 0) as f:\n    for part in sys.argv[2:]: f.write(part.encode()), time.sleep(0.2)"
        for page in BACKENDS:  # each read of the pipe ends where the writer paused
            writer = subprocess.Popen(["/usr/bin/python3", "-c", pausing, fifo, "before\r\n>[BC93", "00", "1", "2345678]", "<\r\nafter"])
            status, errors, files = self.repview(fifo, ZLT_CODEPAGE=page)
            writer.wait()
            self.assertEqual((status, errors, barcodes(files[0], self.dir), lines(files[0])[-1]), (0, [], [ean13("930012345678")], "after"))

    def test_font_test_page(self):
        for page in BACKENDS:
            text = lines(self.repview("fOnTs", ZLT_CODEPAGE=page)[2][0])
            samples = [l[24:] for l in text if l.startswith("This is a test for font ")]
            self.assertEqual([text[text.index(l) + 1] for l in text if l.startswith("This is")], ["-" * 52] * len(samples))
            # Standard Courier (the barcode font's sample is bars); the system's fonts through Qt.
            self.assertTrue(samples == ["Courier"] if page == "1252" else "Liberation Mono" in samples and len(set(samples)) > 3)

    def test_dos_box_drawing_into_the_default_folder_of_a_machine_without_printers(self):
        report = self.write(b"\xda\xc4\xc4\xbf\r\n\xb3OK\xb3 caf\x82\r\n\xc0\xc4\xc4\xd9")
        status, errors, _ = self.repview(report, ZLT_CODEPAGE="437", REPVIEW_PRINTER=None, CUPS_SERVER=self.dir + "/none")
        self.assertEqual((status, errors), (0, []))
        self.assertEqual([lines(f) for f in glob.glob(self.dir + "/Documents/Repview/*.pdf")], [["┌──┐", "│OK│ café", "└──┘"]])

    def test_exit_statuses_and_the_one_line(self):
        good, nope, d = self.write(b"x\r\n"), self.dir + "/NOPE", self.dir
        bad_barcode = self.write(b"job one\r\n\fjob two\r\n>[BC5X0123412345]<\r\nnever\r\n\fjob three\r\n", "BAD")

        def failed(arg, what, number):  # what: a pattern
            return re.escape("repview: printing %s: " % arg) + what + re.escape(" (error %d)" % number)

        cases = [  # arguments, settings, status, the line on stderr (a pattern), what was printed
            ([good], {"DISPLAY": ":97"}, 0, None, [["x"]]),  # a display nobody answers prints as if none
            ([nope], {}, 1, failed(nope, re.escape("File not found (%s)" % nope), 53), []),
            (['"%s"' % good], {}, 1, failed('"%s"' % good, re.escape('Path not found (%s/"%s")' % (d, good)), 76), []),
            ([" FONTS"], {}, 1, failed(" FONTS", "File not found.*", 53), []),
            (["-platform", "xcb"], {}, 1, failed("-platform xcb", "File not found.*", 53), []),
            ([bad_barcode], {}, 1, failed(bad_barcode, re.escape('Type mismatch (barcode field "5X0123412345")'), 13), [["job one"]]),
            ([bad_barcode], {"ZLT_CODEPAGE": "437"}, 1, failed(bad_barcode, "Type mismatch.*", 13), [["job one"]]),
            ([good], {"REPVIEW_PRINTER": "pdf:/proc/none"}, 1, failed(good, "Printer error.*", 482), []),
            ([good], {"REPVIEW_PRINTER": "pdf:/proc/none", "ZLT_CODEPAGE": "437"}, 1, failed(good, "Printer error.*", 482), []),
            ([good], {"REPVIEW_PRINTER": "no-such-printer-here"}, 2, "repview: setting: .*no printer known.*", []),
            ([good], {"ZLT_CODEPAGE": "latin"}, 2, "repview: setting: ZLT_CODEPAGE.*", []),
            ([good], {"ZLT_DRIVES": "C"}, 2, "repview: setting: ZLT_DRIVES.*", []),
            ([], {}, 1, "repview: opening the viewer: Device unavailable .* \\(error 68\\)", []),  # no display: ends at once
        ]
        for args, settings, status, line, printed in cases:
            started = time.monotonic()
            got, errors, files = self.repview(*args, **settings)
            self.assertLess(time.monotonic() - started, 30, args)
            self.assertEqual((got, len(errors), [lines(f) for f in files]), (status, line is not None, printed), (args, errors))
            self.assertRegex("".join(errors), "^%s$" % (line or ""))

    def test_a_print_killed_mid_job_leaves_no_pdf_that_is_not_whole(self):
        report = self.write(b"job one\r\n\f" + b"".join(b"line %07d\r\n" % i for i in range(400000)))
        for signal, codepage in (("TERM", "1252"), ("KILL", "1252"), ("TERM", "437")):
            with self.subTest(signal=signal, codepage=codepage):
                folder = tempfile.mkdtemp(dir=self.dir)
                env = dict(self.env, REPVIEW_PRINTER="pdf:" + folder, ZLT_CODEPAGE=codepage)
                run = subprocess.Popen([BIN, report], env=env, stderr=subprocess.DEVNULL)
                deadline = time.monotonic() + 30
                while not glob.glob(folder + "/*-000002.pdf.unfinished") and time.monotonic() < deadline:
                    time.sleep(0.02)
                subprocess.run(["kill", "-" + signal, str(run.pid)], check=True)
                run.wait()
                pdfs = glob.glob(folder + "/*.pdf")
                self.assertEqual([os.path.basename(p)[-11:] for p in pdfs], ["-000001.pdf"])
                self.assertEqual(lines(pdfs[0]), ["job one"])
                self.assertEqual(len(glob.glob(folder + "/*-000002.pdf.unfinished")), 1)


@unittest.skipUnless(shutil.which("cupsd") and shutil.which("strace") and os.geteuid() == 0, "needs cupsd, strace and root")
class CupsPrinting(unittest.TestCase):
    """A private cupsd with two raw queues; what each job carried is read back from the server's spool."""
    def setUp(self):
        self.root = root = tempfile.mkdtemp(prefix="repview-cups-")
        self.addCleanup(shutil.rmtree, root, True)
        os.chmod(root, 0o755)
        with open(root + "/cupsd.conf", "w") as f:
            f.write("Listen %s/cups.sock\n<Policy default>\n<Limit All>\n</Limit>\n</Policy>\n" % root)
        with open(root + "/cups-files.conf", "w") as f:
            f.write("ServerRoot {0}\nRequestRoot {0}\nTempDir {0}\nCacheDir {0}\nStateDir {0}\nErrorLog stderr\nFileDevice Yes\n"
                    "AccessLog {0}/access_log\nPageLog {0}/page_log\nSandboxing relaxed\n".format(root))
        cupsd = subprocess.Popen(["cupsd", "-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"], stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (cupsd.terminate(), cupsd.wait(20)))
        self.env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "REPVIEW_PRINTER", "ZLT_CODEPAGE")}
        self.env.update(CUPS_SERVER=root + "/cups.sock", HOME=root)
        while not os.path.exists(root + "/cups.sock"):
            time.sleep(0.1)
        for name in ("shopfront", "backoffice"):
            self.lp("lpadmin", "-p", name, "-E", "-v", "file:///dev/null", "-m", "raw")
        self.lp("lpadmin", "-d", "backoffice")

    def lp(self, *args, **settings):
        return subprocess.run(args, env={**self.env, **settings}, check=True, capture_output=True, timeout=60).stdout.decode()

    def repview(self, report, traced=False, **settings):
        """Exit status and stderr lines of a run; traced, also its connections to the server."""
        env, trace = {**self.env, **settings}, []
        if traced:  # the leak checker of a sanitized build cannot run under ptrace
            env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":detect_leaks=0"
            trace = ["strace", "-f", "-qq", "-e", "trace=connect", "-o", self.root + "/connects"]
        r = subprocess.run([*trace, BIN, report], env=env, capture_output=True, timeout=60)
        connects = re.findall(r'sun_path="([^"]*)"\}, \d+\) = 0', pathlib.Path(self.root, "connects").read_text()) if traced else []
        return r.returncode, r.stderr.decode().splitlines(), connects.count(self.root + "/cups.sock")

    def jobs(self, printer, count):
        """(id, state) of the printer's first count jobs once they are over: 7 cancelled, 9 completed; a minute at most."""
        for wait in range(300):
            ids = sorted(int(l.split()[0].rsplit("-", 1)[1]) for l in self.lp("lpstat", "-W", "completed", "-o", printer).splitlines())
            control = [pathlib.Path(self.root, "c%05d" % job) for job in ids]  # written a moment after the change
            states = [re.search(rb"\x23\x00\x09job-state\x00\x04(....)", c.read_bytes() if c.exists() else b"") for c in control]
            states = [int.from_bytes(m.group(1), "big") if m else 0 for m in states]
            if len(ids) >= count and all(state in (7, 9) for state in states):
                return list(zip(ids, states))
            time.sleep(0.2)
        self.fail("%s: jobs not over: %s" % (printer, list(zip(ids, states))))

    def data(self, job):
        return "%s/d%05d-001" % (self.root, job)

    def test_one_job_per_form_feed_on_the_named_printer_else_the_default(self):
        report = self.root + "/RPT"
        pathlib.Path(report).write_bytes(b"first >[BO]<job\r\n\fsecond \xc9t\xe9 job\r\n")
        for page, jobs in (("1252", 2), ("437", 4)):  # the DOS page through Qt, whose fonts show every character
            for printer, settings in (("backoffice", {}), ("shopfront", {"REPVIEW_PRINTER": "shopfront"})):
                status, errors, connections = self.repview(report, page == "1252", ZLT_CODEPAGE=page, **settings)
                self.assertEqual((status, errors), (0, []))
                if page == "1252":
                    self.assertEqual(connections, 1)  # the lookup and every job over one
                done = self.jobs(printer, jobs)[-2:]
                self.assertEqual([out("pdftotext", self.data(job), "-").strip() for job, state in done],
                                 ["first job", "second \xc9t\xe9 job" if page == "1252" else "second \u2554t\u0398 job"], page)
        self.assertFalse(os.path.exists(self.root + "/Documents/Repview"))

    def test_each_job_carries_the_pdf_the_pdf_destination_writes(self):
        # Byte for byte what the PDF destination writes, which the tests above read back (red, barcodes ...).
        report = self.root + "/RPT"
        pathlib.Path(report).write_bytes(b">[VI]<>[EX]<Red caf\xe9\r\n>[NO]<>[BL]<plain\f>[BO]<>[MA]<Item\r\n>[BC930012345678]<\r\nafter\f")
        folder = self.root + "/pdf"
        self.assertEqual(self.repview(report, REPVIEW_PRINTER="shopfront")[:2], (0, []))
        self.assertEqual(self.repview(report, REPVIEW_PRINTER="pdf:" + folder)[:2], (0, []))
        queued = [self.data(job) for job, state in self.jobs("shopfront", 2)]
        files = sorted(glob.glob(folder + "/*.pdf"))
        self.assertEqual([pathlib.Path(f).read_bytes() for f in queued], [pathlib.Path(f).read_bytes() for f in files])
        self.assertEqual([lines(f) for f in queued], [["Red café", "plain"], ["Item", "9 300123 456786", "after"]])

    def test_a_failing_job_is_cancelled_and_reported(self):
        bad = b">[BC5X0123412345]<\r\n"
        big = b"".join(b"line %07d\r\n" % i for i in range(200000))  # past what a job keeps in memory: streamed, held
        cases = [  # report, setting up the queue, the line on stderr (a pattern), (state, first line) of each job on the server
            (b"job one\r\n\fjob two\r\n" + bad + b"never\f", None, r"Type mismatch .* \(error 13\)",
             [(9, "job one")]),  # the failing job never reached the server
            (b"job one\r\n\f" + big + bad, None, r"Type mismatch .* \(error 13\)", [(9, "job one"), (7, None)]),
            (b"job one\r\n", ("cupsreject", "shopfront"), r"Printer error: .*shopfront.* \(error 482\)", []),
        ]
        for report, refuse, line, jobs in cases:
            with self.subTest(line=line, jobs=len(jobs)):
                pathlib.Path(self.root, "RPT").write_bytes(report)
                before = len(self.jobs("shopfront", 0))
                if refuse:
                    self.lp(*refuse)
                    self.addCleanup(self.lp, "cupsaccept", "shopfront")
                status, errors, _ = self.repview(self.root + "/RPT", REPVIEW_PRINTER="shopfront")
                self.assertEqual(status, 1)
                self.assertRegex("".join(errors), "^repview: printing .*: " + line + "$")
                done = self.jobs("shopfront", before + len(jobs))[before:]
                self.assertEqual([(state, lines(self.data(job))[0] if state == 9 else None) for job, state in done], jobs)


if __name__ == "__main__":
    unittest.main(verbosity=2)
