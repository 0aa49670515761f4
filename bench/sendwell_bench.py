#!/usr/bin/python3
"""Sendwell's benchmark (run through bench/sendwell_bench.sh): a queue of FILES x MESSAGES messages of about 20 KB sent
to a local aiosmtpd server that keeps nothing, against LOOP (bench/smtp_send_loop.cpp: libcurl alone sending the very
message sendwell sent last, as many times over one connection: the limit), best of two runs each, taken in turns; side
by side with one Python smtplib connection sending as many like messages and with msmtp started once per message; then
one 5 MB message (ten parts). Rates in messages per second, peak memory (maximum resident set size) from
/usr/bin/time -v. With STRACE set, one more run of sendwell and of the loop each under strace -c -f, its system calls
per message printed."""
import asyncio, os, re, subprocess, sys, tempfile, threading, time  # noqa: E401

from aiosmtpd.smtp import SMTP

SENDWELL, LOOP, FILES, MESSAGES, MSMTP_MESSAGES = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
WORK_FOLDER, STRACE = sys.argv[6], sys.argv[7] == "1"
BODY_LINE = b"%-78s" % b"   1234  WIDGET, BLUE, LARGE                      12.50      4     50.00"


class Sink:
    count, last = 0, b""

    async def handle_DATA(self, server, session, envelope):
        self.count, self.last = self.count + 1, envelope.original_content
        return "250 OK"


def serve():
    loop, sink = asyncio.new_event_loop(), Sink()
    server = loop.run_until_complete(loop.create_server(lambda: SMTP(sink, hostname="bench"), "127.0.0.1", 0))
    threading.Thread(target=loop.run_forever, daemon=True).start()
    return server.sockets[0].getsockname()[1], sink


def timed(command, wrapper=("/usr/bin/time", "-v"), **kwargs):
    """Seconds and peak KB of one command."""
    start = time.monotonic()
    done = subprocess.run([*wrapper, *command], capture_output=True, **kwargs)
    seconds = time.monotonic() - start
    if done.returncode:
        sys.exit("failed: %s\n%s" % (command[0], done.stderr.decode()[-2000:]))
    peak = re.search(rb"Maximum resident set size \(kbytes\): (\d+)", done.stderr)
    return seconds, int(peak.group(1)) if peak else 0


def system_calls(command, messages, **kwargs):
    """strace -c -f's summary of one run of the command, its calls per message, the busiest first."""
    summary = tempfile.mktemp(prefix="strace-")
    timed(command, wrapper=("strace", "-c", "-f", "-o", summary), **kwargs)
    rows = [line.split() for line in open(summary) if re.match(r"\s*\d+\.\d+\s", line)]
    os.remove(summary)
    calls = sorted(((int(row[3]), row[-1]) for row in rows), reverse=True)
    return "  ".join("%s %.1f" % (name, count / messages) for count, name in calls if count >= messages / 2)


def body(kilobytes):
    return b"".join(BODY_LINE + b"\r\n" for _ in range(kilobytes * 1024 // 80))


def tree(root, port, files):
    os.makedirs(root + "/c/ZLT/EMAIL/SENT")
    for name, data in [("SIGNAT.TAG", b"Corner Shop\r\n12 Main St\r\n"), ("DISCLAIM.TAG", b"Private.\r\n"),
                       ("EMAIL.TAG", b"".join(n.encode() + b"\r\n" for n in files))]:
        open(root + "/c/ZLT/" + name, "wb").write(data)
    for name, data in files.items():
        open(root + "/c/ZLT/EMAIL/" + name, "wb").write(data)
    open(root + "/user.reg", "w").write(
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Messaging Subsystem\\Profiles]\n"
        "\"DefaultProfile\"=\"Shop\"\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Messaging Subsystem\\Profiles\\Shop]\n"
        "\"SMTP Server\"=\"127.0.0.1\"\n\"SMTP Port\"=dword:%08x\n\"SMTP Email Address\"=\"shop@example.org\"\n" % port)
    return {"HOME": root, "ZLT_DRIVES": "C=%s/c" % root, "ZLT_REGISTRY": root + "/user.reg", "PATH": "/usr/bin:/bin"}


def main():
    port, sink = serve()
    work = tempfile.mkdtemp(prefix="sendwell-bench-", dir=WORK_FOLDER)
    print("host tree in %s (%s)" % (work, subprocess.run(["stat", "-f", "-c", "%T", work], capture_output=True,
                                                            text=True).stdout.strip()))
    total = FILES * MESSAGES
    message = body(20)
    files = {"M%03d.TXT" % f: b"".join(b"%%%%%%Store: %d To: c%d@example.com Subject: Weekly sales\r\n" % (m, m) + message
                                       for m in range(MESSAGES)) for f in range(FILES)}
    results, best = [], {}
    for run in (1, 2):  # in turns, so that a spell of load elsewhere weighs on both alike
        env = tree(work + "/queue%d" % run, port, files)
        before = sink.count
        seconds, kb = timed([SENDWELL], env=env, cwd=work + "/queue%d/c" % run)
        assert sink.count - before == total, (sink.count - before, total)
        results.append(("sendwell, run %d" % run, total, seconds, kb))
        open(work + "/last.eml", "wb").write(sink.last)
        before = sink.count
        loop_seconds, loop_kb = timed([LOOP, str(port), str(total), work + "/last.eml"])
        assert sink.count - before == total, (sink.count - before, total)
        results.append(("libcurl loop, run %d" % run, total, loop_seconds, loop_kb))
        best["sendwell"] = min(best.get("sendwell", seconds), seconds)
        best["loop"] = min(best.get("loop", loop_seconds), loop_seconds)
    print("one message: %d bytes as the server took it" % len(sink.last))

    script = work + "/smtplib_send.py"
    open(script, "w").write("""import smtplib, sys
from email.message import EmailMessage
body = open(sys.argv[2], "rb").read()
with smtplib.SMTP("127.0.0.1", int(sys.argv[1])) as smtp:
    for n in range(int(sys.argv[3])):
        m = EmailMessage()
        m["From"], m["To"], m["Subject"] = "shop@example.org", "c%d@example.com" % n, "Weekly sales"
        m.set_content(" " * 50 + "\\nCorner Shop\\n")
        m.add_attachment(body, maintype="application", subtype="rtf", filename="EMAIL0.RTF")
        smtp.send_message(m)
""")
    open(work + "/body.rtf", "wb").write(b"{\\rtf1 " + message + b"}")
    before = sink.count
    seconds, kb = timed(["/usr/bin/python3", script, str(port), work + "/body.rtf", str(total)])
    assert sink.count - before == total
    results.append(("smtplib, one connection", total, seconds, kb))

    mail = b"From: shop@example.org\r\nTo: c@example.com\r\nSubject: Weekly sales\r\nMIME-Version: 1.0\r\n" \
           b"Content-Type: application/rtf\r\nContent-Transfer-Encoding: base64\r\n\r\n" + \
           subprocess.run(["base64"], input=b"{\\rtf1 " + message + b"}", capture_output=True).stdout
    open(work + "/mail.eml", "wb").write(mail)
    loop = "for i in $(seq %d); do msmtp --host=127.0.0.1 --port=%d --from=shop@example.org c$i@example.com < %s/mail.eml " \
           "|| exit 1; done" % (MSMTP_MESSAGES, port, work)
    before = sink.count
    seconds, kb = timed(["/bin/sh", "-c", loop])
    assert sink.count - before == MSMTP_MESSAGES
    results.append(("msmtp, once a message", MSMTP_MESSAGES, seconds, kb))

    idle_seconds, idle_kb = timed([SENDWELL], env=tree(work + "/idle", port, {}), cwd=work + "/idle/c")
    big = b"%%%Store: 1 To: big@example.com Subject: Year end\r\n" + b"".join(BODY_LINE + b"\r\n" for _ in range(62400))
    env = tree(work + "/big", port, {"BIG.TXT": big})
    before = sink.count
    big_seconds, big_kb = timed([SENDWELL], env=env, cwd=work + "/big/c")
    parts = sink.count - before

    print("%-26s %9s %9s %10s %12s" % ("sender", "messages", "seconds", "msg/s", "peak RSS KB"))
    for name, count, seconds, kb in results:
        print("%-26s %9d %9.2f %10.1f %12d" % (name, count, seconds, count / seconds, kb))
    rate = {name: count / seconds for name, count, seconds, kb in results}
    rate["sendwell"] = total / best["sendwell"]
    print("sendwell time / libcurl loop time, best of two each: %.2f (%.2f s / %.2f s)"
          % (best["sendwell"] / best["loop"], best["sendwell"], best["loop"]))
    print("sendwell / smtplib rate: %.2f" % (rate["sendwell"] / rate["smtplib, one connection"]))
    print("sendwell / msmtp rate:   %.1f" % (rate["sendwell"] / rate["msmtp, once a message"]))
    print("one %.1f MB message in %d parts: %.2f s, peak RSS %d KB; a run with nothing to send: %d KB;"
          " the difference is %.1f x the 0.5 MB part" % (len(big) / 1e6, parts, big_seconds, big_kb, idle_kb,
                                                        (big_kb - idle_kb) / 500.0))
    if STRACE:
        env = tree(work + "/traced", port, files)
        print("system calls a message, sendwell:     " + system_calls([SENDWELL], total, env=env, cwd=work + "/traced/c"))
        print("system calls a message, libcurl loop: " + system_calls([LOOP, str(port), str(total), work + "/last.eml"], total))
    subprocess.run(["rm", "-rf", work])


main()
