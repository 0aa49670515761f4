#!/usr/bin/python3
"""A real SMTP server (aiosmtpd) on 127.0.0.1 for the mail tests, with the faults a test asks for. Sendwell's end-to-end
test serves it from a thread (Peer.in_thread) and reads the messages kept; as a script (the transport tests) it prints
"port N", writes each message kept to FOLDER/N.txt as Python's email package reads it ("FIELD =HEX" lines) and ends
when killed."""
import argparse
import asyncio
import os
import re
import ssl
import threading
from base64 import b64decode
from email import message_from_bytes, policy, utils

from aiosmtpd.smtp import SMTP, AuthResult

ACCEPTED = "250 2.0.0 Message accepted for delivery"


class Peer:
    """The server's handler; faults by message number (MAIL commands counted from 1)."""

    def __init__(self, refuse=None, refuse_sender=None, drop_at_mail=(), drop_in_data=None, close_after=None,
                 slow_data=0.0, slow_at=None, kept=None):
        self.refuse, self.refuse_sender, self.drop_at_mail = refuse or {}, refuse_sender, set(drop_at_mail)
        self.drop_in_data, self.close_after = drop_in_data, close_after  # keep the N-th message, then close
        self.slow_data, self.slow_at, self.kept = slow_data, slow_at, kept  # kept(raw, connection) for each message
        self.messages, self.mails, self.connections = [], 0, 0

    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        self.mails += 1
        if not hasattr(session, "number"):  # a connection counts from its first message
            self.connections += 1
            session.number = self.connections
        if self.mails in self.drop_at_mail:
            server.transport.abort()
            await asyncio.sleep(3600)  # cancelled with the connection
        envelope.mail_from = address
        return self.refuse_sender or "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address not in self.refuse:
            envelope.rcpt_tos.append(address)
        return self.refuse.get(address, "250 OK")

    async def handle_DATA(self, server, session, envelope):
        if self.slow_at is None or self.mails in self.slow_at:
            await asyncio.sleep(self.slow_data)
        self.messages.append(message_from_bytes(envelope.original_content, policy=policy.default))
        if self.kept:
            self.kept(envelope.original_content, session.number)
        if len(self.messages) in (self.drop_in_data, self.close_after):
            if len(self.messages) == self.close_after:  # answered, then closed as when idle
                await server.push(ACCEPTED)
            server.transport.close()
            await asyncio.sleep(3600)
        return ACCEPTED

    def recipients(self):
        return sorted(str(m["To"]) for m in self.messages)

    def serve(self, loop, login=None, tls=None, implicit_tls=None):
        """login: [user, password] as bytes, required; tls, implicit_tls: (cert, key), STARTTLS required or TLS at once."""
        settings = {"hostname": "mail.test"}
        if login:
            settings.update(auth_required=True, auth_require_tls=False, authenticator=lambda server, session, envelope,
                            mechanism, data: AuthResult(success=[data.login, data.password] == login, handled=False))
        if tls:
            settings.update(tls_context=ssl.create_default_context(ssl.Purpose.CLIENT_AUTH), require_starttls=True)
            settings["tls_context"].load_cert_chain(*tls)
        wrapped = None
        if implicit_tls:
            wrapped = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
            wrapped.load_cert_chain(*implicit_tls)
        return loop.create_server(lambda: SMTP(self, **settings), "127.0.0.1", 0, ssl=wrapped)

    def in_thread(self, **security):
        """Serves from a thread of this process until close(); the port is self.port."""
        self.loop = asyncio.new_event_loop()
        self.port = self.loop.run_until_complete(self.serve(self.loop, **security)).sockets[0].getsockname()[1]
        self.thread = threading.Thread(target=self.loop.run_forever, daemon=True)
        self.thread.start()
        return self

    def close(self):
        self.loop.call_soon_threadsafe(self.loop.stop)
        self.thread.join(5)


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


async def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--refuse", action="append", default=[], metavar="ADDRESS=REPLY")
    parser.add_argument("--refuse-sender", metavar="REPLY")  # the answer to every MAIL FROM
    parser.add_argument("--drop-at-mail", type=int, action="append", default=[], metavar="N")  # instead of answering
    parser.add_argument("--drop-in-data", type=int, metavar="N")  # keep the N-th message, close instead of answering
    parser.add_argument("--close-after", type=int, metavar="N")  # answer the N-th message, then close as when idle
    parser.add_argument("--stall-in-data", type=int, metavar="N")  # never answer the N-th message's data, nor anything after
    parser.add_argument("--auth", metavar="USER:PASSWORD")
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--implicit-tls", nargs=2, metavar=("CERT", "KEY"))
    options = parser.parse_args()

    def kept(raw, connection):
        with open(os.path.join(options.folder, "%d.txt" % len(peer.messages)), "w") as file:
            for key, value in fields(raw, connection).items():
                file.write("%s =%s\n" % (key, (value if isinstance(value, bytes) else str(value).encode()).hex()))
    peer = Peer(dict(item.split("=", 1) for item in options.refuse), options.refuse_sender, options.drop_at_mail,
                options.drop_in_data, options.close_after, slow_data=3600 if options.stall_in_data else 0.0,
                slow_at={options.stall_in_data}, kept=kept)
    server = await peer.serve(asyncio.get_running_loop(), options.auth and options.auth.encode().split(b":"),
                              options.tls, options.implicit_tls)
    print("port %d" % server.sockets[0].getsockname()[1], flush=True)
    os.dup2(os.open(os.devnull, os.O_WRONLY), 1)
    os.dup2(1, 2)
    await asyncio.sleep(100)  # should the test die first
    os._exit(0)


if __name__ == "__main__":
    asyncio.run(main())
