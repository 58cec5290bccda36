#!/usr/bin/python3
"""quilvane mail as a script runs it, against local servers this test starts.

    mail_command_test.py QUILVANE [EMULATOR]

QUILVANE is the built tool; with EMULATOR (scripts/wine-run) it is the Windows build and
runs under Wine, given Windows paths. Exit status, standard output and standard error are
compared exactly; what arrived is read back with Python's own MIME parser.
"""

import email
import email.policy
import email.utils
import os
import random
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import smtp_test_server  # noqa: E402

CLIENT = None
EMULATOR = None
SERVERS = None

SENT = "邮件发送成功!\n"
NOT_SENT = "邮件发送失败!\n"


def as_argument(path):
    return smtp_test_server.windows_path(path) if EMULATOR else path


def lines_of(text):
    """The lines of a text, however its line breaks are written."""
    return text.replace("\r\n", "\n").split("\n")


class Outcome:
    def __init__(self, completed):
        self.code = completed.returncode
        # Windows writes its line breaks as CR LF.
        self.out = completed.stdout.decode("utf-8", "replace").replace("\r\n", "\n")
        self.err = completed.stderr.decode("utf-8", "replace").replace("\r\n", "\n")

    def __repr__(self):
        return "exit %d, out %r, err %r" % (self.code, self.out, self.err)


def run(*arguments, password=smtp_test_server.PASSWORD):
    command = ([EMULATOR] if EMULATOR else []) + [CLIENT, "mail", *arguments]
    environment = dict(os.environ)
    environment.pop("QUILVANE_SMTP_PASSWORD", None)
    if password is not None:
        environment["QUILVANE_SMTP_PASSWORD"] = password
    return Outcome(subprocess.run(command, env=environment, capture_output=True, timeout=240, check=False))


class MailCommand(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="quilvane-mail-")
        self.messages_before = len(SERVERS.messages())

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def file(self, name, content):
        path = os.path.join(self.work, name)
        with open(path, "wb") as out:
            out.write(content)
        return as_argument(path)

    def send(self, listener, *extra, password=smtp_test_server.PASSWORD):
        return run("--server", SERVERS.addresses[listener], "--from", "sender@example.test",
                   "--to", "first@example.test", "--user", smtp_test_server.USER, *extra, password=password)

    def trusting(self):
        return ("--ca-file", as_argument(SERVERS.ca_file()))

    def arrived(self):
        """The one message that arrived during the test, parsed, with its raw bytes and folder."""
        messages = SERVERS.messages()
        self.assertEqual(len(messages), self.messages_before + 1, "exactly one message should have arrived")
        with open(os.path.join(messages[-1], "raw.eml"), "rb") as raw_file:
            raw = raw_file.read()
        return email.message_from_bytes(raw, policy=email.policy.default), raw, messages[-1]

    def assert_nothing_arrived(self):
        self.assertEqual(len(SERVERS.messages()), self.messages_before)

    def assert_sent(self, outcome):
        self.assertEqual((outcome.code, outcome.out, outcome.err), (0, SENT, ""), outcome)

    def assert_failed(self, outcome, cause_start):
        self.assertEqual(outcome.code, 1, outcome)
        self.assertEqual(outcome.out, "")
        self.assertTrue(outcome.err.startswith(NOT_SENT + cause_start), outcome)
        self.assertTrue(outcome.err.endswith("\n") and outcome.err.count("\n") == 2, outcome)

    def test_chinese_text_dotted_lines_and_two_attachments_arrive_whole(self):
        letters = random.Random(6)
        long_line = "".join(letters.choice("abcdefghij0123456789 ") for _ in range(6000))
        body = "第一行：分块在附件里。\r\n.以点开头的一行\r\n..两个点\r\n.\r\n" + long_line + "\r\n最后一行"
        pieces = random.Random(7).randbytes(3 * 1024 * 1024 + 5)
        small = random.Random(8).randbytes(4096)
        outcome = run("--server", SERVERS.addresses["plain"], "--from", "发件人 <sender@example.test>",
                      "--to", "first@example.test; 李四 <second@example.test>", "--user", smtp_test_server.USER,
                      "--tls", "none",
                      "--subject", "分块文件 第1部分", "--body-file", self.file("body.txt", body.encode()),
                      "--attach", self.file("movie.avi.001.pe", pieces), "--attach", self.file("说明 文件.pe", small))
        self.assert_sent(outcome)
        message, raw, folder = self.arrived()
        self.assertEqual(message["Subject"], "分块文件 第1部分")
        self.assertEqual(message["From"], "发件人 <sender@example.test>")
        self.assertEqual([address for _, address in email.utils.getaddresses([message["To"]])],
                         ["first@example.test", "second@example.test"])
        self.assertEqual(message["MIME-Version"], "1.0")
        self.assertIsNotNone(email.utils.parsedate_to_datetime(message["Date"]))
        self.assertRegex(message["Message-ID"], r"^<[0-9a-f]+@example\.test>$")
        self.assertEqual(message.get_content_type(), "multipart/mixed")
        parts = list(message.iter_parts())
        self.assertEqual(parts[0].get_content_type(), "text/plain")
        self.assertEqual(parts[0].get_content_charset(), "utf-8")
        self.assertEqual(lines_of(parts[0].get_content()), lines_of(body))
        attachments = list(message.iter_attachments())
        self.assertEqual([part.get_filename() for part in attachments], ["movie.avi.001.pe", "说明 文件.pe"])
        self.assertEqual(attachments[0].get_content(), pieces)
        self.assertEqual(attachments[1].get_content(), small)
        self.assertLessEqual(max(len(line) for line in raw.split(b"\r\n")), 998)
        with open(os.path.join(folder, "envelope.txt"), encoding="utf-8") as envelope:
            self.assertIn("to first@example.test\nto second@example.test\n", envelope.read())

    def test_body_saved_in_the_ansi_code_page_or_with_a_byte_order_mark_reads_right(self):
        text = "记事本保存的内容\r\n第二行"
        for encoded in (text.encode("gb18030"), b"\xef\xbb\xbf" + text.encode("utf-8")):
            self.messages_before = len(SERVERS.messages())
            self.assert_sent(self.send("plain", "--tls", "none", "--body-file", self.file("body.txt", encoded)))
            message, _, _ = self.arrived()
            self.assertEqual(lines_of(message.get_body(preferencelist=("plain",)).get_content()), lines_of(text))

    def test_refusals_and_unreachable_servers_name_the_cause(self):
        self.assert_failed(self.send("plain", "--tls", "none", password="wrong"),
                           "用户名或密码不正确：535 5.7.8 Authentication credentials invalid")
        self.assert_failed(self.send("closed"), "无法连接到服务器“%s”：" % SERVERS.addresses["closed"])
        self.assert_failed(run("--server", "no-such-host.invalid", "--from", "a@example.test", "--to", "b@example.test"),
                           "找不到服务器“no-such-host.invalid”：")
        self.assert_nothing_arrived()

    def test_missing_attachment_sends_nothing(self):
        hellos = len(SERVERS.events())
        missing = as_argument(os.path.join(self.work, "gone.pe"))
        outcome = self.send("plain", "--attach", self.file("here.pe", b"x"), "--attach", missing)
        self.assert_failed(outcome, "打开文件“%s”失败：" % missing)
        self.assertEqual(len(SERVERS.events()), hellos, "the server was not even greeted")
        self.assert_nothing_arrived()

    def test_password_crosses_a_plain_connection_only_with_tls_none(self):
        logins = [line for line in SERVERS.events() if " auth " in line]
        self.assert_failed(self.send("plain"),
                           "服务器“%s”不支持加密连接（STARTTLS），密码没有发送" % SERVERS.addresses["plain"])
        self.assertEqual([line for line in SERVERS.events() if " auth " in line], logins, "no password went out")
        self.assert_nothing_arrived()
        self.assert_sent(self.send("plain", "--tls", "none"))
        self.assertEqual(SERVERS.events()[-2], "plain auth PLAIN %s tls=no accepted" % smtp_test_server.USER)
        self.messages_before += 1
        # Allowed in clear is not asked to be clear: STARTTLS is still taken where offered.
        self.assert_sent(self.send("starttls", "--tls", "none", *self.trusting()))
        _, _, folder = self.arrived()
        with open(os.path.join(folder, "envelope.txt"), encoding="utf-8") as envelope:
            self.assertIn("tls yes\n", envelope.read())

    def test_files_past_4_gib_are_refused_by_name_and_size(self):
        # A 32-bit length would see 10 bytes of each.
        def sparse(name):
            path = os.path.join(self.work, name)
            with open(path, "wb") as out:
                out.truncate((4 << 30) + 10)
            return as_argument(path)

        hellos = len(SERVERS.events())
        attachment, body = sparse("disk.img.001.pe"), sparse("body.txt")
        self.assert_failed(self.send("plain", "--tls", "none", "--attach", attachment),
                           "文件“%s”太大（4.0 GB），不能超过256.0 MB" % attachment)
        self.assert_failed(self.send("plain", "--tls", "none", "--body-file", body),
                           "文件“%s”太大（4.0 GB），不能超过16.0 MB" % body)
        self.assertEqual(len(SERVERS.events()), hellos, "the server was not even greeted")
        self.assert_nothing_arrived()

    def test_starttls_is_used_before_the_login_and_carries_mib_byte_for_byte(self):
        pieces = random.Random(9).randbytes(2 * 1024 * 1024 + 3)
        self.assert_sent(self.send("starttls", *self.trusting(), "--attach", self.file("a.pe", pieces)))
        message, _, _ = self.arrived()
        self.assertEqual(list(message.iter_attachments())[0].get_content(), pieces)
        starttls = [line for line in SERVERS.events() if line.startswith("starttls ")]
        self.assertEqual(starttls[-4:-1], ["starttls hello EHLO tls=no", "starttls hello EHLO tls=yes",
                                           "starttls auth PLAIN %s tls=yes accepted" % smtp_test_server.USER])

    def test_implicit_tls_from_the_first_byte(self):
        pieces = random.Random(10).randbytes(2 * 1024 * 1024)
        self.assert_sent(self.send("implicit", "--tls", "implicit", *self.trusting(), "--attach", self.file("b.pe", pieces)))
        message, _, folder = self.arrived()
        self.assertEqual(list(message.iter_attachments())[0].get_content(), pieces)
        with open(os.path.join(folder, "envelope.txt"), encoding="utf-8") as envelope:
            self.assertIn("tls yes\n", envelope.read())

    def test_certificates_that_fail_their_checks_end_before_the_login(self):
        logins = [line for line in SERVERS.events() if " auth " in line]
        self.assert_failed(self.send("untrusted", *self.trusting()), "服务器证书不可信：")
        self.assert_failed(self.send("starttls"), "服务器证书不可信：")
        self.assert_failed(self.send("wronghost", *self.trusting()), "证书与服务器名称不符：证书不是颁发给“localhost”的")
        self.assert_failed(self.send("plain", "--tls", "starttls"),
                           "服务器“%s”不支持加密连接（STARTTLS），密码没有发送" % SERVERS.addresses["plain"])
        self.assertEqual([line for line in SERVERS.events() if " auth " in line], logins, "no password went out")
        self.assert_failed(self.send("starttls", "--ca-file", as_argument(os.path.join(self.work, "none.pem"))),
                           "无法使用证书文件“%s”：找不到这个文件" % as_argument(os.path.join(self.work, "none.pem")))
        self.assert_nothing_arrived()

    def test_wrong_usage_exits_with_two_and_explains(self):
        server = SERVERS.addresses["plain"]
        for arguments, problem in [
                ((), "mail 需要选项 --server。"),
                (("--server", server, "--to", "b@example.test"), "mail 需要选项 --from。"),
                (("--server", server, "--from", "a@example.test", "--to", "b@example.test", "--password", "x"),
                 "mail 不认识选项“--password”。"),
                (("--server", server, "--from", "a@example.test", "--to", "b@example.test", "stray"),
                 "mail 不接受参数“stray”，请用选项给出。"),
                (("--server", server, "--from", "a@example.test", "--to", "b@example.test", "--tls", "ssl"),
                 "--tls 后应为 starttls、implicit 或 none。"),
                (("--server", server, "--from", "a@example.test", "--to"), "选项 --to 后面缺少值。"),
                (("--server", server, "--from", "a@example.test", "--to", "b@example.test", "--to", "c@example.test"),
                 "选项 --to 只能给出一次。")]:
            outcome = run(*arguments)
            self.assertEqual(outcome.code, 2, outcome)
            self.assertEqual(outcome.out, "")
            self.assertTrue(outcome.err.startswith(problem + "\n用法："), outcome)
        outcome = run("--server=" + server, "--from=a@example.test", "--to=b@example.test", "--user=someone",
                      password=None)
        self.assertEqual(outcome.code, 2, outcome)
        self.assertTrue(outcome.err.startswith("--user 需要密码：请在环境变量 QUILVANE_SMTP_PASSWORD 中给出。\n"), outcome)
        self.assert_nothing_arrived()


def main():
    global CLIENT, EMULATOR, SERVERS
    if len(sys.argv) < 2:
        sys.stderr.write(__doc__)
        return 2
    CLIENT, EMULATOR = sys.argv[1], (sys.argv[2] if len(sys.argv) > 2 and sys.argv[2] else None)
    # One virtual display for every Wine start, instead of one each.
    if EMULATOR and not os.environ.get("DISPLAY"):
        return subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", sys.executable, *sys.argv],
                              check=False).returncode
    with smtp_test_server.Servers() as servers:
        SERVERS = servers
        result = unittest.main(argv=[sys.argv[0], "-v"], exit=False).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
