"""A served settings host over a fresh copy of an installed device image.

`ServedHost(base_image, image)` copies the image installed at `base_image`
(programs, bundle, page) to `image`, gives it one calendar, and `start()`s
`IMAGE/bin/settings-host --root IMAGE --serve 127.0.0.1:0` (plus any extra
flags), reading the address from the first line it prints. `stop()` sends a
signal and returns the exit status. `request()` makes one HTTP request with
the token and the host's own Host header unless told otherwise.
"""
import http.client
import json
import os
import re
import shutil
import signal
import subprocess

CALENDARS = "var/mobile/Library/Calendars"
FIRST_LINE = re.compile(r"^serving http://127\.0\.0\.1:(\d+)/\?token=([0-9a-f]{32,})$")


def fresh_image(base_image, image):
    shutil.rmtree(image, ignore_errors=True)
    shutil.copytree(base_image, image, symlinks=True)
    with open(os.path.join(image, CALENDARS, "home.ics"), "w") as f:
        f.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nX-WR-CALNAME:Home\r\nX-WR-RELCALID:home-id\r\nEND:VCALENDAR\r\n")


class ServedHost:
    def __init__(self, image):
        self.image = image
        self.program = os.path.join(image, "bin", "settings-host")
        self.process = None

    def start(self, *flags, address="127.0.0.1:0"):
        language = [] if "--lang" in flags else ["--lang", "en"]
        self.process = subprocess.Popen([self.program, "--root", self.image, *language, *flags, "--serve", address],
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.first_line = self.process.stdout.readline().rstrip("\n")
        match = FIRST_LINE.match(self.first_line)
        if not match:
            self.process.kill()
            raise AssertionError(f"first line {self.first_line!r}; stderr: {self.process.stderr.read()!r}")
        self.port, self.token = int(match.group(1)), match.group(2)
        self.url = self.first_line.split(" ", 1)[1]
        return self

    def stop(self, signum=signal.SIGTERM):
        self.process.send_signal(signum)
        try:
            status = self.process.wait(timeout=60)
        except subprocess.TimeoutExpired:
            self.process.kill()
            raise AssertionError("the served host did not stop on a signal")
        self.stderr = self.process.stderr.read()
        return status

    def request(self, method, path, body=None, headers=None, token=True, host=True):
        """Returns (status, headers as a dict in lower case, body bytes)."""
        sent = {}
        if host:
            sent["Host"] = f"127.0.0.1:{self.port}"
        if token:
            sent["Authorization"] = "Bearer " + self.token
        if isinstance(body, (dict, list)):
            body = json.dumps(body)
            sent["Content-Type"] = "application/json"
        sent.update(headers or {})
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=60)
        try:
            connection.putrequest(method, path, skip_host=True, skip_accept_encoding=True)
            for name, value in sent.items():
                connection.putheader(name, value)
            if body is not None and "Transfer-Encoding" not in sent:
                connection.putheader("Content-Length", str(len(body.encode() if isinstance(body, str) else body)))
            connection.endheaders()
            if body is not None:
                data = body.encode() if isinstance(body, str) else body
                if sent.get("Transfer-Encoding") == "chunked":
                    for i in range(0, len(data), 8192):
                        piece = data[i:i + 8192]
                        connection.send(b"%x\r\n%s\r\n" % (len(piece), piece))
                    connection.send(b"0\r\n\r\n")
                else:
                    connection.send(data)
            response = connection.getresponse()
            return response.status, {k.lower(): v for k, v in response.getheaders()}, response.read()
        finally:
            connection.close()

    def json(self, method, path, body=None, **options):
        """A request whose answer must be JSON: (status, object)."""
        status, headers, data = self.request(method, path, body, **options)
        assert headers.get("content-type", "").startswith("application/json"), (path, headers)
        return status, json.loads(data)

    def state(self):
        status, state = self.json("GET", "/api/state")
        assert status == 200, (status, state)
        return state

    def command(self, line):
        status, answer = self.json("POST", "/api/command", {"command": line})
        assert status == 200, (status, answer)
        return answer
