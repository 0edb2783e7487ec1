#!/usr/bin/python3
"""The settings page with 10,000 custom holidays in velcfg.plist, in headless
Chromium: from the click on the Custom Holidays row to the editor's rows drawn
(the last row in the page and two frames painted), at phone and desktop width.
The baseline in the same run is the host's own part: GET /api/state with the
editor open. Target: at most 300 ms.

usage: /usr/bin/python3 bench/host/page_holidays_bench.py BUILD_DIR [RUNS]
(BUILD_DIR a built tree; it is installed into a temporary device image.)
"""
import http.client
import os
import plistlib
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "host",
                                "settings", "web"))
from served import ServedHost  # noqa: E402
from selenium import webdriver  # noqa: E402
from selenium.webdriver.chrome.service import Service  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.support.ui import WebDriverWait  # noqa: E402

DATA_FILE = "System/Library/WeeAppPlugins/Velloria.bundle/velcfg.plist"

# Clicks the row and resolves with the milliseconds until the row `last`
# exists and two frames have been painted after it.
TIME_OPENING = """
const [row, last, done] = arguments;
const start = performance.now();
document.querySelector(`[data-row="${row}"]`).click();
function drawn() {
  if (document.querySelector(`#table [data-row="${last}"]`))
    requestAnimationFrame(() => requestAnimationFrame(() => done(performance.now() - start)));
  else
    requestAnimationFrame(drawn);
}
requestAnimationFrame(drawn);
"""


def image_with_holidays(build, image):
    subprocess.run(["cmake", "--install", build, "--prefix", image], check=True, stdout=subprocess.DEVNULL)
    solar, lunar = {}, {}
    for i in range(5000):
        date = f"{i % 12 + 1:02d}{i // 12 % 28 + 1:02d}"
        solar[f"{date}{i}"] = f"Solar holiday {i}"
        lunar[f"{date}{i}"] = f"Lunar holiday {i}"
    os.makedirs(os.path.dirname(os.path.join(image, DATA_FILE)), exist_ok=True)
    with open(os.path.join(image, DATA_FILE), "wb") as f:
        plistlib.dump({"solar-festivals": solar, "lunar-festivals": lunar}, f)


def state_times(host, runs):
    connection = http.client.HTTPConnection("127.0.0.1", host.port)
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        connection.request("GET", "/api/state", headers={"Authorization": "Bearer " + host.token})
        connection.getresponse().read()
        times.append((time.perf_counter() - start) * 1000)
    connection.close()
    return times


def main():
    build = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    work = tempfile.mkdtemp(prefix="holidays-bench-")
    image = os.path.join(work, "image")
    image_with_holidays(build, image)
    host = ServedHost(image).start("--open", "Velloria")
    options = webdriver.ChromeOptions()
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--hide-scrollbars",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync"):
        options.add_argument(flag)
    options.add_argument("--user-data-dir=" + os.path.join(work, "chromium"))
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.set_script_timeout(60)
    wait = WebDriverWait(driver, 30)
    try:
        main_pane = host.state()
        holidays = next(r["index"] for r in main_pane["rows"] if r.get("detail") == "VLRPCustomizeHolidaysController")
        rows = len(host.command(f"tap {holidays}")["state"]["rows"])
        baseline = state_times(host, runs)
        host.command("back")
        print(f"load average before: {' '.join(f'{x:.2f}' for x in os.getloadavg())}")
        for width, height in ((375, 812), (1280, 900)):
            driver.set_window_size(width, height)
            driver.get(host.url)
            wait.until(lambda d: d.find_element(By.CSS_SELECTOR, '[data-nav="title"]').text == main_pane["title"])
            times = []
            for _ in range(runs + 1):
                times.append(driver.execute_async_script(TIME_OPENING, holidays, rows - 1))
                driver.find_element(By.CSS_SELECTOR, '[data-nav="back"]').click()
                wait.until(lambda d: d.find_elements(By.CSS_SELECTOR, f'#table [data-row="{holidays}"]')
                           and not d.find_elements(By.CSS_SELECTOR, f'#table [data-row="{rows - 1}"]'))
            times = times[1:]  # the first opening warms the page up
            print(f"{width} px: opening the editor of {rows} rows: median {statistics.median(times):.0f} ms, "
                  f"min {min(times):.0f}, max {max(times):.0f} ({runs} runs)")
        median = statistics.median(baseline)
        print(f"baseline, GET /api/state of that editor: median {median:.1f} ms, min {min(baseline):.1f}, "
              f"max {max(baseline):.1f}")
        print(f"load average after: {' '.join(f'{x:.2f}' for x in os.getloadavg())}")
    finally:
        driver.quit()
        host.stop()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
