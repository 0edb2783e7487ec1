"""defaults on a fresh device image: every verb and type flag, the text it
prints, its errors, and round trips through Python's plistlib."""

import datetime
import plistlib

from toolimage import check, expect_equal, main, typed

DOMAIN = "com.example.tools"
WHEN = datetime.datetime(2024, 5, 1, 8, 30)

# key, the arguments after it, what plistlib must read back.
WRITES = [
    ("plain", ["hello world"], "hello world"),
    ("text", ["-string", "-5"], "-5"),
    ("int", ["-int", "-5"], -5),
    ("integer", ["-integer", "0x10"], 16),
    ("unsigned", ["-int", "18446744073709551615"], 2**64 - 1),
    ("float", ["-float", "0.5"], 0.5),
    ("yes", ["-bool", "YES"], True),
    ("no", ["-boolean", "false"], False),
    ("one", ["-bool", "1"], True),
    ("date", ["-date", "2024-05-01T08:30:00Z"], WHEN),
    ("data", ["-data", "00ff10"], b"\x00\xff\x10"),
    ("array", ["-array", "a", "-int", "3", "(x, y)"], ["a", 3, ["x", "y"]]),
    ("dict", ["-dict", "k", "v", "n", "-float", "1.5"], {"k": "v", "n": 1.5}),
    ("oldstyle", ['{a = (1, 2); "b c" = <0102>;}'], {"a": ["1", "2"], "b c": b"\x01\x02"}),
    ("unicode", ["\u6625\u8282 \U0001F600"], "\u6625\u8282 \U0001F600"),
    ("control", ["a\x01b\x1b[31m"], "a\x01b\x1b[31m"),
]
# Additions to what the keys hold (a missing key is created).
ADDS = [
    ("array", ["-array-add", "-bool", "NO", "z"], ["a", 3, ["x", "y"], False, "z"]),
    ("fresh", ["-array-add", "-int", "1"], [1]),
    ("dict", ["-dict-add", "n", "-int", "2", "m", "x"], {"k": "v", "n": 2, "m": "x"}),
]


def as_text(value):
    """What the old-style text form turns a value into when read back."""
    if isinstance(value, dict):
        return {k: as_text(v) for k, v in value.items()}
    if isinstance(value, list):
        return [as_text(v) for v in value]
    if isinstance(value, bool):
        return "1" if value else "0"
    if isinstance(value, (int, float)):
        return repr(value)
    if isinstance(value, datetime.datetime):
        return value.strftime("%Y-%m-%d %H:%M:%S +0000")
    return value


def write_every_type(image):
    expected = {}
    for key, args, value in WRITES + ADDS:
        image.defaults("write", DOMAIN, key, *args, check_status=0)
        expected[key] = value
    expect_equal(typed(image.domain(DOMAIN)), typed(expected), "the domain plistlib reads")
    return expected


def check_old_style_text(image, expected):
    # Apple's layout, on a small domain written key by key.
    layout = "com.example.layout"
    for args in (["name", "Velloria"], ["count", "-int", "3"], ["ratio", "-float", "0.5"], ["on", "-bool", "YES"],
                 ["tags", "-array", "a", "b c"], ["nested", "-dict", "k", "v"], ["empty", "-array"],
                 ["when", "-date", "2024-05-01T08:30:00Z"], ["bytes", "-data", "0102030405"]):
        image.defaults("write", layout, *args, check_status=0)
    expect_equal(image.defaults("read", layout, check_status=0).stdout.decode(),
                 "{\n"
                 "    name = Velloria;\n"
                 "    count = 3;\n"
                 "    ratio = \"0.5\";\n"
                 "    on = 1;\n"
                 "    tags =     (\n"
                 "        a,\n"
                 "        \"b c\"\n"
                 "    );\n"
                 "    nested =     {\n"
                 "        k = v;\n"
                 "    };\n"
                 "    empty =     (\n"
                 "    );\n"
                 "    when = \"2024-05-01 08:30:00 +0000\";\n"
                 "    bytes = <01020304 05>;\n"
                 "}\n", "defaults read of the layout domain")

    # The whole text form reads back as old-style text: every escape (non-ASCII,
    # control characters, quotes) survives.
    text = image.defaults("read", DOMAIN, check_status=0).stdout.decode()
    check(text.isascii(), f"defaults read printed non-ASCII text: {text!r}")
    image.defaults("write", "com.example.copy", "all", text, check_status=0)
    expect_equal(typed(image.domain("com.example.copy")["all"]), typed(as_text(expected)),
                 "the domain read back from its text form")

    # One key: strings as they are (raw bytes into a pipe), others in the text form.
    for key, printed in (("plain", "hello world"), ("control", "a\x01b\x1b[31m"), ("int", "-5"), ("yes", "1"),
                         ("float", "0.5"), ("date", "2024-05-01 08:30:00 +0000"), ("data", "<00ff10>"),
                         ("unicode", "\u6625\u8282 \U0001F600"),
                         ("array", "(\n    a,\n    3,\n        (\n        x,\n        y\n    ),\n    0,\n    z\n)")):
        expect_equal(image.defaults("read", DOMAIN, key, check_status=0).stdout.decode(), printed + "\n",
                     f"defaults read {DOMAIN} {key}")


def check_errors(image):
    before = open(image.domain_file(DOMAIN), "rb").read()
    bad_array = image.scratch_file("array.plist", ["not", "a", "dictionary"])
    garbage = image.scratch_file("garbage.plist")
    with open(garbage, "w") as f:
        f.write("{ a = ")
    for args, message in (
            (["read", "com.example.none"], "Domain com.example.none does not exist"),
            (["read", DOMAIN, "nokey"], f"The domain/default pair of ({DOMAIN}, nokey) does not exist"),
            (["write", DOMAIN, "k", "-integr", "5"], "Unknown type flag '-integr'"),
            (["write", DOMAIN, "k", "-int", "12abc"], "'12abc' is not an integer"),
            (["write", DOMAIN, "k", "-int", "18446744073709551616"], "is not an integer"),
            (["write", DOMAIN, "k", "-float", "x"], "'x' is not a number"),
            (["write", DOMAIN, "k", "-bool", "maybe"], "is not a boolean"),
            (["write", DOMAIN, "k", "-date", "2024-13-01T00:00:00Z"], "is not a date"),
            (["write", DOMAIN, "k", "-data", "abc"], "is not data"),
            (["write", DOMAIN, "k", "(a, "], "Could not parse"),
            (["write", DOMAIN, "k", "a", "b"], "Unexpected argument 'b'"),
            (["write", DOMAIN, "k", "-dict", "a"], "needs a value"),
            (["write", DOMAIN, "plain", "-array-add", "x"], "is not an array"),
            (["write", DOMAIN, "plain", "-dict-add", "a", "b"], "is not a dictionary"),
            (["write", "../escape", "k", "v"], "Not a domain name"),
            (["delete", DOMAIN, "nokey"], "does not exist"),
            (["delete", "com.example.none"], "Domain com.example.none does not exist"),
            (["export", "com.example.none", "-"], "Domain com.example.none does not exist"),
            (["export", DOMAIN, "-"], "XML cannot carry"),
            (["import", DOMAIN, garbage], "not a property list"),
            (["import", DOMAIN, bad_array], "root is not a dictionary"),
            (["import", DOMAIN, image.scratch_file("missing.plist")], "no such file")):
        done = image.defaults(*args, check_status=1)
        check(message.encode() in done.stderr, f"defaults {args}: {done.stderr!r} does not say {message!r}")
    expect_equal(open(image.domain_file(DOMAIN), "rb").read() == before, True, "the domain file after the errors")
    for args in (["write", DOMAIN], ["frobnicate"], []):
        image.defaults(*args, check_status=2)


def check_export_import(image, expected):
    # Export: binary into a file, XML on standard output.
    exported = image.scratch_file("exported.plist")
    image.defaults("export", DOMAIN, exported, check_status=0)
    with open(exported, "rb") as f:
        check(f.read(8) == b"bplist00", "export to a file is not a binary property list")
    with open(exported, "rb") as f:
        expect_equal(typed(plistlib.load(f)), typed(expected), "the exported file")
    xml = image.defaults("export", "com.example.layout", "-", check_status=0).stdout
    check(xml.startswith(b"<?xml"), f"export to - printed {xml[:40]!r}")
    expect_equal(plistlib.loads(xml), image.domain("com.example.layout"), "the exported XML")

    # Import replaces the domain, from a binary file, standard input or text.
    target = "com.example.imported"
    image.defaults("write", target, "stale", "gone soon", check_status=0)
    every = {"s": "text", "i": -(2**63), "u": 2**64 - 1, "r": 1.5e300, "b": False, "d": b"\x00\xff",
             "t": WHEN, "nested": {"a": [1, {"b": []}]}}
    image.defaults("import", target, image.scratch_file("every.bplist", every, plistlib.FMT_BINARY), check_status=0)
    expect_equal(typed(image.domain(target)), typed(every), "the domain after importing a binary file")
    replacement = {"only": ["this"]}
    image.defaults("import", target, "-", input=plistlib.dumps(replacement), check_status=0)
    expect_equal(typed(image.domain(target)), typed(replacement), "the domain after importing standard input")
    image.defaults("import", target, "-", input=b"{ a = b; }", check_status=0)
    expect_equal(image.domain(target), {"a": "b"}, "the domain after importing old-style text")


def check_delete_and_domains(image, version):
    image.defaults("delete", DOMAIN, "control", check_status=0)
    check("control" not in image.domain(DOMAIN), "the deleted key is still there")
    expect_equal(image.defaults("domains", check_status=0).stdout.decode(),
                 "com.example.copy, com.example.imported, com.example.layout, com.example.tools\n",
                 "defaults domains")
    image.defaults("delete", DOMAIN, check_status=0)
    expect_equal(image.domain(DOMAIN), {}, "the domain after deleting it")
    done = image.defaults("read", DOMAIN, check_status=1)
    check(b"does not exist" in done.stderr, f"reading the deleted domain: {done.stderr!r}")
    check(DOMAIN not in image.defaults("domains", check_status=0).stdout.decode(), "the deleted domain is listed")

    expect_equal(image.defaults("--version", check_status=0).stdout.decode(), f"defaults {version}\n", "--version")
    help_text = image.defaults("--help", check_status=0).stdout.decode()
    check(all(verb in help_text for verb in ("domains", "read", "write", "delete", "export", "import", "-array-add")),
          f"--help does not name every verb and flag:\n{help_text}")


def check_all(image):
    image.defaults("domains", check_status=0)
    expected = write_every_type(image)
    check_old_style_text(image, expected)
    check_errors(image)
    check_export_import(image, expected)
    check_delete_and_domains(image, image.version)
    image.check_no_temporary_files(image.path("var/mobile/Library/Preferences"))
    image.check_no_temporary_files(image.scratch)


if __name__ == "__main__":
    main(check_all)
