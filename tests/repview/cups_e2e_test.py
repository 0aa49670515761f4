"""repview printing through CUPS: a private cupsd on a local socket with one
raw queue; the print jobs it receives are kept and read back with pdftotext.
"""
import glob
import os
import shutil
import subprocess
import tempfile
import time
import unittest

BIN = os.path.join(os.environ["ZLT_BIN_DIR"], "repview")

CUPSD_CONF = """Listen {root}/cups.sock
LogLevel warn
WebInterface No
PreserveJobFiles Yes
PreserveJobHistory Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
"""

CUPS_FILES_CONF = """ServerRoot {root}/etc
RequestRoot {root}/spool
TempDir {root}/tmp
CacheDir {root}/cache
StateDir {root}/state
ErrorLog {root}/log/error_log
AccessLog {root}/log/access_log
PageLog {root}/log/page_log
FileDevice Yes
Sandboxing relaxed
"""


@unittest.skipUnless(shutil.which("cupsd") and os.geteuid() == 0, "needs cupsd and root to run a private CUPS server")
class CupsPrinting(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="repview-cups-")
        os.chmod(self.root, 0o755)
        for sub in ("etc", "spool", "tmp", "cache", "state", "log"):
            os.makedirs(os.path.join(self.root, sub))
        os.chmod(os.path.join(self.root, "tmp"), 0o1777)
        with open(os.path.join(self.root, "etc", "cupsd.conf"), "w") as f:
            f.write(CUPSD_CONF.format(root=self.root))
        with open(os.path.join(self.root, "etc", "cups-files.conf"), "w") as f:
            f.write(CUPS_FILES_CONF.format(root=self.root))
        self.cupsd = subprocess.Popen(
            ["cupsd", "-f", "-c", self.root + "/etc/cupsd.conf", "-s", self.root + "/etc/cups-files.conf"])
        self.env = dict(os.environ, CUPS_SERVER=self.root + "/cups.sock", HOME=self.root)
        for var in ("DISPLAY", "WAYLAND_DISPLAY", "REPVIEW_PRINTER"):
            self.env.pop(var, None)
        deadline = time.time() + 20
        while not os.path.exists(self.root + "/cups.sock"):
            self.assertLess(time.time(), deadline, "cupsd did not start")
            time.sleep(0.1)
        for name in ("shopfront", "backoffice"):
            self.lp(["lpadmin", "-p", name, "-E", "-v", "file:///dev/null", "-m", "raw"])
        self.lp(["lpadmin", "-d", "backoffice"])

    def tearDown(self):
        self.cupsd.terminate()
        self.cupsd.wait(timeout=20)
        shutil.rmtree(self.root, ignore_errors=True)

    def lp(self, args):
        r = subprocess.run(args, env=self.env, capture_output=True, timeout=30)
        self.assertEqual(r.returncode, 0, r.stderr)
        return r.stdout.decode()

    def jobs_on(self, printer, count):
        """The documents of the first count jobs on the printer, once completed."""
        deadline = time.time() + 60
        while True:
            done = [l.split()[0] for l in self.lp(["lpstat", "-W", "completed", "-o", printer]).splitlines() if l.strip()]
            if len(done) >= count or time.time() > deadline:
                break
            time.sleep(0.2)
        self.assertEqual(len(done), count, done)
        texts = []
        for job in sorted(done, key=lambda j: int(j.rsplit("-", 1)[1])):
            number = int(job.rsplit("-", 1)[1])
            [document] = glob.glob(os.path.join(self.root, "spool", "d%05d-001" % number))
            texts.append(subprocess.run(["pdftotext", document, "-"], capture_output=True, check=True).stdout.decode().strip())
        return texts

    def report(self, data):
        path = os.path.join(self.root, "RPT")
        with open(path, "wb") as f:
            f.write(data)
        return path

    def test_named_printer_gets_one_job_per_form_feed(self):
        path = self.report(b"first >[BO]<job\r\n\fsecond job\r\n")
        r = subprocess.run([BIN, path], env=dict(self.env, REPVIEW_PRINTER="shopfront"), capture_output=True, timeout=60)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(self.jobs_on("shopfront", 2), ["first job", "second job"])
        self.assertEqual(self.lp(["lpstat", "-W", "completed", "-o", "backoffice"]).strip(), "")

    def test_default_printer_when_nothing_is_set(self):
        r = subprocess.run([BIN, self.report(b"to the default printer\r\n")], env=self.env, capture_output=True, timeout=60)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(self.jobs_on("backoffice", 1), ["to the default printer"])
        self.assertFalse(os.path.exists(os.path.join(self.root, "Documents", "Repview")))


if __name__ == "__main__":
    unittest.main(verbosity=2)
