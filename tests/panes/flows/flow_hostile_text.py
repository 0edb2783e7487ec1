"""Hostile colour names typed through the settings host: markup characters, a
CDATA end, a tab, an emoji and a name of 100 KB are stored, shown and written
as a file that plistlib and libplist both read back identically; text that is
not valid UTF-8 is refused at input and never reaches the file."""

import ctypes
import ctypes.util

from hostflow import DATA_FILE, check, expect_equal, main, row, rows_after

HOSTILE_TYPED = r"A<b>&amp&lt]]>\tz\u{1F600}"  # no ";": it ends a -c command
HOSTILE = "A<b>&amp&lt]]>\tz\U0001F600"
LONG = "<&" * 51200  # 100 KB
SEED = {"solar-festivals": {"0501": "May"}}


def libplist_colors(path):
    """The "extra-colors" entries of the file as libplist reads them."""
    lib = ctypes.CDLL("libplist-2.0.so.3")
    libc = ctypes.CDLL(ctypes.util.find_library("c"))
    p = ctypes.c_void_p
    lib.plist_dict_get_item.restype = p
    lib.plist_dict_get_item.argtypes = [p, ctypes.c_char_p]
    lib.plist_dict_new_iter.argtypes = [p, ctypes.POINTER(p)]
    lib.plist_dict_next_item.argtypes = [p, p, ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(p)]
    lib.plist_get_string_val.argtypes = [p, ctypes.POINTER(ctypes.c_char_p)]
    lib.plist_from_xml.argtypes = [ctypes.c_char_p, ctypes.c_uint32, ctypes.POINTER(p)]
    lib.plist_free.argtypes = [p]
    libc.free.argtypes = [p]
    xml = open(path, "rb").read()
    root = p()
    lib.plist_from_xml(xml, len(xml), ctypes.byref(root))
    check(root.value, "libplist could not read the data file")
    colors = lib.plist_dict_get_item(root, b"extra-colors")
    check(colors, "libplist finds no extra-colors")
    entries, it = {}, p()
    lib.plist_dict_new_iter(colors, ctypes.byref(it))
    while True:
        key, node = ctypes.c_char_p(), p()
        lib.plist_dict_next_item(colors, it, ctypes.byref(key), ctypes.byref(node))
        if not key.value:
            break
        text = ctypes.c_char_p()
        lib.plist_get_string_val(node, ctypes.byref(text))
        entries[key.value.decode()] = text.value.decode()
        libc.free(ctypes.cast(key, p))
        libc.free(ctypes.cast(text, p))
    libc.free(it)
    lib.plist_free(root)
    return entries


def flow(device):
    device.write_plist(DATA_FILE, SEED)
    main_pane = device.run("open Velloria; dump")
    editor = f"open Velloria; tap {row(main_pane, name='Custom Colours')}"

    added = device.run(f"{editor}; focus 1; type {HOSTILE_TYPED}; focus 2; type 00ff00; dismiss; "
                       f"focus 1; type {LONG}; focus 2; type 0000ff; dismiss; dump")
    expected = {HOSTILE: "00FF00", LONG: "0000FF"}
    group = row(added, cell=0, name="Added Colours")
    expect_equal({r["name"]: r["value"] for r in rows_after(added, group)}, expected, "colour rows")

    data = device.data()
    expect_equal(data.get("extra-colors"), expected, "extra-colors read by plistlib")
    expect_equal(data.get("solar-festivals"), SEED["solar-festivals"], "solar-festivals")
    expect_equal(libplist_colors(device.path(DATA_FILE)), expected, "extra-colors read by libplist")
    reopened = device.run(f"{editor}; dump")
    expect_equal({r["name"]: r["value"] for r in rows_after(reopened, group)}, expected, "colour rows reopened")

    # Text that is no valid UTF-8 is refused where it is typed; nothing is written.
    before = open(device.path(DATA_FILE), "rb").read()
    opening = f"open Velloria\ntap {row(main_pane, name='Custom Colours')}\nfocus 1\n".encode()
    finishing = b"\nfocus 2\ntype 123456\ndismiss\n"
    error = device.run_failing(opening + b"type Bad\xff\xfe" + finishing)
    check("not valid UTF-8" in error, f"the refusal of invalid UTF-8 says: {error!r}")
    error = device.run_failing(opening + b"type Half\\u{D800}" + finishing)
    check("not a Unicode character" in error, f"the refusal of a lone surrogate says: {error!r}")
    expect_equal(open(device.path(DATA_FILE), "rb").read(), before, "the data file after the refused input")
    device.check_no_temporary_files()


if __name__ == "__main__":
    main(flow)
