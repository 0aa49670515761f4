"""The sendwell binary as the host runs it, against a real SMTP server (tests/engines/mail/smtp_peer.py: aiosmtpd on
127.0.0.1, in this process) that can refuse, drop, stall, want STARTTLS and a login. Messages are read back with Python's
email package, attachments with unrtf; the log, the queue and the sent folder are read from the host tree."""
import os, resource, shutil, signal, socket, subprocess, sys, tempfile, time, unittest  # noqa: E401

sys.path.insert(0, os.path.join(os.environ["ZLT_SOURCE_DIR"], "tests", "engines", "mail"))
from smtp_peer import Peer  # noqa: E402

BIN = os.path.join(os.environ["ZLT_BIN_DIR"], "sendwell")
PROFILE = r"HKEY_CURRENT_USER\Software\Microsoft\Windows Messaging Subsystem\Profiles"


def header(n, address, subject):
    return b"%%%%%%Store: %d To: %s Subject: %s\r\n" % (n, address.encode(), subject)


class Sendwell(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory(prefix="sendwell-")
        self.root = self.dir.name
        self.tree = os.path.join(self.root, "c", "ZLT")
        os.makedirs(os.path.join(self.tree, "EMAIL", "SENT"))
        self.write("ZLT/SIGNAT.TAG", b"Corner Shop\r\n12 Main St\r\n")
        self.write("ZLT/DISCLAIM.TAG", b"This report is private.\r\n")
        self.write("../.netrc", b"machine 127.0.0.1 login clerk password s3cr3t\n")
        self.servers = []

    def tearDown(self):
        for server in self.servers:
            server.close()
        self.dir.cleanup()

    def write(self, name, data):
        path = os.path.join(self.root, "c", name)
        with open(path, "wb") as file:
            file.write(data)
        return path

    def queue(self, files):
        for name, text in files.items():
            self.write("ZLT/EMAIL/" + name, text)
        self.write("ZLT/EMAIL.TAG", b"".join(name.encode() + b"\r\n" for name in files))

    def server(self, login=None, tls=None, **faults):
        self.servers.append(Peer(**faults).in_thread(login=login, tls=tls))
        return self.servers[-1]

    def registry(self, port, deep_key=False, **values):
        lines = ['"DefaultProfile"="Shop"', "", "[%s\\Shop]" % PROFILE, '"SMTP Server"="127.0.0.1"',
                 '"SMTP Port"=dword:%08x' % port, '"SMTP Email Address"="shop@example.org"',
                 '"SMTP Display Name"="Corner Shop"', '"SMTP Timeout"=dword:00000003']
        lines += ['"%s"=%s' % item for item in values.items()]
        deep = "[HKEY_CURRENT_USER%s]\n" % ("\\k" * 1000000) if deep_key else ""  # deeper than any registry
        with open(os.path.join(self.root, "user.reg"), "w") as file:
            file.write("Windows Registry Editor Version 5.00\n\n%s[%s]\n%s\n" % (deep, PROFILE, "\n".join(lines)))

    def environment(self, **more):
        env = {"HOME": self.root, "ZLT_DRIVES": "C=" + os.path.join(self.root, "c"),
               "ZLT_REGISTRY": os.path.join(self.root, "user.reg"), "PATH": "/usr/bin:/bin"}
        env.update({k: v for k, v in os.environ.items() if k.endswith("SAN_OPTIONS")}, **more)
        return env

    def start(self, **env):
        return subprocess.Popen([BIN], cwd=self.tree, env=self.environment(**env), stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def run_sendwell(self, **env):
        process = subprocess.run([BIN], cwd=self.tree, env=self.environment(**env), capture_output=True, timeout=120)
        return process.returncode, process.stderr.decode()

    def log(self):
        with open(os.path.join(self.tree, "ZELTOeMail.log"), "rb") as file:
            text = file.read()
        self.assertTrue(text.endswith(b"\r\n"))
        return [line[25:].decode("cp1252") for line in text.split(b"\r\n")[:-1]]

    def queued(self):
        return sorted(n for n in os.listdir(os.path.join(self.tree, "EMAIL")) if n not in ("SENT", "SENDING"))

    def test_messages_arrive_as_a_mail_program_shows_them(self):
        peer = self.server()
        self.registry(peer.port, deep_key=True)
        self.queue({"A.TXT": b"no one gets this\r\n" + header(1, "ann@example.com", b"Weekly sales") +
                    b"Caf\xe9 total {\\b 5}\r\n\\par line two\r\n" + header(2, "bob@example.com", b"Gr\xfc\xdfe") + b"x\r\n",
                    "B.TXT": header(1, "x" * 100000 + "@example.com", b"Too long") + b"no one\r\n" +
                    b"\x1bE\x12%%%Store: 3 To: cy@example.com Subject: Last\r\nend\r\n"})
        status, err = self.run_sendwell()
        self.assertEqual((status, err), (0, ""))
        self.assertEqual([(str(m["To"]), str(m["Subject"])) for m in peer.messages],
                         [("ann@example.com", "Weekly sales "), ("bob@example.com", "Grüße "), ("cy@example.com", "Last ")])
        self.assertEqual(peer.connections, 1)
        first = peer.messages[0]
        self.assertEqual(str(first["From"]), "Corner Shop <shop@example.org>")
        self.assertEqual(len({str(m["Message-ID"]) for m in peer.messages}), 3)
        note = first.get_body(preferencelist=("plain",))
        self.assertEqual(note.get_content_charset(), "utf-8")
        self.assertEqual(note.get_content().replace("\r\n", "\n"), " " * 50 + "\nCorner Shop\n12 Main St\n\nThis report "
                         "is private.\n\n To make this report MS Word friendly you\n may need to adjust your horizontal margins.\n")
        attachment = next(first.iter_attachments())
        self.assertEqual((attachment.get_filename(), attachment.get_content_type()), ("EMAIL0.RTF", "application/rtf"))
        self.assertEqual(self.body(first), "Café total {\\b 5}\n\\par line two\n")
        rtf = self.write("read.rtf", attachment.get_payload(decode=True))
        html = subprocess.run(["unrtf", "--html", rtf], capture_output=True, check=True).stdout.decode("cp1252")
        self.assertIn('<font face="Courier', html)
        self.assertEqual(self.queued(), [])
        self.assertEqual(sorted(os.listdir(os.path.join(self.tree, "EMAIL", "SENT"))), ["A.TXT", "B.TXT"])
        log = self.log()
        sent = [line for line in log if line.split(" ")[1] == "sent"]
        self.assertEqual(sent, ["ann@example.com sent Weekly sales  {Email 1 part 0}", "bob@example.com sent Grüße  {Email 2}",
                                "cy@example.com sent Last  {Email 2}"])
        self.assertIn("x" * 64 + "... not sent Too long  {Email 1 part 0}: refused for good: no SMTP server takes the "
                      "recipient address: it is 100012 characters long, SMTP takes 254", log)

    def body(self, message):  # the attachment's text as unrtf reads it, after its banner
        rtf = self.write("read.rtf", next(message.iter_attachments()).get_payload(decode=True))
        text = subprocess.run(["unrtf", "--text", rtf], capture_output=True, check=True).stdout.decode("cp1252")
        return text.partition("-----------------\n")[2]

    def test_the_messages_of_a_file_by_its_headers(self):
        h1, h2 = header(1, "a@x.org", b"One"), header(2, "b@x.org", b"Two")
        files = [  # name, text, what the log tells of its messages (the steps of composing one left out)
            ("A", h1 + b"x\r\n" + h2 + b"y\r\n", ["a@x.org sent One  {Email 1 part 0}", "b@x.org sent Two  {Email 2}"]),
            ("B", h1 + b"x\r\n" + h2, ["a@x.org sent One  {Email 1 part 0}"]),  # a last header begins nothing
            ("C", h1 + h2 + b"y\r\n", ["a@x.org sent One  {Email 1 part 0}", "b@x.org sent Two  {Email 2}"]),
            ("D", b"stray\r\n" + h1 + b"x\r\n", ["a@x.org sent One  {Email 1}"]),
            ("E", b"stray\r\nmore\r\n", ["Mail file E holds no email header: none of its text was sent"]),
            ("F", b"%%%broken\r\nstray\r\n" + h2 + b"y\r\n",
             ["Email header without its address and subject; its text is not sent: %%%broken", "b@x.org sent Two  {Email 2}"]),
            ("G", header(1, "big@x.org", b"Big") + (b"x" * 999 + b"\r\n") * 500 + b"FIRST OF PART TWO\r\nlast\r\n",
             ["big@x.org sent Big  {Email 1 part 1}", "big@x.org sent Big  {Email 1}"]),  # 500 lines pass 500,000
        ]
        peer = self.server()
        self.registry(peer.port)
        self.queue({name: text for name, text, _ in files})
        self.write("ZLT/EMAIL.TAG", b"A\r\nB\r\nC\r\nD\r\nE\r\nF\r\nG\r\na\r\n")  # A twice: DOS names are case-blind
        self.assertEqual(self.run_sendwell(), (0, ""))
        self.assertIn("Mail file a is no longer in the queue folder (it is in the sent folder); skipped", self.log())
        log = [line for line in self.log() if not line.startswith(("Setting up", "Loading ZELTO", "Constructing email"))]
        for name, _, told in files:
            self.assertEqual(log[log.index("Opened mail file %s for dispatch" % name) + 1:
                                 log.index("Finished processing mail file " + name)], told)
        self.assertEqual([str(m["Subject"]) for m in peer.messages], ["One ", "Two ", "One ", "One ", "Two ", "One ", "Two ",
                                                                      "Big ", "Big  (Part 2)"])
        bodies = [self.body(m) for m in peer.messages]
        self.assertEqual(bodies[:7], ["x\n", "y\n", "x\n", "", "y\n", "x\n", "y\n"])
        self.assertEqual(bodies[7:], [("x" * 999 + "\n") * 500, "FIRST OF PART TWO\nlast\n"])
        self.assertEqual([next(m.iter_attachments()).get_filename() for m in peer.messages[6:]], ["EMAIL0.RTF"] + ["EMAIL1.RTF"] * 2)
        self.assertEqual(self.queued(), [])

    def test_tls_and_login(self):
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                        "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", self.root + "/key.pem", "-out",
                        self.root + "/cert.pem"], check=True, capture_output=True)
        peer = self.server(login=[b"clerk", b"s3cr3t"], tls=(self.root + "/cert.pem", self.root + "/key.pem"))
        self.registry(peer.port, **{"SMTP Secure Connection": "dword:00000001", "SMTP User Name": '"clerk"'})
        self.queue({"A.TXT": header(1, "ann@example.com", b"Secret") + b"x\r\n"})
        self.assertEqual(self.run_sendwell(ZLT_MAIL_CAFILE=self.root + "/other.pem")[0], 3)  # not trusted: nothing goes
        self.assertEqual((peer.recipients(), self.queued()), ([], ["A.TXT"]))
        self.assertEqual(self.run_sendwell(ZLT_MAIL_CAFILE=self.root + "/cert.pem"), (0, ""))
        self.assertEqual((peer.recipients(), self.queued()), (["ann@example.com"], []))

    def test_faults_lose_nothing_and_send_nothing_twice(self):
        files = {"A.TXT": b"".join(header(n, "a%d@x.org" % n, b"S%d" % n) + b"%d\r\n" % n for n in (1, 2, 3)),
                 "B.TXT": header(1, "b1@x.org", b"S4") + b"4\r\n"}
        everyone = ["a1@x.org", "a2@x.org", "a3@x.org", "b1@x.org"]
        but_a2 = ["a1@x.org", "a3@x.org", "b1@x.org"]
        closed = socket.socket()
        closed.bind(("127.0.0.1", 0))
        cases = [  # faults, exit status, delivered in the first run, queued after it, a log line of the first run
            ("refused for now", {"refuse": {"a2@x.org": "451-4.2.0 Mailbox busy\r\n451 try later"}}, 3, but_a2, ["A.TXT"],
             "a2@x.org not sent S2  {Email 2 part 0}: refused for now: 451 4.2.0 Mailbox busy try later"),
            ("refused for good", {"refuse": {"a2@x.org": "550 5.1.1 No such user"}}, 0, but_a2, [],
             "a2@x.org not sent S2  {Email 2 part 0}: refused for good by the server: 550 5.1.1 No such user"),
            ("dropped once", {"drop_at_mail": [2]}, 0, everyone, [], "a2@x.org sent S2  {Email 2 part 0}"),
            ("dropped twice", {"drop_at_mail": [2, 3]}, 3, but_a2, ["A.TXT"],
             "Mail file A.TXT stays in the queue folder for the next run"),
            ("no answer to the end of the data", {"slow_data": 8, "slow_at": {2}}, 3, but_a2, ["A.TXT"],
             "a2@x.org not sent S2  {Email 2 part 0}: refused for now: Device unavailable ("),
            ("nothing listens", {"port": closed.getsockname()[1]}, 3, [], ["A.TXT", "B.TXT"],
             "Error: The MAPI account Shop could not be signed on to: Device unavailable"),
            ("the sender refused", {"refuse_sender": "550 5.7.1 Sender not allowed"}, 3, [], ["A.TXT", "B.TXT"],
             "Error: The mail server refused the MAPI account Shop: every mail file left stays queued for the next run"),
            ("a user but no login offered", {"user": '"clerk"'}, 3, [], ["A.TXT", "B.TXT"],
             "Error: The MAPI account Shop could not be signed on to: Permission denied (the server offers no login"),
        ]
        for what, faults, status, delivered, queued, line in cases:
            with self.subTest(what):
                port, user = faults.pop("port", None), faults.pop("user", None)
                peer = self.server(**faults)
                self.registry(port or peer.port, **({"SMTP User Name": user} if user else {}))
                self.queue(files)
                started = time.monotonic()
                self.assertEqual(self.run_sendwell()[0], status)
                if faults.get("slow_data"):  # given up after the timeout (3 s), not after two
                    self.assertLess(time.monotonic() - started, 1.8 * 3)
                self.assertEqual(peer.recipients(), delivered)
                self.assertEqual(self.queued(), queued)
                self.assertTrue(any(entry.startswith(line) for entry in self.log()), (line, self.log()))
                if faults.get("refuse_sender"):
                    self.assertEqual(peer.mails, 1)  # nothing went after the refusal
                peer.refuse, peer.refuse_sender, peer.drop_at_mail, peer.slow_data = {}, None, set(), 0
                self.registry(peer.port)
                self.assertEqual(self.run_sendwell(), (0, ""))
                got = peer.recipients()
                # Only a message in flight when the timeout struck may arrive twice.
                self.assertEqual(sorted(set(got)), everyone if what != "refused for good" else but_a2)
                self.assertLessEqual(len(got) - len(set(got)), 1 if faults.get("slow_data") else 0)
                self.assertEqual(self.queued(), [])
                if queued == ["A.TXT"]:
                    self.assertIn("a1@x.org already sent S1  {Email 1 part 0} in an earlier run", self.log())
        closed.close()

    def test_a_file_queued_anew_goes_whole_whatever_record_of_it_was_left(self):
        peer = self.server(refuse={"a2@x.org": "451 4.2.0 Busy"})
        self.registry(peer.port)
        text = header(1, "a1@x.org", b"S") + b"1\r\n" + header(2, "a2@x.org", b"S") + b"2\r\n"
        self.queue({"A.TXT": text})
        self.assertEqual(self.run_sendwell()[0], 3)  # a1 is recorded as sent
        peer.refuse = {}
        self.queue({"A.TXT": text})  # the same text written again: the host queued it anew
        self.assertEqual(self.run_sendwell(), (0, ""))
        self.assertEqual(peer.recipients(), ["a1@x.org", "a1@x.org", "a2@x.org"])
        self.assertEqual(os.listdir(os.path.join(self.tree, "EMAIL", "SENDING")), ["RUN.LCK"])  # the record went with its file

    def many(self, count):
        return b"".join(header(n, "m%03d@x.org" % n, b"S") + b"body\r\n" for n in range(1, count + 1))

    def test_killed_and_rerun_delivers_everything_at_most_one_twice(self):
        peer = self.server(slow_data=0.05)
        self.registry(peer.port)
        self.queue({"A.TXT": self.many(40)})
        process = self.start()
        while len(peer.messages) < 15 and process.poll() is None:
            time.sleep(0.01)
        process.kill()
        process.wait()
        self.assertLess(len(peer.messages), 40)
        self.assertEqual(self.run_sendwell(), (0, ""))
        got = peer.recipients()
        self.assertEqual(sorted(set(got)), ["m%03d@x.org" % n for n in range(1, 41)])
        self.assertLessEqual(len(got), 41)

    def test_two_runs_at_once_send_each_message_once(self):
        peer = self.server(slow_data=0.02)
        self.registry(peer.port)
        self.queue({"A.TXT": self.many(20)})
        runs = [self.start(), self.start()]
        statuses = sorted(run.wait(60) for run in runs)
        self.assertEqual(statuses, [0, 3])
        self.assertEqual(peer.recipients(), ["m%03d@x.org" % n for n in range(1, 21)])
        self.assertIn("Another run is dispatching the mail of C:\\ZLT\\EMAIL\\; this run ends", self.log())

    def test_each_queued_file_gets_its_turn_and_only_those_listed(self):
        peer = self.server()
        self.registry(peer.port)
        self.queue({"F%03d" % n: header(1, "f%03d@x.org" % n, b"S") + b"x\r\n" for n in range(1, 106)})
        self.write("ZLT/EMAIL/EXTRA", header(1, "extra@x.org", b"S") + b"x\r\n")  # not listed: a NUL cuts the name below
        self.write("ZLT/EMAIL.TAG", b"EXTRA\x00.TXT\r\n" + open(os.path.join(self.tree, "EMAIL.TAG"), "rb").read())
        self.assertEqual(self.run_sendwell()[0], 3)
        self.assertEqual(len(peer.messages), 101)
        self.assertIn('Mail file name "EXTRA?.TXT" names no file of the queue folder; skipped', self.log())
        self.assertIn("4 mail files wait for the next run, from F102 to F105: one run takes 101 mail files", self.log())
        self.assertEqual(self.run_sendwell()[0], 3)  # the name that names no file stays unfiled
        self.assertEqual(peer.recipients(), ["f%03d@x.org" % n for n in range(1, 106)])
        self.assertIn("101 mail files are no longer in the queue folder (they are in the sent folder), from F001 to F101; "
                      "skipped", self.log())
        self.assertEqual(self.queued(), ["EXTRA"])

    def test_a_setup_that_cannot_send_sends_nothing_and_says_why(self):
        peer = self.server()
        bad = ["Signed on to MAPI account Shop", "Error: The MAPI account Shop could not be signed on to: bad setting in the "
               "registry: "]
        done = ["Signed out of MAPI account Shop", "Completed mail process"]
        no_account = ["Error: No default MAPI email account is setup on this machine", "Completed mail process"]
        no_mail = ["There are no emails awaiting to be processed", "Completed mail process"]
        cases = [  # what is wrong, exit status, the log's last lines
            (lambda: self.registry(peer.port, **{"SMTP Port": "dword:zzzz"}), 3,
             [bad[0], bad[1] + '"SMTP Port" must be a dword from 1 to 65535, not dword:zzzz'] + done),
            (lambda: self.registry(peer.port, **{"SMTP Port": '"25"', "SMTP Secure Connection": "dword:00000007"}), 3,
             [bad[0], bad[1] + '"SMTP Port" must be a dword from 1 to 65535, not the string "25"; "SMTP Secure Connection" '
              'must be a dword 0 or 1, not 7'] + done),
            (lambda: self.registry(peer.port, **{"SMTP Port": "dword:00010000"}), 3,
             [bad[0], bad[1] + '"SMTP Port" must be a dword from 1 to 65535, not 65536'] + done),
            (lambda: self.write("../user.reg", b"\x00garbage\r\n"), 3,
             ["Error: The registry cannot be read: Automation error (not a registry file: %s/user.reg)" % self.root] + no_account),
            (lambda: os.remove(self.root + "/user.reg"), 3, ["Preparing to process 1 mail files from C:\\ZLT\\EMAIL\\"] + no_account),
            (lambda: self.write("../user.reg", b'REGEDIT4\r\n[%s]\r\n"DefaultProfile"="Gone"\r\n' % PROFILE.encode()), 3,
             ['Error: The MAPI account Gone could not be signed on to: no mail account named "Gone" in the registry',
              "Signed out of MAPI account Gone", "Completed mail process"]),
            (lambda: os.remove(self.tree + "/SIGNAT.TAG"), 3, ["Error: Can't find the ZELTO signature file, at C:\\ZLT\\SIGNAT."
                                                              "TAG", "No mail was sent: every mail file stays queued for the "
                                                              "next run", "Completed mail process"]),
            (lambda: os.remove(self.tree + "/EMAIL.TAG"), 0, ["Commence mail initialisation", "Error: Can't find the ZELTO file "
                                                             "list file, at C:\\ZLT\\EMAIL.TAG"] + no_mail),
            (lambda: self.write("ZLT/EMAIL.TAG", b""), 0, ["Commence mail initialisation"] + no_mail),
        ]
        for arrange, status, tail in cases:
            with self.subTest(tail[-3]):
                self.registry(peer.port)
                self.write("ZLT/SIGNAT.TAG", b"sig\r\n")
                self.queue({"A.TXT": header(1, "a@x.org", b"S") + b"x\r\n"})
                arrange()
                self.assertEqual(self.run_sendwell()[0], status)
                self.assertEqual(self.log()[-len(tail):], tail)
                self.assertEqual((peer.recipients(), self.queued()), ([], ["A.TXT"]))

    def test_a_sent_folder_on_another_file_system(self):
        device = os.stat(self.tree).st_dev
        other = next((folder for folder in ("/dev/shm", tempfile.gettempdir(), os.path.expanduser("~")) if os.path.isdir(folder)
                      and os.access(folder, os.W_OK) and os.stat(folder).st_dev != device), None)
        if other is None:
            self.skipTest("no second file system here: /dev/shm, the temporary folder and the home folder are the tree's")
        sent, link = tempfile.mkdtemp(prefix="sendwell-sent-", dir=other), os.path.join(self.tree, "EMAIL", "SENT")
        self.addCleanup(shutil.rmtree, sent)
        os.rmdir(link)
        os.symlink(sent, link)
        peer = self.server()
        self.registry(peer.port)
        self.queue({"A.TXT": header(1, "a@x.org", b"S") + b"x\r\n"})
        os.utime(os.path.join(self.tree, "EMAIL", "A.TXT"), (1e9, 1e9))
        self.assertEqual(self.run_sendwell(), (0, ""))
        self.assertEqual((peer.recipients(), self.queued(), os.listdir(sent)), (["a@x.org"], [], ["A.TXT"]))
        self.assertEqual(os.stat(os.path.join(sent, "A.TXT")).st_mtime, 1e9)  # as mv keeps it
        os.remove(link)
        os.symlink("/proc/self/fdinfo", link)  # a folder where nobody may make a file, root neither
        self.queue({"B.TXT": header(1, "b@x.org", b"S") + b"x\r\n"})
        status, err = self.run_sendwell()
        self.assertEqual((status, self.queued()), (1, ["B.TXT"]))
        self.assertIn("could not be moved to the sent folder C:\\ZLT\\EMAIL\\SENT\\ (error ", err)
        self.assertTrue(self.log()[-1].startswith("Error: The run stopped: "), self.log()[-1])
        self.assertIn("could not be moved to the sent folder C:\\ZLT\\EMAIL\\SENT\\ (error ", self.log()[-1])

    def test_setup_not_found_and_a_log_that_cannot_be_written(self):
        self.queue({"A.TXT": header(1, "a@x.org", b"S") + b"x\r\n"})
        process = subprocess.run([BIN], cwd=self.root, env=self.environment(ZLT_DRIVES="C=" + self.root + "/none"),
                                 capture_output=True)
        self.assertEqual(process.returncode, 4)
        self.assertFalse(os.path.exists(os.path.join(self.tree, "ZELTOeMail.log")))
        self.assertEqual(process.stderr.decode(), "ZELTO eMail Error - Setup not found\nA valid setup for ZELTO eMail can't "
                         "be found on the\nfixed and networks drives available to this machine.\n\nPlease contact ZELTO "
                         "for further instructions.\n\n")
        os.makedirs(os.path.join(self.tree, "ZELTOeMail.log"))  # a folder where the log should be
        status, err = self.run_sendwell()
        self.assertEqual(status, 1)
        self.assertIn("ZELTOeMail.log", err)
        self.assertEqual(self.queued(), ["A.TXT"])
        os.rmdir(os.path.join(self.tree, "ZELTOeMail.log"))
        before = b"01/01/27, 09:00:00 am    Completed mail process\r\n"
        log = self.write("ZLT/ZELTOeMail.log", before)

        def full_disk():  # room for 40 more bytes of the log: less than a line
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (len(before) + 40,) * 2)
        process = subprocess.run([BIN], cwd=self.tree, env=self.environment(), capture_output=True, preexec_fn=full_disk)
        self.assertEqual(process.returncode, 1)
        self.assertIn("ZELTOeMail.log", process.stderr.decode())
        with open(log, "rb") as file:
            self.assertEqual(file.read(), before)  # no torn line for the next run to go on from



@unittest.skipUnless(os.environ.get("DISPLAY"), "runs under tests/support/with_xvfb.sh")
class SendwellOnADisplay(Sendwell):
    def test_status_window_is_up_while_the_run_goes_and_gone_after(self):
        peer = self.server(slow_data=0.2)
        self.registry(peer.port)
        self.queue({"A.TXT": self.many(10)})
        process = self.start(DISPLAY=os.environ["DISPLAY"])
        seen = False
        while process.poll() is None and not seen:
            tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
            seen = '"Corvanta Mail status"' in tree
            time.sleep(0.05)
        self.assertTrue(seen)
        self.assertEqual(process.wait(60), 0)
        self.assertEqual(len(peer.messages), 10)
        self.assertEqual(self.log()[-1], "Completed mail process")


if __name__ == "__main__":
    unittest.main(defaultTest=sys.argv[1:] or None, argv=sys.argv[:1])
