"""A custom colour through its whole life in the settings host: added in the
custom colours editor, chosen for a colour setting in the colour scheme pane,
deleted again (the setting falls back to its default), while the widget data
file's other keys stay exactly as they were."""

import datetime

from hostflow import DATA_FILE, FlowFailure, check, expect_equal, main, row, rows_after

# Keys of the widget data file that belong to others: every rewrite keeps them.
FOREIGN = {
    "solar-festivals": {"1225": "Xms", "0101": "NY"},
    "widget-layout": {"rows": 6, "compact": True, "scale": 1.5},
    "installed": datetime.datetime(2024, 5, 1, 8, 30, 0),
    "blob": b"\x00\x01\xfe",
}


def check_foreign_keys(device, when):
    data = device.data()
    check(data is not None, f"{when}: {DATA_FILE} is missing")
    for key, value in FOREIGN.items():
        expect_equal(data.get(key), value, f"{when}: data file key {key!r}")


def open_main(device):
    main_pane = device.run("open Velloria; dump")
    return {name: row(main_pane, name=name) for name in ("Colour Scheme", "Custom Colours")}


def flow(device):
    device.write_plist(DATA_FILE, FOREIGN)
    links = open_main(device)
    editor = f"open Velloria; tap {links['Custom Colours']}"
    scheme = f"open Velloria; tap {links['Colour Scheme']}"

    # Without the custom colour, the colour scheme pane cannot offer it.
    colours = device.run(f"{scheme}; dump")
    text_colour = row(colours, key="textColor")
    weekend_colour = row(colours, key="weekendColor")
    refused = device.host_args("-c", f"{scheme}; choose {text_colour} Sunset")
    check(refused.returncode != 0, "choosing a colour that does not exist yet succeeded")

    # Add it: name, then value, then the keyboard goes and the form commits.
    added = device.run(f"{editor}; focus 1; type  Sunset ; focus 2; type #ff8800; dismiss; dump")
    expect_equal(added["alert"], None, "alert after adding")
    expect_equal(added["keyboard"], False, "keyboard after adding")
    expect_equal(added["right"]["title"], "Edit", "right button after adding")
    group = row(added, cell=0, name="Added Colours")
    expect_equal([(r["name"], r["value"]) for r in rows_after(added, group)], [("Sunset", "#FF8800")],
                 "rows of the added colours group")
    expect_equal(device.data().get("extra-colors"), {"Sunset": "#FF8800"}, "extra-colors after adding")
    check_foreign_keys(device, "after adding")

    # The reopened colour scheme pane offers it after the built-in colours.
    chosen = device.run(f"{scheme}; choose {text_colour} Sunset; choose {weekend_colour} FFA500; dump")
    expect_equal(chosen["rows"][text_colour]["value"], "#FF8800", "text colour row after choosing")
    domain = device.domain()
    expect_equal(domain.get("textColor"), "#FF8800", "textColor in the domain")
    expect_equal(domain.get("weekendColor"), "FFA500", "weekendColor in the domain")
    check_foreign_keys(device, "after choosing")

    # Delete it in editing mode: the group goes with the last colour, and the
    # setting that held its value is back to its default.
    editing = device.run(f"{editor}; right; dump")
    colour_row = row(editing, name="Sunset")
    deleted = device.run(f"{editor}; right; delete {colour_row}; dump")
    expect_equal([r["index"] for r in deleted["rows"]], [0, 1, 2], "editor rows after deleting the last colour")
    expect_equal(device.data().get("extra-colors"), {}, "extra-colors after deleting")
    domain = device.domain()
    expect_equal(domain.get("textColor"), "FFFFFF", "textColor after deleting its colour")
    expect_equal(domain.get("weekendColor"), "FFA500", "weekendColor, which held another colour")
    check_foreign_keys(device, "after deleting")

    reopened = device.run(f"{scheme}; dump")
    expect_equal(reopened["rows"][text_colour]["value"], "FFFFFF", "text colour row after deleting")
    refused = device.host_args("-c", f"{scheme}; choose {text_colour} Sunset")
    check(refused.returncode != 0, "the deleted colour is still offered")
    device.check_no_temporary_files()


if __name__ == "__main__":
    main(flow)
