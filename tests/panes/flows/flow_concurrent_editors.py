"""Several settings hosts editing the same keys at once: each adds colours and
holidays of both types and deletes some of its own; one also deletes an
entry they all loaded. Afterwards the widget data file holds every entry
that no host deleted, and none that one did."""

import json
import os
import subprocess

from hostflow import DATA_FILE, FlowFailure, check, expect_equal, main, row, rows_after

HOSTS = 4
ADDS = 15  # per host and key; every third is deleted again by its host
TYPE, NAME, DATE = 1, 3, 4  # the holidays editor's form rows
KEYS = ("extra-colors", "solar-festivals", "lunar-festivals")

SEED = {
    "extra-colors": {"Seed": "111111", "Gone": "222222"},
    "solar-festivals": {"0101": "NY", "0202": "Old"},
    "lunar-festivals": {"0815": "Moo"},
    "widget-layout": {"rows": 6},
}
DELETED_SEED = {"extra-colors": "Gone", "solar-festivals": "0202"}  # by host 0


class Host:
    """A settings host reading commands from a pipe; each `dump` is answered
    before the next command is sent."""

    def __init__(self, device):
        self.process = subprocess.Popen([device.host, "--root", device.image], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                        env=dict(os.environ, LANGUAGE="en"))

    def send(self, commands):
        self.process.stdin.write(("\n".join(commands + ["dump"]) + "\n").encode())
        self.process.stdin.flush()

    def answer(self):
        for line in self.process.stdout:
            if line.startswith(b"{"):
                return json.loads(line)
        self.process.wait(timeout=60)
        raise FlowFailure(f"a settings host stopped ({self.process.returncode}): "
                          f"{self.process.stderr.read().decode(errors='replace')[:600]}")


def edits(dump, groups, p, add):
    """Commands adding ADDS entries to each group and then deleting, in
    editing mode, every third of them (and the deleted seed entries, for host
    0); the entries added and deleted per key. The editor's rows are those it
    loaded (`dump`), its own additions appended to their groups."""
    commands, added, deleted = [], {}, {}
    for key, _ in groups:
        commands += add(key, added.setdefault(key, {}))
    first_header = row(dump, cell=0, name=groups[0][1])
    shown = [[r["name"] for r in rows_after(dump, row(dump, cell=0, name=title))] + list(added[key])
             for key, title in groups]
    commands.append("right")
    for g, (key, _) in enumerate(groups):
        deleted[key] = list(added[key])[::3] + ([DELETED_SEED[key]] if p == 0 and key in DELETED_SEED else [])
        for name in deleted[key]:
            first = first_header + 1 + sum(len(rows) + 1 for rows in shown[:g])
            commands.append(f"delete {first + shown[g].index(name)}")
            shown[g].remove(name)
    commands.append("right")
    return commands, added, deleted


def flow(device):
    device.write_plist(DATA_FILE, SEED)
    main_pane = device.run("open Velloria; dump")
    links = {name: row(main_pane, name=name) for name in ("Custom Colours", "Custom Holidays")}
    hosts = [Host(device) for _ in range(HOSTS)]
    added = {key: {} for key in KEYS}
    deleted = {key: [] for key in KEYS}

    def add_colours(p):
        def add(key, into):
            commands = []
            for j in range(ADDS):
                name, value = f"p{p}c{j}", f"{p}{j:05d}"
                commands += ["focus 1", f"type {name}", "focus 2", f"type {value}", "dismiss"]
                into[name] = value
            return commands
        return add

    def add_holidays(p):
        def add(key, into):
            kind = 0 if key == "solar-festivals" else 1
            commands = [f"choose {TYPE} {kind}"]
            for j in range(ADDS):
                date, name = f"{5 + kind}{p}{j:02d}", f"N{p}"
                commands += [f"focus {NAME}", f"type {name}", f"focus {DATE}", f"type {date}", "dismiss"]
                into[date] = name
            return commands
        return add

    # Each phase: every host opens the editor (its rows are known from its
    # answer), then all of them add and delete at once.
    phases = [(links["Custom Colours"], [("extra-colors", "Added Colours")], add_colours),
              (links["Custom Holidays"], [("solar-festivals", "Solar Holidays"),
                                          ("lunar-festivals", "Lunar Holidays")], add_holidays)]
    for link, groups, adder in phases:
        for host in hosts:
            host.send(["open Velloria", f"tap {link}"])
        loaded = [host.answer() for host in hosts]
        for p, host in enumerate(hosts):
            commands, adds, deletes = edits(loaded[p], groups, p, adder(p))
            host.send(commands)
            for key in adds:
                added[key].update(adds[key])
                deleted[key] += deletes[key]
        for host in hosts:
            check(host.answer()["alert"] is None, "an alert after the edits")
    for host in hosts:
        host.process.stdin.close()
        check(host.process.wait(timeout=60) == 0, "a settings host failed at the end")

    data = device.data()
    expected = {key: {k: v for k, v in {**SEED[key], **added[key]}.items() if k not in deleted[key]} for key in KEYS}
    kept = sum(data.get(key, {}).get(k) == v for key in KEYS for k, v in expected[key].items())
    print(f"{HOSTS} hosts at once added {sum(map(len, added.values()))} entries and deleted "
          f"{sum(map(len, deleted.values()))}: {kept} of the {sum(map(len, expected.values()))} entries "
          f"no host deleted are in the file")
    for key in KEYS:
        expect_equal(data.get(key), expected[key], f"{key} after {HOSTS} hosts edited it at once")
    expect_equal(data.get("widget-layout"), SEED["widget-layout"], "a foreign key")
    device.check_no_temporary_files()


if __name__ == "__main__":
    main(flow)
