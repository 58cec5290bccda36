#!/usr/bin/python3
"""Local SMTP servers for the mail tests, started and stopped by the tests themselves.

Each listener is an aiosmtpd server on 127.0.0.1 (reached as "localhost") that requires a
login and records every message it accepts, already taken apart with Python's own MIME
parser, so the tests check what really arrived:

  plain      no encryption offered
  starttls   offers STARTTLS with a certificate for localhost from the test CA; refuses a
             login before the upgrade
  implicit   TLS from the first byte, same certificate
  untrusted  STARTTLS with a certificate from a CA nobody trusts
  wronghost  STARTTLS with a certificate of the test CA for another host name
  ipaddress  STARTTLS with a certificate of the test CA for the address 127.0.0.1 only,
             reached as "127.0.0.1"
  heloonly   answers EHLO with 502 and accepts mail without a login
  loginonly  offers AUTH LOGIN only
  silent     accepts connections and never says a word
  closed     a port nobody listens on
  dropsdata  takes no login, and closes the connection while the message comes in
  liar       takes no login, offers a SIZE no number can hold, and refuses the message
             once it has come in whole, as too large

Recipients whose address starts with "busy" get 451, those starting with "nobody" get 550.
Every greeting and login is logged in events.log ("plain hello EHLO tls=no", "starttls auth
PLAIN user tls=yes accepted", "plain message 3"), so a test can tell what reached a server.

As a program:  smtp_test_server.py run [--windows] -- COMMAND...
starts every listener, runs COMMAND with the addresses in QUILVANE_TEST_SMTP_<NAME>, the
account in QUILVANE_TEST_SMTP_USER / _PASSWORD, the test CA in QUILVANE_TEST_SMTP_CA and
the record folder in QUILVANE_TEST_SMTP_RECORDS (as Windows paths with --windows, for a
program under Wine), stops everything and exits with COMMAND's status.
"""

import email
import email.policy
import logging
import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import warnings

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

USER = "sender@example.test"
PASSWORD = "正确的 password 1"
READY_TIMEOUT = 30.0


# The servers' own complaints (a refused handshake, a login over a plain line) are what
# the tests provoke on purpose; they would only drown the tests' own output.
logging.getLogger("mail.log").setLevel(logging.CRITICAL)
warnings.filterwarnings("ignore", module="aiosmtpd")


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def make_certificates(folder):
    """A test CA with three server certificates, and a second CA that nobody trusts."""

    def run(*arguments):
        subprocess.run(["openssl", *arguments], cwd=folder, check=True, capture_output=True, timeout=60)

    def authority(name):
        run("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "3", "-keyout", name + ".key",
            "-out", name + ".pem", "-subj", "/CN=Quilvane test CA " + name,
            "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign,cRLSign")

    def server(name, subject, alternative_name, ca):
        with open(os.path.join(folder, name + ".ext"), "w") as extensions:
            extensions.write("subjectAltName=%s\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n"
                             % alternative_name)
        run("req", "-newkey", "rsa:2048", "-nodes", "-keyout", name + ".key", "-out", name + ".csr",
            "-subj", "/CN=" + subject)
        run("x509", "-req", "-in", name + ".csr", "-CA", ca + ".pem", "-CAkey", ca + ".key", "-CAcreateserial",
            "-days", "2", "-out", name + ".pem", "-extfile", name + ".ext")

    authority("ca")
    authority("stranger")
    server("localhost", "localhost", "DNS:localhost", "ca")
    server("otherhost", "mail.other.example", "DNS:mail.other.example", "ca")
    server("untrusted", "localhost", "DNS:localhost", "stranger")
    # No name at all, so only the address entry can match.
    server("ipaddress", "Quilvane test server", "IP:127.0.0.1", "ca")


def server_context(folder, name):
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(os.path.join(folder, name + ".pem"), os.path.join(folder, name + ".key"))
    return context


def uses_tls(server):
    return server.transport is not None and server.transport.get_extra_info("ssl_object") is not None


class Recorder:
    """Writes each accepted message into a folder of its own, taken apart by the MIME parser."""

    def __init__(self, listener, records):
        self.listener = listener
        self.records = records
        self.lock = threading.Lock()

    def log(self, line):
        with self.lock, open(os.path.join(self.records, "events.log"), "a", encoding="utf-8") as events:
            events.write(self.listener + " " + line + "\n")

    def authenticate(self, server, session, envelope, mechanism, data):
        if not isinstance(data, LoginPassword):
            return AuthResult(success=False, handled=False)
        user = data.login.decode("utf-8", "replace")
        good = user == USER and data.password.decode("utf-8", "replace") == PASSWORD
        self.log("auth %s %s tls=%s %s" % (mechanism, user, "yes" if uses_tls(server) else "no",
                                           "accepted" if good else "refused"))
        return AuthResult(success=good, handled=False)

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        self.log("hello EHLO tls=%s" % ("yes" if uses_tls(server) else "no"))
        session.host_name = hostname
        return responses

    async def handle_HELO(self, server, session, envelope, hostname):
        self.log("hello HELO")
        session.host_name = hostname
        return "250 " + server.hostname

    async def handle_RCPT(self, server, session, envelope, address, options):
        if address.startswith("busy"):
            return "451 4.3.0 Mailbox busy, try again later"
        if address.startswith("nobody"):
            return "550 5.1.1 No such mailbox"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        with self.lock:
            number = len([name for name in os.listdir(self.records) if name.startswith("message-")]) + 1
            folder = os.path.join(self.records, "message-%03d" % number)
            os.makedirs(folder)
        raw = envelope.original_content
        with open(os.path.join(folder, "raw.eml"), "wb") as out:
            out.write(raw)
        write_parts(folder, raw)
        with open(os.path.join(folder, "envelope.txt"), "w", encoding="utf-8") as out:
            out.write("listener %s\nfrom %s\n" % (self.listener, envelope.mail_from))
            for recipient in envelope.rcpt_tos:
                out.write("to %s\n" % recipient)
            out.write("tls %s\n" % ("yes" if uses_tls(server) else "no"))
            out.write("login %s\n" % (session.login_data.decode("utf-8") if session.login_data else ""))
        self.log("message %d" % number)
        return "250 Message accepted"


class HeloOnly(Recorder):
    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        self.log("hello EHLO refused")
        session.extended_smtp = False
        return ["502 5.5.1 EHLO not implemented here"]


def write_parts(folder, raw):
    """The message as a mail program reads it: decoded headers, body and attachments."""
    message = email.message_from_bytes(raw, policy=email.policy.default)

    def put(name, text):
        with open(os.path.join(folder, name), "w", encoding="utf-8", newline="") as out:
            out.write(text)

    for header in ("From", "To", "Subject", "Date", "Message-ID", "MIME-Version"):
        put(header.lower() + ".txt", str(message.get(header, "")))
    put("content-type.txt", message.get_content_type())
    body = message.get_body(preferencelist=("plain",))
    put("body.txt", body.get_content() if body is not None else "")
    put("body-charset.txt", body.get_content_charset() if body is not None else "")
    for number, part in enumerate(message.iter_attachments(), 1):
        put("attachment-%d.name" % number, part.get_filename() or "")
        with open(os.path.join(folder, "attachment-%d.bin" % number), "wb") as out:
            out.write(part.get_content())


class SilentListener:
    """Takes connections and never answers, as a hung server does."""

    def __init__(self, port):
        self.socket = socket.create_server(("127.0.0.1", port))
        self.stopped = threading.Event()
        self.accepted = []
        self.thread = threading.Thread(target=self.serve, daemon=True)
        self.thread.start()

    def serve(self):
        self.socket.settimeout(0.2)
        while not self.stopped.is_set():
            try:
                self.accepted.append(self.socket.accept()[0])
            except OSError:
                pass

    def stop(self):
        self.stopped.set()
        self.thread.join(READY_TIMEOUT)
        for connection in self.accepted:
            connection.close()
        self.socket.close()


class ScriptedListener:
    """Speaks just enough SMTP, by hand, to misbehave where aiosmtpd never would."""

    def __init__(self, port, name, records, size_line, after_data):
        self.socket = socket.create_server(("127.0.0.1", port))
        self.recorder = Recorder(name, records)
        self.size_line = size_line
        self.after_data = after_data
        self.stopped = threading.Event()
        self.thread = threading.Thread(target=self.serve, daemon=True)
        self.thread.start()

    def serve(self):
        self.socket.settimeout(0.2)
        while not self.stopped.is_set():
            try:
                connection = self.socket.accept()[0]
            except OSError:
                continue
            with connection:
                try:
                    self.converse(connection)
                except OSError:
                    pass

    def converse(self, connection):
        connection.settimeout(READY_TIMEOUT)
        incoming = connection.makefile("rb")
        connection.sendall(b"220 scripted ESMTP\r\n")
        for line in incoming:
            verb = line[:4].upper()
            if verb == b"EHLO":
                self.recorder.log("hello EHLO tls=no")
                connection.sendall(b"250-scripted\r\n250 " + self.size_line + b"\r\n")
            elif verb == b"DATA":
                connection.sendall(b"354 go ahead\r\n")
                self.after_data(self, connection, incoming)
                return
            elif verb == b"QUIT":
                connection.sendall(b"221 bye\r\n")
                return
            else:
                connection.sendall(b"250 OK\r\n")

    def drop_midway(self, connection, incoming):
        incoming.read(64 * 1024)
        self.recorder.log("dropped the message")
        connection.shutdown(socket.SHUT_RDWR)

    def refuse_as_too_large(self, connection, incoming):
        for line in incoming:
            if line == b".\r\n":
                break
        self.recorder.log("refused the message")
        connection.sendall(b"552 5.3.4 Message size exceeds fixed maximum message size\r\n")

    def stop(self):
        self.stopped.set()
        self.thread.join(READY_TIMEOUT)
        self.socket.close()


class Servers:
    """Every listener, running until stop(); addresses in `addresses` by name."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="quilvane-smtp-")
        self.records = os.path.join(self.folder, "records")
        os.makedirs(self.records)
        self.controllers = []
        self.silent = None
        self.scripted = []
        self.addresses = {}

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *failure):
        self.stop()

    def start(self):
        make_certificates(self.folder)
        main = server_context(self.folder, "localhost")
        listeners = [
            ("plain", Recorder, {"auth_require_tls": False}, None),
            ("starttls", Recorder, {"tls_context": main, "auth_require_tls": True}, None),
            ("implicit", Recorder, {"auth_require_tls": False}, main),
            ("untrusted", Recorder, {"tls_context": server_context(self.folder, "untrusted")}, None),
            ("wronghost", Recorder, {"tls_context": server_context(self.folder, "otherhost")}, None),
            ("ipaddress", Recorder, {"tls_context": server_context(self.folder, "ipaddress")}, None),
            ("heloonly", HeloOnly, {"auth_required": False}, None),
            ("loginonly", Recorder, {"auth_require_tls": False, "auth_exclude_mechanism": ["PLAIN"]}, None),
        ]
        for name, kind, settings, implicit in listeners:
            port = free_port()
            recorder = kind(name, self.records)
            parameters = {"auth_required": True, "authenticator": recorder.authenticate, **settings}
            controller = Controller(recorder, hostname="127.0.0.1", port=port, ssl_context=implicit,
                                    ready_timeout=READY_TIMEOUT, **parameters)
            controller.start()
            self.controllers.append(controller)
            self.addresses[name] = ("127.0.0.1:%d" if name == "ipaddress" else "localhost:%d") % port
        port = free_port()
        self.silent = SilentListener(port)
        self.addresses["silent"] = "localhost:%d" % port
        for name, size_line, after_data in [
                ("dropsdata", b"SIZE 104857600", ScriptedListener.drop_midway),
                ("liar", b"SIZE 99999999999999999999999999", ScriptedListener.refuse_as_too_large)]:
            port = free_port()
            self.scripted.append(ScriptedListener(port, name, self.records, size_line, after_data))
            self.addresses[name] = "localhost:%d" % port
        self.addresses["closed"] = "localhost:%d" % free_port()

    def stop(self):
        for controller in self.controllers:
            controller.stop()
        if self.silent:
            self.silent.stop()
        for listener in self.scripted:
            listener.stop()
        shutil.rmtree(self.folder, ignore_errors=True)

    def ca_file(self):
        return os.path.join(self.folder, "ca.pem")

    def messages(self):
        """The folders of the accepted messages, in the order they came."""
        return sorted(os.path.join(self.records, name) for name in os.listdir(self.records)
                      if name.startswith("message-"))

    def events(self):
        path = os.path.join(self.records, "events.log")
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8") as events:
            return events.read().splitlines()

    def environment(self, windows):
        convert = windows_path if windows else (lambda path: path)
        variables = {"QUILVANE_TEST_SMTP_" + name.upper(): address for name, address in self.addresses.items()}
        variables.update(QUILVANE_TEST_SMTP_USER=USER, QUILVANE_TEST_SMTP_PASSWORD=PASSWORD,
                         QUILVANE_TEST_SMTP_CA=convert(self.ca_file()),
                         QUILVANE_TEST_SMTP_RECORDS=convert(self.records))
        return variables


def main(arguments):
    if len(arguments) < 3 or arguments[0] != "run" or "--" not in arguments:
        sys.stderr.write("usage: smtp_test_server.py run [--windows] -- COMMAND...\n")
        return 2
    split = arguments.index("--")
    windows = "--windows" in arguments[1:split]
    command = arguments[split + 1:]
    with Servers() as servers:
        environment = dict(os.environ, **servers.environment(windows))
        return subprocess.run(command, env=environment, check=False).returncode


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
