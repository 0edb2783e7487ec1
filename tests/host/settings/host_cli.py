"""The settings host and the bulletin-board host as command-line programs,
driven by scripts over a fresh Velloria device image: flags and exit codes,
the change lines, `fill`, labels and choices in other letter case, the host's
words in Chinese, text from hostile files shown with its control characters
escaped, and `quit` storing nothing half-typed.

Each program's man page (in the source tree, beside the program) must render
with `man -l` without a warning and name every option --help lists.

usage: host_cli.py SETTINGS_HOST BULLETIN_BOARD_HOST BUILD_TREE IMAGE_DIR VERSION
"""

import os
import plistlib
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "panes", "flows"))
from hostflow import (DATA_FILE, DOMAIN_FILE, ENTRY, Device, FlowFailure, check,  # noqa: E402
                      expect_equal, row)

DOMAIN_SHOWN = "Preferences/" + os.path.basename(DOMAIN_FILE)
DATA_SHOWN = os.path.basename(DATA_FILE)
# What a terminal would act on: C0 but the line break, DEL, C1, bidi overrides.
RAW_CONTROL = re.compile("[\x00-\x09\x0b-\x1f\x7f-\x9f\u202a-\u202e\u2066-\u2069]")


def run(args, env=None, stdin=subprocess.DEVNULL):
    done = subprocess.run(args, capture_output=True, env={**os.environ, "LANGUAGE": "en", **(env or {})},
                          stdin=stdin, timeout=60)
    return done.returncode, done.stdout.decode(), done.stderr.decode()


def check_man_page(program, name, options):
    page = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "host",
                        "settings" if name == "settings-host" else "bulletinboard", name + ".1")
    status, out, err = run(["man", "--warnings", "-l", page],
                           env={"MANWIDTH": "80", "MANPAGER": "cat", "LANG": "C.UTF-8"})
    check(status == 0 and err == "", f"man -l {page}: status {status}, {err!r}")
    check(out.split()[0] == name.upper() + "(1)" and "SYNOPSIS" in out, f"man -l {page} renders: {out[:300]!r}")
    for option in options:
        check(re.search(rf"(^|[\s,\[]){re.escape(option)}\b", out), f"the man page of {name} lacks {option}")
    check(max(len(line) for line in out.splitlines()) <= 80, f"the man page of {name} is wider than 80 columns")


def check_flags(program, name, version, options, wrong_flags):
    status, out, err = run([program, "--help"])
    check(status == 0 and err == "", f"{name} --help: status {status}, stderr {err!r}")
    check("usage" in out.lower(), f"{name} --help prints no usage: {out!r}")
    for option in options:
        check(re.search(rf"(^|[\s,]){re.escape(option)}\b", out), f"{name} --help does not list {option}")
    expect_equal(run([program, "--version"])[:2], (0, f"{name} {version}\n"), f"{name} --version")
    check_man_page(program, name, options)
    for wrong in wrong_flags:
        status, out, err = run([program, *wrong])
        lines = err.splitlines()
        check(status == 2 and out == "" and len(lines) == 1, f"{name} {wrong}: {status}, {out!r}, {err!r}")
        check(wrong[-1] in lines[0] or wrong[0] in lines[0], f"{name} {wrong}: the line names no flag: {err!r}")
        check("try --help" in lines[0], f"{name} {wrong}: no pointer to --help: {err!r}")


def change_lines(out):
    return [line for line in out.splitlines() if line.startswith(("wrote ", "removed ", "opened "))]


def host_flow(device, version):
    host = device.host
    check_flags(host, "settings-host", version,
                ["--help", "-h", "--version", "--root", "--open", "--script", "-c", "--lang", "--quiet",
                 "--no-history"],
                [["--bogus"], ["--root"], ["-c", "dump", "--script", "x"], ["--lang", "a/b"], ["stray"]])

    main_pane = device.run("open Velloria; dump")
    view = row(main_pane, name="View")
    colours = f"tap {row(main_pane, name='Custom Colours')}"
    week = main_pane["rows"][view]

    # Change lines: one per file changed, naming what changed, and one per URL.
    def lines_of(commands, *extra):
        done = device.host_args(*extra, "-c", commands)
        check(done.returncode == 0, f"{commands}: {done.stderr.decode()}")
        return change_lines(done.stdout.decode())

    expect_equal(lines_of("open Velloria; show"), [], "lines after commands that change nothing")
    expect_equal(lines_of(f"open velloria; choose {view} WEEK"), [f"wrote {DOMAIN_SHOWN}: viewType = 1"],
                 "lines after a choice in other letter case")
    check(week["value"] != 1 and device.domain()["viewType"] == 1, "the choice was stored")
    add = f"{colours}; focus 1; type Sunzet; fill Sun\\u{{73}}et; focus 2; type 00; fill ff8800; dismiss"
    expect_equal(lines_of(f"open Velloria; {add}"), [f"wrote {DATA_SHOWN}: extra-colors + Sunset"],
                 "lines after adding a colour")
    expect_equal(device.data()["extra-colors"], {"Sunset": "FF8800"}, "the colour fill made")
    cleared = device.run(f"open Velloria; {colours}; focus 1; type abc; fill; dump")
    expect_equal(cleared["rows"][1].get("value"), "", "the name field after a bare fill")
    deleted = f"{colours}; right; delete {row(device.run(f'open Velloria; {colours}; dump'), name='Sunset')}"
    expect_equal(lines_of(f"open Velloria; {deleted}"), [f"wrote {DATA_SHOWN}: extra-colors - Sunset"],
                 "lines after deleting a colour")
    opened = device.run(f"open Velloria; tap {row(main_pane, name='Feedback')}; dump")["opened"]
    expect_equal(lines_of(f"open Velloria; tap {row(main_pane, name='Feedback')}"), [f"opened {opened[-1]}"],
                 "lines after opening a URL")

    # A reset of many keys: every key it changed is listed, nothing else.
    device.run(f"open Velloria; tap {row(main_pane, name='Colour Scheme')}; tap 1; tap 3; back; tap 2; tap 4; dump")
    before = device.domain()
    reset = lines_of(f"open Velloria; tap {row(main_pane, name='Reset Colours')}")
    after = device.domain()
    changed = {k for k in before.keys() | after.keys() if before.get(k) != after.get(k)}
    check(len(reset) == 1 and reset[0].startswith(f"wrote {DOMAIN_SHOWN}: "), f"reset lines: {reset}")
    listed = {part.split(" ")[0] for part in reset[0].split(": ", 1)[1].split(", ")}
    expect_equal(listed, changed, "keys the reset line lists")
    for part in reset[0].split(": ", 1)[1].split(", "):
        key, _, value = part.partition(" = ")
        check(value == "" and key.endswith(" removed") or str(after.get(key)) == value, f"{part} vs {after}")

    quiet = device.host_args("--quiet", "-c", f"open Velloria; choose {view} 0; dump")
    expect_equal(len(quiet.stdout.decode().splitlines()), 1, "--quiet output (the dump alone)")

    # Labels in other letter case: one match is taken, several need the exact one.
    with open(device.path(ENTRY), "rb") as f:
        entry = plistlib.load(f)
    twin = dict(entry)
    (twin["entry"] if "entry" in twin else twin)["label"] = "VELLORIA"
    device.write_plist(os.path.join(os.path.dirname(ENTRY), "Twin.plist"), twin)
    expect_equal(device.run("open Velloria; dump")["title"], "Velloria", "the exact label")
    failed = device.host_args("-c", "open velloria")
    check(failed.returncode == 1 and "several" in failed.stderr.decode(), f"ambiguous label: {failed.stderr}")
    os.remove(device.path(os.path.join(os.path.dirname(ENTRY), "Twin.plist")))

    # quit ends the script there; the half-filled add form is not stored.
    before = open(device.path(DATA_FILE), "rb").read()
    done = device.host_args("-c", f"open Velloria; {colours}; focus 1; type Dusk; focus 2; type 112233; quit; dismiss")
    check(done.returncode == 0, f"quit: {done.stderr}")
    expect_equal(open(device.path(DATA_FILE), "rb").read(), before, "the data file after quit")

    # The host's own words in Chinese: none of the English ones are left,
    # while the alert's button keeps the pane's title.
    english = ["Settings", "[Edit]", "[Done]", "[on]", "[off]", "keyboard up", "answer with ok", "disabled",
               "Commands:", "usage:"]
    lunar = row(main_pane, name="Show Lunar Dates")
    session = (f"show; open Velloria; show; switch {lunar} off; show; switch {lunar} on; {colours}; show; right; "
               "show; right; focus 1; type a\\u{1}b; focus 2; type 123456; dismiss; show; help; help fill")
    shown = {}
    for language, args in (("en", []), ("zh-Hans", ["--lang", "zh_CN"])):
        done = device.host_args(*args, "-c", session)
        check(done.returncode == 0, f"{language} session: {done.stderr}")
        shown[language] = done.stdout.decode()
    for word in english:
        check(word in shown["en"], f"the English session lacks {word!r}")
        check(word not in shown["zh-Hans"], f"the Chinese session shows {word!r}")
    check(re.search(r"\[OK\]", shown["zh-Hans"]), "the alert's button lost its title")
    status, out, _ = run([host, "--root", device.image, "-c", "dump"], env={"LANGUAGE": "zh_CN"})
    check(status == 0 and "Settings" not in out, f"LANGUAGE=zh_CN: the settings list is titled in English: {out}")


def hostile_flow(device):
    """Hostile calendar titles, colour names and holiday names through show:
    nothing raw reaches the output, everything is shown escaped, nothing stored
    changes."""
    hostile = "Evil\x1b[31mRED\x1b[2J\x9b\u202e\x7f\x07\x08"
    device.write_calendar("evil.ics", hostile, "evil-1")
    with open(device.path(DATA_FILE), "wb") as f:  # XML cannot hold these
        plistlib.dump({"extra-colors": {"Colour" + hostile: "FF8800"},
                       "solar-festivals": {"0501": "Hol" + hostile}}, f, fmt=plistlib.FMT_BINARY)
    stored = open(device.path(DATA_FILE), "rb").read()
    main_pane = device.run("open Velloria; dump")
    panes = ["Select Calendars", "Custom Colours", "Custom Holidays", "Colour Scheme"]
    commands = "; ".join(f"tap {row(main_pane, name=p)}; show; back" for p in panes)
    done = device.host_args("-c", f"open Velloria; {commands}; tap {row(main_pane, name='Colour Scheme')}; "
                                  "tap 1; show; open Evil\x1b[2J")
    out, err = done.stdout.decode(), done.stderr.decode()
    for text in (out, err):
        raw = RAW_CONTROL.search(text)
        check(not raw, f"raw {raw and raw.group()!r} in {text[max(0, raw.start() - 80):raw.end() + 20]!r}"
              if raw else "")
    escaped = r"Evil\x1b[31mRED\x1b[2J\u{9b}\u{202e}\x7f\x07\b"
    for name in ("", "Colour", "Hol"):
        check(name + escaped in out, f"{name + escaped!r} is not shown in {out!r}")
    check(r"Evil\x1b[2J" in err, f"the error does not show the label escaped: {err!r}")
    expect_equal(open(device.path(DATA_FILE), "rb").read(), stored, "the data file after show")


def bulletin_board_flow(program, version):
    check_flags(program, "bulletin-board-host", version,
                ["--help", "-h", "--version", "--inherit", "--no-section-class", "--getter-only", "--setter-only"],
                [["--bogus"], ["-x"]])
    status, out, err = run([program, "set /a\x1b[2J\u202eb", "use No\x9bClass"])
    expect_equal((status, out, err), (1, "held BBSectionInfo /a\\x1b[2J\\u{202e}b\n",
                                      "bulletin-board-host: no class No\\u{9b}Class\n"), "escaped output")
    # Commands on standard input when it is no terminal.
    status, out, _ = run([program], stdin=open(os.devnull))
    expect_equal((status, out), (0, ""), "no commands on an empty standard input")


def main():
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    host, bulletin_board, build, image, version = sys.argv[1:]
    device = Device(host, build, image)
    try:
        host_flow(device, version)
        device.remove()
        device = Device(host, build, image)
        hostile_flow(device)
        bulletin_board_flow(bulletin_board, version)
    except FlowFailure as failure:
        sys.exit(f"FAILED: {failure}\n(the device image is kept at {device.image})")
    device.remove()
    print("ok")


if __name__ == "__main__":
    main()
