#!/usr/bin/python3
"""A real SMTP server (aiosmtpd) on 127.0.0.1 for the mail transport tests.

Prints "port N" once it listens, then answers one command per line of
standard input:
  connections  "connections N": client connections so far (counted at EHLO)
  drop         closes every open connection, then "dropped N"
  messages     every message received, read back with the email package:
               "message", then "FIELD HEX" lines (text as UTF-8), then "end";
               "done" after the last
It ends when standard input ends, or after --lifetime seconds at the latest.
Every message is also kept as an .eml file in --folder (made here).
"""
import argparse
import asyncio
import base64
import email
import email.policy
import email.utils
import logging
import os
import re
import socket
import ssl
import sys
import threading
import warnings

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import SMTP, AuthResult


class CountingSMTP(SMTP):
    """Numbers the connections of clients at their first greeting, so the
    controller's own probe does not count and STARTTLS makes no new one."""

    def __init__(self, peer, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.peer = peer
        self.number = 0

    def connection_made(self, transport):
        super().connection_made(transport)
        self.peer.track(self)

    def connection_lost(self, error):
        self.peer.untrack(self)
        super().connection_lost(error)

    async def smtp_EHLO(self, hostname):
        if not self.number:
            self.number = self.peer.greeted()
        await super().smtp_EHLO(hostname)

    async def smtp_HELO(self, hostname):
        if not self.number:
            self.number = self.peer.greeted()
        await super().smtp_HELO(hostname)


class Peer:
    def __init__(self, options):
        self.options = options
        self.lock = threading.Lock()
        self.open = set()
        self.count = 0
        self.received = []
        self.refusals = dict(item.split("=", 1) for item in options.refuse)
        self.mail_commands = 0

    def track(self, server):
        with self.lock:
            self.open.add(server)

    def untrack(self, server):
        with self.lock:
            self.open.discard(server)

    def greeted(self):
        with self.lock:
            self.count += 1
            return self.count

    async def handle_MAIL(self, server, session, envelope, address, options):
        self.mail_commands += 1
        if self.mail_commands in self.options.drop_at_mail:
            server.transport.abort()
            await asyncio.sleep(3600)  # cancelled with the connection
        envelope.mail_from = address
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, options):
        if address in self.refusals:
            return self.refusals[address]
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        tls = session.ssl is not None or server.transport.get_extra_info("sslcontext") is not None
        login = session.login_data.decode() if isinstance(session.login_data, bytes) else ""
        with self.lock:
            self.received.append({
                "connection": server.number, "tls": tls, "login": login,
                "envelope_from": envelope.mail_from, "envelope_to": ",".join(envelope.rcpt_tos),
                "raw": envelope.original_content,
            })
            name = os.path.join(self.options.folder, "%04d.eml" % len(self.received))
        with open(name, "wb") as file:
            file.write(envelope.original_content)
        if len(self.received) in self.options.drop_after_data:
            server.transport.abort()
            await asyncio.sleep(3600)  # cancelled with the connection
        if self.options.slow_data:
            await asyncio.sleep(self.options.slow_data)
        return "250 2.0.0 Message accepted for delivery"

    def authenticate(self, server, session, envelope, mechanism, auth_data):
        expected = self.options.auth.encode()
        given = auth_data.login + b":" + auth_data.password
        return AuthResult(success=given == expected, handled=False, auth_data=auth_data)


def words_whole(raw):
    """Whether every encoded word of the headers holds whole characters, as
    RFC 2047 wants of each word on its own."""
    head = raw.split(b"\r\n\r\n")[0].decode("ascii", "replace")
    for charset, text in re.findall(r"=\?([^?]+)\?[Bb]\?([^?]*)\?=", head):
        try:
            base64.b64decode(text).decode(charset)
        except (ValueError, LookupError):
            return False
    return True


def fields(record):
    """What a recipient's mail program would show of one message."""
    message = email.message_from_bytes(record["raw"], policy=email.policy.default)
    raw = email.message_from_bytes(record["raw"], policy=email.policy.compat32)
    sender = message["From"].addresses[0] if message["From"] else None
    date = email.utils.parsedate_to_datetime(message["Date"]) if message["Date"] else None
    out = {key: str(record[key]) for key in ("connection", "login", "envelope_from", "envelope_to")}
    out["tls"] = "yes" if record["tls"] else "no"
    out.update({
        "from_name": sender.display_name if sender else "",
        "from_address": sender.addr_spec if sender else "",
        "to": str(message["To"] or ""),
        "subject": str(message["Subject"] or ""),
        "subject_raw": str(raw["Subject"] or ""),
        "date_epoch": str(int(date.timestamp())) if date else "",
        "message_id": str(message["Message-ID"] or ""),
        "content_type": message.get_content_type(),
        "headers_ascii": "yes" if all(b < 128 for b in record["raw"].split(b"\r\n\r\n")[0]) else "no",
        "defects": str(sum(len(part.defects) for part in message.walk())),
        "encoded_words_whole": "yes" if words_whole(record["raw"]) else "no",
        "attachments": "0",
    })
    attachments = list(message.iter_attachments())
    body = message.get_body(preferencelist=("plain",))
    if body is not None:
        out["note_type"] = "%s; charset=%s" % (body.get_content_type(), body.get_content_charset())
        out["note"] = body.get_content().replace("\r\n", "\n")
    out["attachments"] = str(len(attachments))
    if attachments:
        part = attachments[0]
        out["attachment_name"] = part.get_filename() or ""
        out["attachment_type"] = part.get_content_type()
        out["attachment_dispositions"] = str(len(part.get_all("Content-Disposition", [])))
        out["attachment"] = part.get_payload(decode=True)
    return out


def answer(peer, controller, line):
    command = line.strip()
    if command == "connections":
        with peer.lock:
            return "connections %d\n" % peer.count
    if command == "drop":
        with peer.lock:
            servers = list(peer.open)
        done = threading.Event()

        def close_all():
            for server in servers:
                if server.transport is not None:
                    server.transport.abort()
            done.set()
        controller.loop.call_soon_threadsafe(close_all)
        done.wait(5)
        return "dropped %d\n" % len(servers)
    if command == "messages":
        with peer.lock:
            records = list(peer.received)
        out = []
        for record in records:
            out.append("message\n")
            for key, value in fields(record).items():
                data = value if isinstance(value, bytes) else value.encode("utf-8", "surrogateescape")
                out.append("%s %s\n" % (key, data.hex()))
            out.append("end\n")
        return "".join(out) + "done\n"
    return "unknown %s\n" % command


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--refuse", action="append", default=[], metavar="ADDRESS=REPLY")
    parser.add_argument("--drop-at-mail", type=int, action="append", default=[], metavar="N",
                        help="close the connection instead of answering the N-th MAIL command")
    parser.add_argument("--drop-after-data", type=int, action="append", default=[], metavar="N",
                        help="keep the N-th message but close the connection instead of answering")
    parser.add_argument("--slow-data", type=float, default=0, metavar="SECONDS")
    parser.add_argument("--auth", metavar="USER:PASSWORD", help="require this login (no TLS needed)")
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--implicit-tls", action="store_true", help="TLS from the first byte, else STARTTLS")
    parser.add_argument("--lifetime", type=float, default=100)
    options = parser.parse_args()
    logging.disable(logging.CRITICAL)
    warnings.simplefilter("ignore")
    os.mkdir(options.folder)

    peer = Peer(options)
    smtp_options = {"server_hostname": "mail.test", "enable_SMTPUTF8": True}
    if options.auth:
        smtp_options.update(authenticator=peer.authenticate, auth_required=True, auth_require_tls=False)
    context = None
    if options.tls:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(*options.tls)
        if not options.implicit_tls:
            smtp_options.update(tls_context=context, require_starttls=True)

    class PeerController(Controller):
        def factory(self):
            return CountingSMTP(peer, self.handler, **self.SMTP_kwargs)

    for tries_left in range(4, -1, -1):
        controller = PeerController(peer, hostname="127.0.0.1", port=free_port(),
                                    ssl_context=context if options.implicit_tls else None, **smtp_options)
        try:
            controller.start()
            break
        except OSError:
            if not tries_left:
                raise
    print("port %d" % controller.port, flush=True)

    finished = threading.Event()
    timer = threading.Timer(options.lifetime, finished.set)
    timer.daemon = True
    timer.start()

    def serve_commands():
        for line in sys.stdin:
            sys.stdout.write(answer(peer, controller, line))
            sys.stdout.flush()
        finished.set()
    threading.Thread(target=serve_commands, daemon=True).start()
    finished.wait()
    controller.stop()
    os._exit(0)


if __name__ == "__main__":
    main()
