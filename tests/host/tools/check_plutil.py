"""plutil on property-list files made by Python's plistlib: what -p prints,
-lint's verdicts, and -convert round trips in both encodings."""

import datetime
import plistlib
import re

from toolimage import check, expect_equal, main, typed

WHEN = datetime.datetime(2024, 5, 1, 8, 30)
EVERY = {"s": "text", "uni": "\u6625\u8282 \U0001F600 caf\u00e9", "i": -5, "max": 2**63 - 1, "min": -(2**63),
         "unsigned": 2**64 - 1, "r": 0.1, "huge": 1.5e300, "t": True, "f": False, "d": b"\x00\xff" * 40,
         "date": WHEN, "nested": {"a": [1, {"b": []}], "e": {}}}
HOSTILE = {"esc\x1b": "line\nbreak\x07\x9b\r\x7f", "long": bytes(range(100))}


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def check_print(image):
    sample = image.scratch_file("sample.plist", {
        "name": "Velloria", "count": 3, "ratio": 0.5, "on": True, "off": False, "tags": ["a", "b c"],
        "nested": {"k": "v"}, "empty": [], "when": WHEN, "bytes": b"\x01\x02\x03\x04\x05", "quote": 'say "hi"'})
    expect_equal(image.plutil("-p", sample, check_status=0).stdout.decode(),
                 "{\n"
                 "  \"name\" => \"Velloria\"\n"
                 "  \"count\" => 3\n"
                 "  \"ratio\" => 0.5\n"
                 "  \"on\" => true\n"
                 "  \"off\" => false\n"
                 "  \"tags\" => [\n"
                 "    0 => \"a\"\n"
                 "    1 => \"b c\"\n"
                 "  ]\n"
                 "  \"nested\" => {\n"
                 "    \"k\" => \"v\"\n"
                 "  }\n"
                 "  \"empty\" => [\n"
                 "  ]\n"
                 "  \"when\" => 2024-05-01T08:30:00Z\n"
                 "  \"bytes\" => {length = 5, bytes = 0x0102030405}\n"
                 "  \"quote\" => \"say \\\"hi\\\"\"\n"
                 "}\n", "plutil -p")

    # Control characters, in keys and values, are shown as escapes; long data
    # is shortened.
    hostile = image.scratch_file("hostile.bplist", HOSTILE, plistlib.FMT_BINARY)
    shown = image.plutil("-p", hostile, check_status=0).stdout.decode()
    check(not re.search("[\x00-\x09\x0b-\x1f\x7f-\x9f]", shown), f"plutil -p printed control characters: {shown!r}")
    for escape in ("\"esc\\u001b\"", "\"line\\nbreak\\u0007\\u009b\\r\\u007f\"",
                   "{length = 100, bytes = 0x000102030405060708090a0b0c0d0e0f ... 5c5d5e5f60616263}"):
        check(escape in shown, f"plutil -p does not show {escape}: {shown!r}")


def check_convert(image):
    # Binary from plistlib -> XML -> binary -> XML on standard output: the
    # value never changes, whatever the type.
    source = image.scratch_file("every.bplist", EVERY, plistlib.FMT_BINARY)
    xml = image.scratch_file("every.xml")
    image.plutil("-convert", "xml1", source, "-o", xml, check_status=0)
    check(read_bytes(xml).startswith(b"<?xml"), "-convert xml1 did not write XML")
    expect_equal(typed(plistlib.loads(read_bytes(xml))), typed(EVERY), "the list converted to XML")
    image.plutil("-convert", "binary1", xml, check_status=0)
    check(read_bytes(xml).startswith(b"bplist00"), "-convert binary1 did not rewrite the file in place")
    expect_equal(typed(plistlib.loads(read_bytes(xml))), typed(EVERY), "the list converted back to binary")
    printed = image.plutil("-convert", "xml1", "-", "-o", "-", input=read_bytes(xml), check_status=0).stdout
    expect_equal(typed(plistlib.loads(printed)), typed(EVERY), "the list converted on standard output")

    # XML cannot carry control characters: that conversion fails and leaves
    # the file as it was; binary carries them.
    hostile = image.scratch_file("hostile.bplist", HOSTILE, plistlib.FMT_BINARY)
    before = read_bytes(hostile)
    done = image.plutil("-convert", "xml1", hostile, check_status=1)
    check(b"XML" in done.stderr, f"-convert xml1 of control characters said {done.stderr!r}")
    expect_equal(read_bytes(hostile), before, "the file after a refused conversion")
    image.plutil("-convert", "binary1", hostile, "-o", image.scratch_file("copy.bplist"), check_status=0)
    expect_equal(plistlib.loads(read_bytes(image.scratch_file("copy.bplist"))), HOSTILE, "the binary copy")

    garbage = image.scratch_file("garbage.plist")
    with open(garbage, "wb") as f:
        f.write(b"<plist><dict><key>a</key></dict></plist>")
    done = image.plutil("-convert", "binary1", garbage, check_status=1)
    check(b"malformed XML property list" in done.stderr, f"-convert of a bad file said {done.stderr!r}")
    image.plutil("-convert", "json", source, check_status=2)


def check_lint(image):
    good = [image.scratch_file("good.xml", EVERY), image.scratch_file("good.bplist", EVERY, plistlib.FMT_BINARY),
            image.scratch_file("good.strings")]
    with open(good[2], "w") as f:
        f.write('"key" = "value";\n')
    empty, garbage = image.scratch_file("empty.plist"), image.scratch_file("garbage.bplist")
    open(empty, "wb").close()
    with open(garbage, "wb") as f:
        f.write(b"bplist00" + bytes(range(40)))
    done = image.plutil("-lint", *good, check_status=0)
    expect_equal(done.stdout.decode(), "".join(f"{g}: OK\n" for g in good), "-lint of good files")
    missing = image.scratch_file("missing.plist")
    done = image.plutil("-lint", good[0], empty, garbage, missing, image.scratch, check_status=1)
    expect_equal(done.stdout.decode().splitlines(),
                 [f"{good[0]}: OK", f"{empty}: empty", f"{garbage}: malformed binary property list",
                  f"{missing}: no such file", f"{image.scratch}: not a regular file"], "-lint of a mixed list")
    image.plutil(good[0], check_status=0)  # -lint is the default
    image.plutil("--lint", garbage, check_status=1)


def check_all(image):
    check_print(image)
    check_convert(image)
    check_lint(image)
    expect_equal(image.plutil("--version", check_status=0).stdout.decode(), f"plutil {image.version}\n", "--version")
    check("-convert" in image.plutil("--help", check_status=0).stdout.decode(), "--help does not name -convert")
    image.check_no_temporary_files(image.scratch)


if __name__ == "__main__":
    main(check_all)
