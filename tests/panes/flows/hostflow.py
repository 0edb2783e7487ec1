"""Drives settings-host over a fresh device image for the end-to-end flows.

A flow script calls `Device.from_args()` (arguments: the settings-host
program, the build tree, a scratch directory for the image), runs command
lines through the host with `run`, reads the files a device would hold with
plistlib and checks them with `check`. Any failed check raises FlowFailure,
which `main` turns into a message and a non-zero exit for ctest.
"""

import json
import os
import plistlib
import shutil
import subprocess
import sys

BUNDLE = "Library/PreferenceBundles"
ENTRY = "Library/PreferenceLoader/Preferences/VelloriaSettings.plist"
DATA_FILE = "System/Library/WeeAppPlugins/Velloria.bundle/velcfg.plist"
DOMAIN_FILE = "var/mobile/Library/Preferences/com.quietharbor.velloria.plist"
CALENDARS = "var/mobile/Library/Calendars"


class FlowFailure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise FlowFailure(message)


def shorten(value, limit=400):
    text = repr(value)
    return text if len(text) <= limit else text[:limit] + f"... ({len(text)} characters)"


def expect_equal(got, expected, what):
    check(got == expected, f"{what}: got {shorten(got)}, expected {shorten(expected)}")


class Device:
    """A device image holding the built settings bundle and its entry."""

    def __init__(self, host, build, image):
        self.host = host
        self.image = image
        shutil.rmtree(image, ignore_errors=True)
        for directory in (os.path.dirname(DATA_FILE), os.path.dirname(DOMAIN_FILE), CALENDARS,
                          os.path.dirname(ENTRY)):
            os.makedirs(self.path(directory), exist_ok=True)
        shutil.copytree(os.path.join(build, BUNDLE), self.path(BUNDLE))
        shutil.copy(os.path.join(build, ENTRY), self.path(ENTRY))

    @classmethod
    def from_args(cls):
        if len(sys.argv) != 4:
            sys.exit(f"usage: {sys.argv[0]} SETTINGS_HOST BUILD_TREE IMAGE_DIR")
        return cls(*sys.argv[1:])

    def path(self, relative):
        return os.path.join(self.image, relative)

    def host_args(self, *args):
        env = dict(os.environ, LANGUAGE="en")
        return subprocess.run([self.host, "--root", self.image, *args], capture_output=True, env=env,
                              timeout=60)

    def run(self, commands):
        """Runs `commands` (a `-c` list ending in `dump`); returns the dump."""
        done = self.host_args("-c", commands)
        shown = commands if len(commands) < 300 else commands[:300] + "..."
        check(done.returncode == 0,
              f"settings-host -c '{shown}' failed ({done.returncode}): {done.stderr.decode(errors='replace')[:600]}")
        lines = done.stdout.decode().strip().splitlines()
        check(lines, f"settings-host -c '{shown}' printed nothing")
        return json.loads(lines[-1])

    def run_failing(self, script_bytes):
        """Runs a script file (raw bytes) that must stop with a script error (exit 1,
        not a crash); returns what it printed on standard error."""
        script = self.image + "-script"
        with open(script, "wb") as f:
            f.write(script_bytes)
        try:
            done = self.host_args("--script", script)
        finally:
            os.remove(script)
        check(done.returncode == 1, f"the script {script_bytes!r} ended with {done.returncode}, not the error exit 1")
        return done.stderr.decode(errors="replace")

    def read_plist(self, relative):
        """The property list at a device path, or None when the file is absent."""
        try:
            with open(self.path(relative), "rb") as f:
                return plistlib.load(f)
        except FileNotFoundError:
            return None
        except Exception as error:  # plistlib raises parser-specific errors
            raise FlowFailure(f"plistlib cannot read {relative}: {error}")

    def write_plist(self, relative, value):
        with open(self.path(relative), "wb") as f:
            plistlib.dump(value, f, sort_keys=False)

    def data(self):
        return self.read_plist(DATA_FILE)

    def domain(self):
        return self.read_plist(DOMAIN_FILE) or {}

    def write_calendar(self, file_name, title, identifier):
        text = f"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nX-WR-CALNAME:{title}\r\nX-WR-RELCALID:{identifier}\r\nEND:VCALENDAR\r\n"
        with open(os.path.join(self.path(CALENDARS), file_name), "w") as f:
            f.write(text)

    def check_no_temporary_files(self):
        for relative in (DATA_FILE, DOMAIN_FILE):
            directory = os.path.dirname(self.path(relative))
            names = os.listdir(directory)
            expected = os.path.basename(relative)
            strays = [n for n in names if n != expected and not n.endswith(".lock")]
            check(not strays, f"files left beside {relative}: {strays}")

    def remove(self):
        shutil.rmtree(self.image, ignore_errors=True)


def row(dump, **match):
    """The index of the first row of `dump` whose fields equal `match`."""
    for r in dump["rows"]:
        if all(r.get(k) == v for k, v in match.items()):
            return r["index"]
    raise FlowFailure(f"no row with {match} in pane {dump['pane']}: {json.dumps(dump['rows'])}")


def rows_after(dump, index):
    """The rows that follow row `index` up to the next group row."""
    following = []
    for r in dump["rows"][index + 1:]:
        if r["cell"] == 0:
            break
        following.append(r)
    return following


def main(flow):
    device = Device.from_args()
    try:
        flow(device)
    except FlowFailure as failure:
        sys.exit(f"FAILED: {failure}\n(the device image is kept at {device.image})")
    device.remove()
    print("ok")
