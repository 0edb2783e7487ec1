#!/usr/bin/python3
"""The served settings host over HTTP, without a browser: the API, every
access rule, the page's files and nothing else, commands that run as script
lines do, writes shared with a host at a terminal, and stopping on signals.

usage: api_test.py BASE_IMAGE WORK_DIR
BASE_IMAGE is an installed device image; WORK_DIR a scratch directory.
"""
import json
import os
import signal
import subprocess
import sys
import threading

from served import ServedHost, fresh_image

BASE, WORK = sys.argv[1], sys.argv[2]
IMAGE = os.path.join(WORK, "image")
WEB = os.path.join(IMAGE, "share/settings-host/web")


def script(*commands):
    """Runs commands in a host at no terminal, on the same image: (status, stdout, stderr)."""
    done = subprocess.run([os.path.join(IMAGE, "bin/settings-host"), "--root", IMAGE, "--lang", "en",
                           "--today", "2026-09-10", "-c", "; ".join(commands)], capture_output=True, text=True,
                          timeout=60)
    return done.returncode, done.stdout, done.stderr


def expect(condition, what):
    if not condition:
        raise AssertionError(what)


def row_named(state, name):
    return next(r for r in state["rows"] if r.get("name") == name)


def check_page_files(host):
    with open(os.path.join(WEB, "index.html"), "rb") as f:
        index = f.read()
    for path, type_ in (("/", "text/html"), ("/index.html", "text/html"), ("/app.js", "text/javascript"),
                        ("/style.css", "text/css")):
        status, headers, body = host.request("GET", path, token=False)
        expect(status == 200 and headers["content-type"].startswith(type_), f"GET {path}: {status} {headers}")
        expect(path not in ("/", "/index.html") or body == index, f"GET {path} is not index.html")
    # Every answer, errors included, allows the page's own files only.
    for path in ("/", "/api/state", "/nothing"):
        _, headers, _ = host.request("GET", path, token=path != "/api/state")
        expect(headers.get("content-security-policy") == "default-src 'self'; img-src 'self' data:"
               and headers.get("x-content-type-options") == "nosniff", f"GET {path}: headers {headers}")
    # Nothing outside the folder: climbing, encoded slashes, a link and a
    # folder planted in it before the start, no listing.
    for path in ("/../../etc/passwd", "/..%2f..%2fbin%2fsettings-host", "/%2e%2e/%2e%2e/bin/settings-host",
                 "/planted.js", "/sub/inner.js", "/sub/", "/sub", "/index.html%00", "//etc/passwd"):
        status, _ = host.json("GET", path, token=False)
        expect(status == 404, f"GET {path}: {status}")


def check_access_rules(host):
    good = {"Content-Type": "application/json"}
    for headers in ({}, {"Authorization": "Bearer " + "0" * len(host.token)},
                    {"Authorization": "Bearer " + host.token[:-1]}, {"Authorization": "Basic " + host.token},
                    {"Authorization": host.token}):
        for method, path, body in (("GET", "/api/state", None), ("GET", "/api/preview", None),
                                   ("POST", "/api/command", {"command": "open Velloria"})):
            status, answer = host.json(method, path, body, headers=headers, token=False)
            expect(status == 401 and "token" in answer["error"], f"{method} {path} with {headers}: {status}")
    expect(host.state()["stack"] == ["Settings"], "a refused command ran")

    port = host.port
    for name in (f"evil.example:{port}", "127.0.0.1", f"127.0.0.1:{port + 1}", f"127.0.0.1.evil.example:{port}"):
        for path, token in (("/api/state", True), ("/", False)):
            status, _ = host.json("GET", path, headers={"Host": name}, token=token, host=False)
            expect(status == 403, f"Host {name}, GET {path}: {status}")
    for name in (f"localhost:{port}", f"LOCALHOST:{port}", f"127.0.0.1:{port}"):
        status, _, _ = host.request("GET", "/api/state", headers={"Host": name}, host=False)
        expect(status == 200, f"Host {name}: {status}")

    for origin in ("http://evil.example", "null", f"http://evil.example:{port}", f"https://127.0.0.1:{port}"):
        status, _ = host.json("POST", "/api/command", {"command": "open Velloria"}, headers={"Origin": origin})
        expect(status == 403, f"Origin {origin}: {status}")
    expect(host.state()["stack"] == ["Settings"], "a command from a foreign origin ran")
    status, _ = host.json("POST", "/api/command", {"command": "show"}, headers={"Origin": f"http://localhost:{port}"})
    expect(status == 200, f"own origin: {status}")

    # Bodies: 64 KiB pass, one byte more does not, announced or chunked.
    at_limit = json.dumps({"command": "show"}).ljust(64 * 1024)
    status, _ = host.json("POST", "/api/command", at_limit, headers=good)
    expect(status == 200, f"a body of 64 KiB: {status}")
    for extra in ({}, {"Transfer-Encoding": "chunked"}):
        status, answer = host.json("POST", "/api/command", at_limit + " ", headers={**good, **extra})
        expect(status == 413 and "64 KiB" in answer["error"], f"a body over 64 KiB {extra}: {status} {answer}")
    for body, words in (("{\"command\": ", "not JSON"), ("[\"open Velloria\"]", "object"), ("{}", "no \"command\""),
                        ("{\"command\": 8}", "string"), ("{\"command\": \"show\\nopen Velloria\"}", "line break"),
                        ("{\"command\": \"\\ud800\"}", "not JSON")):
        status, answer = host.json("POST", "/api/command", body, headers=good)
        expect(status == 400 and words in answer["error"], f"body {body}: {status} {answer}")
    status, _ = host.json("POST", "/api/command", "{\"command\": \"show\"}", headers={"Content-Type": "text/plain"})
    expect(status == 415, f"a text/plain body: {status}")
    expect(host.state()["stack"] == ["Settings"], "a malformed request ran a command")
    for method in ("PUT", "DELETE"):
        status, _ = host.json(method, "/api/state", "{}", headers=good)
        expect(status == 405, f"{method}: {status}")


def check_commands(host):
    state = host.state()
    expect(state["lang"] == "en" and state["stack"] == ["Settings"] and state["pane"] is None, f"start: {state}")
    answer = host.command("open Velloria")
    state = answer["state"]
    expect(answer["ok"] is True and answer["error"] is None and state["stack"] == ["Settings", "Velloria"]
           and state == host.state(), f"open Velloria: {answer}")
    # The state is the dump a script prints, with the stack and the language.
    _, out, _ = script("open Velloria", "dump")
    expect({k: v for k, v in state.items() if k not in ("stack", "lang")} == json.loads(out.splitlines()[-1]),
           "the state is not the dump")
    view = next(r for r in state["rows"] if r["cell"] == 9)
    expect(len(view["values"]) == len(view["titles"]) >= 2, f"a segmented row without its choices: {view}")

    # A refusal is what a script gets, and changes nothing.
    files = snapshot()
    status, _, err = script("open Velloria", "tap 99")
    refused = host.command("tap 99")
    expect(status == 1 and refused["ok"] is False and refused["error"] in err, f"tap 99: {refused} / {err}")
    expect(refused["state"] == state and snapshot() == files, "a refused command changed something")

    # Writes of a host at a terminal show in the served one, and back.
    lunar = row_named(state, "Show Lunar Dates")
    expect(lunar["value"] is True, f"show lunar: {lunar}")
    expect(script("open Velloria", f"switch {lunar['index']} off")[0] == 0, "the terminal host failed")
    expect(row_named(host.state(), "Show Lunar Dates")["value"] is False, "the terminal host's write is not seen")
    expect(host.command(f"switch {lunar['index']} on")["ok"], "switch on")
    _, out, _ = script("open Velloria", "dump")
    expect(row_named(json.loads(out.splitlines()[-1]), "Show Lunar Dates")["value"] is True,
           "the served host's write is not seen")

    # List items carry their values.
    host.command("tap " + str(row_named(state, "Colour Scheme")["index"]))
    link = next(r for r in host.state()["rows"] if r["cell"] == 2)
    items = host.command(f"tap {link['index']}")["state"]["rows"]
    expect([r["item"] for r in items if r["cell"] == 3] == link["values"], f"list items: {items} / {link}")
    host.command("back")
    host.command("back")

    # Commands from many connections at once: each one whole, in turn.
    answers = []
    def post():
        for _ in range(10):
            answers.append(host.command("tap " + str(lunar["index"]))["ok"])
    threads = [threading.Thread(target=post) for _ in range(6)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    expect(answers == [True] * 60 and row_named(host.state(), "Show Lunar Dates")["value"] is True,
           "sixty taps from six connections")


def snapshot():
    files = {}
    for top, _, names in os.walk(os.path.join(IMAGE, "var")):
        for name in names:
            with open(os.path.join(top, name), "rb") as f:
                files[os.path.join(top, name)] = f.read()
    return files


def check_preview(host):
    for date in ("2026-09", "2026-09-25"):
        status, _, body = host.request("GET", "/api/preview?date=" + date)
        _, out, _ = script(f"preview --json {date}")
        expect(status == 200 and body.decode() == out.rstrip("\n"), f"preview {date}: {status} {body[:200]}")
    status, _, body = host.request("GET", "/api/preview")
    expect(status == 200 and json.loads(body)["today"] == "2026-09-10", f"preview of today: {status}")
    for query in ("?date=2026-13", "?date=tomorrow", "?date=", "?date=2026-09&date=2026-10"):
        status, answer = host.json("GET", "/api/preview" + query)
        expect(status == 400 and "error" in answer, f"preview {query}: {status} {answer}")


def check_start_and_stop():
    first = ServedHost(IMAGE).start("--today", "2026-09-10", "--open", "Velloria")
    second = ServedHost(IMAGE).start("--lang", "zh_CN")
    try:
        expect(first.token != second.token and first.port != second.port, "two starts, one token")
        expect(first.state()["stack"] == ["Settings", "Velloria"], "--open with --serve")
        chinese = second.state()
        expect(chinese["lang"] == "zh-Hans" and chinese["stack"] == [chinese["title"]] != ["Settings"],
               f"a host in Chinese: {chinese}")
        # `quit` ends a served host as it ends a script.
        expect(first.command("quit")["ok"] and first.process.wait(timeout=60) == 0, "quit did not end it")
    finally:
        statuses = [first.stop(), second.stop(signal.SIGINT)]
    expect(statuses == [0, 0], f"exit statuses {statuses}")
    expect(first.stderr == "" and second.stderr == "", f"stderr: {first.stderr!r} {second.stderr!r}")
    program = os.path.join(IMAGE, "bin/settings-host")
    for address in ("nonsense", "127.0.0.1:70000", "[::1", ":80"):
        done = subprocess.run([program, "--root", IMAGE, "--serve", address], capture_output=True, text=True)
        expect(done.returncode == 2 and done.stdout == "" and "--serve" in done.stderr, f"--serve {address}: {done}")
    # Other machines only when asked, and with a warning.
    wide = subprocess.Popen([program, "--root", IMAGE, "--serve", "0.0.0.0:0"], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True)
    try:
        line = wide.stdout.readline()
        wide.send_signal(signal.SIGTERM)
        _, err = wide.communicate(timeout=60)
    finally:
        wide.kill()
    expect(line.startswith("serving http://0.0.0.0:") and "warning" in err and wide.returncode == 0,
           f"0.0.0.0: {line!r} {err!r} {wide.returncode}")


def main():
    fresh_image(BASE, IMAGE)
    os.symlink(os.path.join(IMAGE, "var/mobile/Library/Calendars/home.ics"), os.path.join(WEB, "planted.js"))
    os.makedirs(os.path.join(WEB, "sub"))
    with open(os.path.join(WEB, "sub/inner.js"), "w") as f:
        f.write("inner")
    check_start_and_stop()
    host = ServedHost(IMAGE).start("--today", "2026-09-10")
    try:
        check_page_files(host)
        check_access_rules(host)
        check_commands(host)
        check_preview(host)
    finally:
        status = host.stop()
    expect(status == 0, f"exit status {status} after SIGTERM")
    print("api test passed")


if __name__ == "__main__":
    main()
