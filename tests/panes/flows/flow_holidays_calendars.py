"""Custom holidays of both types and the calendar choice through the settings
host: holidays added, listed again in file order, one deleted, the widget
data file checked with plistlib; then two calendar files offered by the event
store, switched off and on, and "calendars" read back from the domain."""

from hostflow import DATA_FILE, check, expect_equal, main, row, rows_after

# Form rows at their fixed positions: type choice, name field, date field.
TYPE, NAME, DATE = 1, 3, 4

SEED = {
    "extra-colors": {"Mint": "98FF98"},
    "solar-festivals": {"1225": "Xms", "0101": "NY"},
    "widget-layout": {"rows": 6},
}


def holidays(dump):
    """(solar, lunar) rows as (date, name) pairs, in list order."""
    solar = row(dump, cell=0, name="Solar Holidays")
    lunar = row(dump, cell=0, name="Lunar Holidays")
    pairs = lambda group: [(r["name"], r.get("value")) for r in rows_after(dump, group)]
    return pairs(solar), pairs(lunar)


def add(date, name):
    return f"focus {NAME}; type {name}; focus {DATE}; type {date}; dismiss"


def holidays_flow(device):
    device.write_plist(DATA_FILE, SEED)
    main_pane = device.run("open Velloria; dump")
    editor = f"open Velloria; tap {row(main_pane, name='Custom Holidays')}"

    # Seeded entries come in file order, not sorted.
    first = device.run(f"{editor}; dump")
    expect_equal(holidays(first), ([("1225", "Xms"), ("0101", "NY")], []), "holidays as seeded")

    # The untouched type choice means solar; then lunar, then solar again.
    added = device.run(f"{editor}; {add('0321', 'Spring')}; choose {TYPE} 1; {add('0815', 'Moon')}; "
                       f"{add('0101', 'Lny')}; choose {TYPE} 0; {add('1001', ' NDay ')}; dump")
    expect_equal(added["alert"], None, "alert after adding")
    solar = [("1225", "Xms"), ("0101", "NY"), ("0321", "Spr"), ("1001", "NDa")]
    lunar = [("0815", "Moo"), ("0101", "Lny")]
    expect_equal(holidays(added), (solar, lunar), "holiday rows after adding")

    data = device.data()
    expect_equal(list(data.get("solar-festivals", {}).items()), solar, "solar-festivals in file order")
    expect_equal(list(data.get("lunar-festivals", {}).items()), lunar, "lunar-festivals in file order")
    expect_equal(data.get("extra-colors"), SEED["extra-colors"], "extra-colors")
    expect_equal(data.get("widget-layout"), SEED["widget-layout"], "a foreign key")

    # A reopened editor lists the file's entries in the file's order: reorder
    # the file behind the editor's back and the rows follow it.
    solar, lunar = solar[::-1], lunar[::-1]
    device.write_plist(DATA_FILE, dict(data, **{"solar-festivals": dict(solar), "lunar-festivals": dict(lunar)}))
    expect_equal(holidays(device.run(f"{editor}; dump")), (solar, lunar), "holiday rows reopened")

    # Delete the lunar 0101; the solar 0101 stays.
    editing = device.run(f"{editor}; right; dump")
    lunar_group = row(editing, cell=0, name="Lunar Holidays")
    target = next(r["index"] for r in rows_after(editing, lunar_group) if r["name"] == "0101")
    deleted = device.run(f"{editor}; right; delete {target}; dump")
    expect_equal(holidays(deleted), (solar, [("0815", "Moo")]), "holiday rows after deleting")
    data = device.data()
    expect_equal(list(data.get("solar-festivals", {}).items()), solar, "solar-festivals after deleting")
    expect_equal(data.get("lunar-festivals"), {"0815": "Moo"}, "lunar-festivals after deleting")
    expect_equal(data.get("extra-colors"), SEED["extra-colors"], "extra-colors after deleting")
    expect_equal(data.get("widget-layout"), SEED["widget-layout"], "a foreign key after deleting")

    # A name cut to three UTF-16 units never keeps half of an emoji.
    device.run(f"{editor}; " + add("0202", r"ab\u{1F600}") + "; dump")
    expect_equal(device.data().get("solar-festivals", {}).get("0202"), "ab", "a name cut before an emoji")


def calendars_flow(device):
    device.write_calendar("home.ics", "Home", "home-id")
    device.write_calendar("work.ics", "Work", "work-id")
    device.write_plist("var/mobile/Library/Preferences/com.quietharbor.velloria.plist", {"keptKey": "kept"})
    main_pane = device.run("open Velloria; dump")
    pane = f"open Velloria; tap {row(main_pane, id='selectcalendar')}"

    shown = device.run(f"{pane}; dump")
    switches = [r for r in shown["rows"] if r["cell"] == 6]
    expect_equal(sorted((r["name"], r["id"]) for r in switches), [("Home", "home-id"), ("Work", "work-id")],
                 "calendar rows")
    check(all(r["value"] is True for r in switches), f"without a stored choice every calendar shows: {switches}")
    check("calendars" not in device.domain(), "opening the pane stored a choice")
    order = [r["id"] for r in switches]
    index = {r["id"]: r["index"] for r in switches}

    device.run(f"{pane}; switch {index['work-id']} off; dump")
    expect_equal(device.domain().get("calendars"), ["home-id"], "calendars after switching Work off")
    device.run(f"{pane}; switch {index['home-id']} off; dump")
    expect_equal(device.domain().get("calendars"), [], "calendars with every switch off")
    hidden = device.run(f"{pane}; dump")
    check(all(hidden["rows"][i]["value"] is False for i in index.values()), "an empty choice reads as all hidden")

    # Switching Work on again, then Home: the stored order is the rows' order.
    device.run(f"{pane}; switch {index['work-id']} on; switch {index['home-id']} on; dump")
    expect_equal(device.domain().get("calendars"), order, "calendars with both on, in row order")
    expect_equal(device.domain().get("keptKey"), "kept", "another key of the domain")
    device.check_no_temporary_files()


if __name__ == "__main__":
    main(lambda device: (holidays_flow(device), calendars_flow(device)))
