"""The settings host at a terminal: a pseudo-terminal of a given size drives
the real program as a person would, with keystrokes. Ctrl-C cancels the line,
Tab completes commands, labels and choices, the drawing fits the width (CJK
counting two columns), errors come alone and red (plain with NO_COLOR), text
from a hostile calendar is drawn escaped, history lasts between sessions,
and Ctrl-D, SIGTERM and SIGHUP end the session without storing a half-filled
form. Waiting for output is bounded only so that a hung host fails the test.

usage: host_prompt.py SETTINGS_HOST BULLETIN_BOARD_HOST BUILD_TREE IMAGE_DIR
"""

import fcntl
import os
import plistlib
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import termios
import unicodedata

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "panes", "flows"))
from hostflow import DATA_FILE, Device, FlowFailure, check, expect_equal, row  # noqa: E402

CSI = re.compile(r"\x1b\[[0-9;?]*[ -/]*[@-~]")
HOSTILE = "Evil\x1b[31mRED\x1b[2J\x9b\u202e"
HOSTILE_SHOWN = r"Evil\x1b[31mRED\x1b[2J\u{9b}\u{202e}"


def columns(text):
    return sum(0 if unicodedata.combining(c) else 2 if unicodedata.east_asian_width(c) in "WF" else 1
               for c in CSI.sub("", text))


class Terminal:
    """A program on a pseudo-terminal of `cols` columns."""

    def __init__(self, args, cols, env):
        self.master, slave = os.openpty()
        fcntl.ioctl(slave, termios.TIOCSWINSZ, struct.pack("HHHH", 40, cols, 0, 0))

        def own_terminal():
            os.setsid()
            fcntl.ioctl(0, termios.TIOCSCTTY, 0)

        self.process = subprocess.Popen(args, stdin=slave, stdout=slave, stderr=slave, env=env,
                                        preexec_fn=own_terminal)
        os.close(slave)
        self.output = ""
        self.seen = 0  # how much of the output `expect` has consumed

    def send(self, keys):
        os.write(self.master, keys.encode())

    def _read(self, limit=30):
        ready, _, _ = select.select([self.master], [], [], limit)
        if not ready:
            raise FlowFailure(f"no output for {limit}s; so far: {self.output[-600:]!r}")
        try:
            chunk = os.read(self.master, 65536)
        except OSError:  # the program has ended
            chunk = b""
        self.output += chunk.decode(errors="replace")
        return bool(chunk)

    def expect(self, text):
        """Waits for `text` after what was consumed; returns what came before it."""
        while text not in self.output[self.seen:]:
            if not self._read():
                raise FlowFailure(f"the program ended without printing {text!r}: {self.output[self.seen:]!r}")
        at = self.output.index(text, self.seen)
        before, self.seen = self.output[self.seen:at], at + len(text)
        return before

    def command(self, keys, marker, title):
        """Sends keys, waits for `marker` (what the command prints, so that a
        prompt the line editor redraws is not taken for the next one), then
        for the prompt; returns what came in between."""
        self.send(keys)
        return self.expect(marker) + marker + self.expect(prompt(title))

    def wait(self):
        while self._read():
            pass
        return self.process.wait(timeout=30)


def prompt(title):
    return f"settings [{title}]> "


def session(device, cols, state, *extra, **env):
    environment = dict(os.environ, TERM="xterm-256color", COLORTERM="truecolor", LANGUAGE="en",
                       XDG_STATE_HOME=state, **env)
    if "NO_COLOR" not in env:
        environment.pop("NO_COLOR", None)
    return Terminal([device.host, "--root", device.image, *extra], cols, environment)


def check_fits(text, cols, what):
    for line in text.replace("\r", "").split("\n"):
        check(columns(line) <= cols, f"{what}: a line of {columns(line)} columns at {cols}: {line!r}")


def flow(device, bulletin_board):
    device.write_calendar("evil.ics", HOSTILE, "evil-1")
    with open(device.path(DATA_FILE), "wb") as f:  # XML cannot hold these names
        plistlib.dump({"extra-colors": {"C" + HOSTILE: "FF8800"}, "solar-festivals": {"0501": "H" + HOSTILE}}, f,
                      fmt=plistlib.FMT_BINARY)
    main_pane = device.run("open Velloria; dump")
    view = row(main_pane, name="View")
    colours = row(main_pane, name="Custom Colours")
    state = device.image + "-state"
    history = os.path.join(state, "settings-host", "history")
    shutil.rmtree(state, ignore_errors=True)

    # 80 columns: the pane fits, swatches are drawn, Ctrl-C drops the line.
    term = session(device, 80, state, "--open", "Velloria")
    drawn = term.expect(prompt("Velloria"))
    check_fits(drawn, 80, "the main pane")
    footer_lines = [line.strip() for line in drawn.split("\r\n") if line.startswith(" " * 7)]
    check(len(footer_lines) > 1, f"the footer is not wrapped: {drawn!r}")
    expect_equal(" ".join(footer_lines), main_pane["rows"][view - 1]["footer"], "the footer wrapped at spaces")
    # The terminal discards the typed keys as Ctrl-C raises the interrupt, at
    # any moment of the host's reading; each time the prompt comes back.
    for _ in range(100):
        term.send("tap 99")
        term.send("\x03")
        term.expect("^C")
        after_interrupt = term.expect(prompt("Velloria"))
        check("no row" not in after_interrupt, f"the cancelled line ran: {after_interrupt!r}")

    # Tab: a command name, a choice in other letter case, an entry label.
    changed = term.command(f"cho\t{view} w\t\r", "viewType = 1", "Velloria")
    check("Week " in changed, f"the completed line: {changed!r}")
    expect_equal(device.domain().get("viewType"), 1, "viewType after the completed choice")
    check("wrote Preferences/com.quietharbor.velloria.plist: viewType = 1" in changed, f"no change line: {changed!r}")
    term.send(f"choose {view} \t\t")
    listed = term.expect("Week")
    check("Month" in listed, f"the choices listed: {listed!r}")
    term.command("\x15back\r", "== Settings ==", "Settings")  # Ctrl-U clears the line
    term.command("open VEL\t\r", "== Velloria ==", "Velloria")

    # An error comes alone, in red, without the pane drawn again.
    error = term.command("tap 99\r", "no row 99", "Velloria")
    check("\x1b[31m" in error and "there is no row 99" in error and "==" not in error, f"the error: {error!r}")

    # Hostile calendar titles, colour and holiday names are drawn escaped.
    for pane, name in (("Select Calendars", ""), ("Custom Colours", "C"), ("Custom Holidays", "H")):
        drawn = term.command(f"tap {row(main_pane, name=pane)}\r", f"== {pane} ==", pane)
        check(name + HOSTILE_SHOWN in drawn and "\x9b" not in drawn and "\u202e" not in drawn and
              "\x1b[31mRED" not in drawn, f"the pane {pane}: {drawn!r}")
        term.command("back\r", "== Velloria ==", "Velloria")
    drawn = term.command(f"tap {row(main_pane, name='Colour Scheme')}\r", "== Colour Scheme ==", "Colour Scheme")
    check("\x1b[48;2;" in drawn, "no swatch in the colour scheme")
    term.command("help fill\r", "usage: fill", "Colour Scheme")
    term.send("\x04")  # Ctrl-D on an empty line
    expect_equal(term.wait(), 0, "the exit status after Ctrl-D")
    lines = open(history).read().splitlines()
    check("help fill" == lines[-1] and "tap 99" in lines and all("^C" not in l for l in lines), f"history: {lines}")

    # The next session starts with that history; NO_COLOR turns red off.
    term = session(device, 80, state, NO_COLOR="1")
    term.expect(prompt("Settings"))
    term.command("\x1b[A\r", "usage: fill", "Settings")  # up arrow: the last line of the last session
    error = term.command("tap 9\r", "no entry 9", "Settings")
    check("no entry 9" in error and "\x1b[31m" not in error, f"the error with NO_COLOR: {error!r}")
    term.send("quit\r")
    expect_equal(term.wait(), 0, "the exit status after quit")

    # 40 columns in Chinese: everything drawn fits, help included.
    term = session(device, 40, state, "--lang", "zh_CN", "--no-history", "--open", "Velloria")
    check_fits(term.expect(prompt("Velloria")), 40, "the Chinese main pane")
    holidays = term.command(f"tap {row(main_pane, name='Custom Holidays')}\r", "== ", "\u81ea\u5b9a\u4e49\u8282\u65e5")
    check_fits(holidays, 40, "the Chinese holidays pane")
    check_fits(term.command("help\r", "help [COMMAND]", "\u81ea\u5b9a\u4e49\u8282\u65e5"), 40, "the Chinese help")
    term.send("exit\r")
    expect_equal(term.wait(), 0, "the exit status after exit")
    expect_equal(open(history).read().splitlines()[-1], "quit", "the last history line after --no-history")

    # SIGTERM and SIGHUP end the session by that signal after saving the
    # history; the half-filled add form is not stored.
    for number in (signal.SIGTERM, signal.SIGHUP):
        before = open(device.path(DATA_FILE), "rb").read() if os.path.exists(device.path(DATA_FILE)) else None
        term = session(device, 80, state, "--open", "Velloria")
        term.expect(prompt("Velloria"))
        title = "Custom Colours"
        term.command(f"tap {colours}\r", f"== {title} ==", title)
        typing = (("focus 1", "[|]"), ("type Dusk", "[Dusk|]"), ("focus 2", "[|]"), ("type 1122", "[1122|]"))
        for line, marker in typing:
            term.command(line + "\r", marker, title)
        term.send("type 33")
        term.process.send_signal(number)
        expect_equal(term.wait(), -number, f"the end after signal {number}")
        after = open(device.path(DATA_FILE), "rb").read() if os.path.exists(device.path(DATA_FILE)) else None
        expect_equal(after, before, f"the data file after signal {number}")
        expect_equal(open(history).read().splitlines()[-1], "type 1122", f"the history after signal {number}")
    device.check_no_temporary_files()

    # The bulletin-board host at a terminal with nothing to do: a usage line.
    term = Terminal([bulletin_board], 80, dict(os.environ))
    check("usage: bulletin-board-host" in term.expect("try --help"), "no usage line")
    expect_equal(term.wait(), 2, "bulletin-board-host's exit status with nothing to do")
    shutil.rmtree(state, ignore_errors=True)


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    host, bulletin_board, build, image = sys.argv[1:]
    device = Device(host, build, image)
    try:
        flow(device, bulletin_board)
    except FlowFailure as failure:
        sys.exit(f"FAILED: {failure}\n(the device image is kept at {device.image})")
    device.remove()
    print("ok")


if __name__ == "__main__":
    main()
