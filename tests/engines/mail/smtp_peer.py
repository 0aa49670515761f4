#!/usr/bin/python3
"""A real SMTP server (aiosmtpd) on 127.0.0.1 for the mail transport tests: prints
"port N" and closes its output; writes each message it keeps to FOLDER/N.txt as
Python's email package reads it ("FIELD =HEX" lines); ends when killed."""
import argparse
import asyncio
import os
import re
import ssl
from base64 import b64decode
from email import message_from_bytes, policy, utils

from aiosmtpd.smtp import SMTP, AuthResult

parser = argparse.ArgumentParser()
parser.add_argument("--folder", required=True)
parser.add_argument("--refuse", action="append", default=[], metavar="ADDRESS=REPLY")
parser.add_argument("--refuse-sender", metavar="REPLY")  # the answer to every MAIL FROM
parser.add_argument("--drop-at-mail", type=int, action="append", default=[], metavar="N")  # instead of answering
parser.add_argument("--drop-in-data", type=int, metavar="N")  # keep the N-th message, close instead of answering
parser.add_argument("--close-after", type=int, metavar="N")  # answer the N-th message, then close as when idle
parser.add_argument("--auth", metavar="USER:PASSWORD")  # required
parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))  # STARTTLS required
parser.add_argument("--implicit-tls", nargs=2, metavar=("CERT", "KEY"))  # TLS from the first byte, as on port 465
options = parser.parse_args()
ACCEPTED = "250 2.0.0 Message accepted for delivery"


def fields(raw, connection):  # what a recipient's mail program would show of one message
    message = message_from_bytes(raw, policy=policy.default)
    sender = message["From"].addresses[0]
    # Mail programs decode each encoded word alone, so each must hold whole characters.
    words = [b64decode(word).decode(errors="replace") for word in re.findall(rb"=\?utf-8\?B\?([^?]*)\?=", raw, re.I)]
    out = {"to": message["To"], "connection": connection,
           "from": "%s <%s>" % (sender.display_name, sender.addr_spec), "subject": message["Subject"],
           "note": message.get_body(preferencelist=("plain",)).get_content().replace("\r\n", "\n"),
           "date": int(utils.parsedate_to_datetime(message["Date"]).timestamp()),
           "message_id": message["Message-ID"], "attachment": "",
           "clean": raw.isascii() and not any(p.defects for p in message.walk()) and "\ufffd" not in "".join(words)}
    for attached in message.iter_attachments():
        out["attachment"] = ("%s %s\n" % (attached.get_filename(), attached.get_content_type())).encode()
        out["attachment"] += attached.get_payload(decode=True)
    return out


class Handler:
    mails = connections = kept = 0

    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        self.mails += 1
        if not hasattr(session, "number"):  # a connection counts from its first message
            self.connections += 1
            session.number = self.connections
        if self.mails in options.drop_at_mail:
            server.transport.abort()
            await asyncio.sleep(3600)  # cancelled with the connection
        envelope.mail_from = address
        return options.refuse_sender or "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        refusals = dict(item.split("=", 1) for item in options.refuse)
        if address not in refusals:
            envelope.rcpt_tos.append(address)
        return refusals.get(address, "250 OK")

    async def handle_DATA(self, server, session, envelope):
        self.kept += 1
        with open(os.path.join(options.folder, "%d.txt" % self.kept), "w") as file:
            for key, value in fields(envelope.original_content, session.number).items():
                file.write("%s =%s\n" % (key, (value if isinstance(value, bytes) else str(value).encode()).hex()))
        if self.kept in (options.drop_in_data, options.close_after):
            if self.kept == options.close_after:
                await server.push(ACCEPTED)
            server.transport.close()
            await asyncio.sleep(3600)
        return ACCEPTED


async def serve():
    settings = {"hostname": "mail.test"}
    if options.auth:
        login = options.auth.encode().split(b":")
        settings.update(auth_required=True, auth_require_tls=False, authenticator=lambda server, session, envelope,
                        mechanism, data: AuthResult(success=[data.login, data.password] == login, handled=False))
    if options.tls:
        settings.update(tls_context=ssl.create_default_context(ssl.Purpose.CLIENT_AUTH), require_starttls=True)
        settings["tls_context"].load_cert_chain(*options.tls)
    wrapped = None
    if options.implicit_tls:
        wrapped = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        wrapped.load_cert_chain(*options.implicit_tls)
    handler = Handler()
    server = await asyncio.get_running_loop().create_server(lambda: SMTP(handler, **settings), "127.0.0.1", 0,
                                                            ssl=wrapped)
    print("port %d" % server.sockets[0].getsockname()[1], flush=True)
    os.dup2(os.open(os.devnull, os.O_WRONLY), 1)
    os.dup2(1, 2)
    await asyncio.sleep(100)  # should the test die first
    os._exit(0)


asyncio.run(serve())
