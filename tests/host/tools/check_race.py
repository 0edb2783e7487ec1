"""defaults writes racing the settings host's writes to the same domain:
two defaults loops write keys of their own while the host keeps changing
its own keys. At the end every key of both is in the file, with the value
last written: neither side lost the other's writes."""

import json
import os
import subprocess
import threading

from toolimage import check, expect_equal, main, typed

DOMAIN = "com.quietharbor.velloria"
KEYS = 40


def row_with_key(image, key):
    env = dict(os.environ, LANGUAGE="en")
    done = subprocess.run([image.path("bin/settings-host"), "--root", image.root, "-c", "open Velloria; dump"],
                          capture_output=True, env=env, timeout=120, check=True)
    rows = json.loads(done.stdout.decode().splitlines()[-1])["rows"]
    return next(r["index"] for r in rows if r.get("key") == key)


def check_race(image):
    view, lunar = row_with_key(image, "viewType"), row_with_key(image, "showLunar")
    # Each host run changes both keys several times; it ends on the week view
    # with lunar dates shown.
    commands = f"open Velloria; switch {lunar} off; choose {view} Week; switch {lunar} on; choose {view} Month; " \
               f"switch {lunar} off; switch {lunar} on; choose {view} Week"
    writing = threading.Event()
    writing.set()
    host_runs_while_writing = []
    failures = []

    def host_loop():
        runs = 0
        while writing.is_set():
            done = subprocess.run([image.path("bin/settings-host"), "--root", image.root, "-c", commands],
                                  capture_output=True, timeout=120)
            if done.returncode != 0:
                failures.append(f"settings-host: {done.stderr!r}")
                return
            runs += 1
        host_runs_while_writing.append(runs)

    def defaults_loop(first):
        try:
            for i in range(first, KEYS, 2):
                image.defaults("write", DOMAIN, f"script{i}", "-int", str(i), check_status=0)
        except Exception as error:  # reported after the threads end
            failures.append(str(error))

    host = threading.Thread(target=host_loop)
    writers = [threading.Thread(target=defaults_loop, args=(first,)) for first in (0, 1)]
    host.start()
    for writer in writers:
        writer.start()
    for writer in writers:
        writer.join()
    writing.clear()
    host.join()
    check(not failures, "; ".join(failures))
    check(host_runs_while_writing and host_runs_while_writing[0] >= 2,
          f"the settings host ran {host_runs_while_writing} times while defaults wrote: no race took place")

    expected = {f"script{i}": i for i in range(KEYS)}
    expected.update(viewType=1, showLunar=True)
    stored = image.domain(DOMAIN)
    expect_equal(typed({k: stored.get(k) for k in expected}), typed(expected), "the keys after the race")
    # And the next reader of the domain sees them: defaults itself.
    expect_equal(image.defaults("read", DOMAIN, f"script{KEYS - 1}", check_status=0).stdout, f"{KEYS - 1}\n".encode(),
                 "defaults read after the race")


if __name__ == "__main__":
    main(check_race)
