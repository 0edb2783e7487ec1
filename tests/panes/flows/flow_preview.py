"""The preview against facts that do not come from the code: the Chinese New
Year of 2027 and the mid-autumn festival of 2026 (lunar 8-15) as published,
custom holidays by their MMDD dates, colours read as the exported getter
reads them, the chosen calendars' events (a weekly rule expanded), the
week view, lunar dates switched off, and a date no calendar has."""

import json

from hostflow import CALENDARS, DATA_FILE, DOMAIN_FILE, check, expect_equal, main

CALENDAR = (
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nX-WR-CALNAME:{title}\r\nX-WR-RELCALID:{id}\r\n"
    "BEGIN:VEVENT\r\nUID:{id}-1\r\nDTSTART:20260901T090000\r\nDURATION:PT1H\r\n"
    "RRULE:FREQ=WEEKLY;COUNT=3\r\nSUMMARY:{summary}\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"
)


def preview(device, date, today="2026-09-10"):
    done = device.host_args("--today", today, "-c", f"preview --json {date}")
    check(done.returncode == 0, f"preview {date} failed: {done.stderr.decode(errors='replace')}")
    return json.loads(done.stdout.decode().strip().splitlines()[-1])


def day(shown, date):
    found = [d for d in shown["days"] if d["date"] == date]
    check(len(found) == 1, f"{date} is not shown once: {[d['date'] for d in shown['days']]}")
    return found[0]


def preview_flow(device):
    device.write_plist(DATA_FILE, {
        "solar-festivals": {"0501": "Lab", "1332": "Bad"},
        "lunar-festivals": {"0815": "Moon", "0101": "NY"},
    })
    device.write_plist(DOMAIN_FILE, {"todayColor": "#FF8800", "eventColor": "123456789", "calendars": ["home"]})
    for title, identifier, summary in (("Home", "home", "Swim"), ("Work", "work", "Sync")):
        with open(device.path(f"{CALENDARS}/{identifier}.ics"), "w") as f:
            f.write(CALENDAR.format(title=title, id=identifier, summary=summary))

    september = preview(device, "2026-09")
    expect_equal(september["view"], "month", "the view by default")
    expect_equal(september["today"], "2026-09-10", "today as --today fixes it")
    expect_equal(len(september["days"]), 30, "the days of September")
    expect_equal(day(september, "2026-09-25")["lunar"], {"month": 8, "day": 15, "leap": False, "text": "十五"},
                 "the mid-autumn festival's lunar date")
    expect_equal(day(september, "2026-09-25")["holidays"], [{"name": "Moon", "type": "lunar"}], "a lunar holiday")
    expect_equal(day(september, "2026-09-11")["lunar"]["text"], "八月", "a month's first day shows its name")
    expect_equal(day(september, "2026-09-01")["weekday"], 2, "2026-09-01 is a Tuesday")
    expect_equal(september["colors"]["todayColor"], "FF8800", "a colour with a number sign")
    expect_equal(september["colors"]["eventColor"], "66FF00", "nine bytes: the item's default")
    expect_equal(september["colors"]["textColor"], "FFFFFF", "an unset colour: the item's default")
    swims = [d["date"] for d in september["days"] if d["events"]]
    expect_equal(swims, ["2026-09-01", "2026-09-08", "2026-09-15"], "the weekly event of the chosen calendar")
    expect_equal(day(september, "2026-09-08")["events"], [{"title": "Swim", "calendar": "home"}], "only Home")
    expect_equal(september["unmatched"], [{"date": "1332", "name": "Bad", "type": "solar"}], "the bad date")

    may = preview(device, "2026-05")
    expect_equal(day(may, "2026-05-01")["holidays"], [{"name": "Lab", "type": "solar"}], "a solar holiday")

    new_year = day(preview(device, "2027-02"), "2027-02-06")
    expect_equal((new_year["lunar"]["month"], new_year["lunar"]["day"], new_year["lunar"]["text"]),
                 (1, 1, "正月"), "the Chinese New Year of 2027")
    expect_equal(new_year["holidays"], [{"name": "NY", "type": "lunar"}], "a lunar holiday on New Year")

    device.write_plist(DOMAIN_FILE, {"viewType": 1, "showLunar": False})
    week = preview(device, "2026-09-25")
    expect_equal([d["date"] for d in week["days"]],
                 [f"2026-09-{n}" for n in range(20, 27)], "the week holding the day, Sunday first")
    expect_equal(week["view"], "week", "the stored view type")
    check(all(d["lunar"] is None for d in week["days"]), "lunar dates are off")
    expect_equal(day(week, "2026-09-25")["holidays"], [{"name": "Moon", "type": "lunar"}],
                 "lunar holidays stay when lunar dates are off")
    expect_equal(sum(len(d["events"]) for d in week["days"]), 0, "the weekly events ended (COUNT=3)")


if __name__ == "__main__":
    main(preview_flow)
