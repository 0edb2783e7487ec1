#!/usr/bin/python3
"""The settings page in a real headless Chromium, against a served settings host.

usage: page_test.py URL IMAGE SHOTS

URL is the address the host printed (with its token), IMAGE the device image it
serves (freshly installed, with one calendar in var/mobile/Library/Calendars),
SHOTS a directory for screenshots of the main pane and the custom colours editor
at phone width, light and dark. Rows are found through the API by what they
open, so the checks do not depend on the host's language.
"""
import json
import pathlib
import plistlib
import shutil
import sys
import tempfile
import urllib.parse
import urllib.request

from selenium import webdriver
from selenium.common.exceptions import NoAlertPresentException, StaleElementReferenceException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

URL, IMAGE, SHOTS = sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
TOKEN = urllib.parse.parse_qs(urllib.parse.urlparse(URL).query)["token"][0]
WIDGET_DATA = IMAGE / "System/Library/WeeAppPlugins/Velloria.bundle/velcfg.plist"
PREFERENCES = IMAGE / "var/mobile/Library/Preferences/com.quietharbor.velloria.plist"
CALENDARS = list((IMAGE / "var/mobile/Library/Calendars").glob("*.ics"))


def api_state():
    request = urllib.request.Request(urllib.parse.urljoin(URL, "/api/state"),
                                     headers={"Authorization": "Bearer " + TOKEN})
    with urllib.request.urlopen(request) as response:
        return json.load(response)


def read_plist(path):
    return plistlib.loads(path.read_bytes()) if path.exists() else {}


def calendar_id():
    for line in CALENDARS[0].read_text().splitlines():
        if line.startswith("X-WR-RELCALID:"):
            return line.split(":", 1)[1].strip()
    raise AssertionError("the calendar in the image has no X-WR-RELCALID")


options = webdriver.ChromeOptions()
for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--hide-scrollbars"):  # phones draw no scroll bar beside the page
    options.add_argument(flag)
PROFILE = tempfile.mkdtemp(prefix="page-test-")
options.add_argument("--user-data-dir=" + PROFILE)
options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
# Rows are redrawn when the host's state changes: an element found a moment ago may be gone.
wait = WebDriverWait(driver, 10, ignored_exceptions=[StaleElementReferenceException])


def until(condition, what):
    return wait.until(lambda d: condition(), message=what)


def css(selector):
    return driver.find_element(By.CSS_SELECTOR, selector)


def click(element):
    """Clicks an element after scrolling it clear of the bars fixed at the edges."""
    driver.execute_script("arguments[0].scrollIntoView({block: 'center'})", element)
    element.click()


def row(index):
    return css(f'[data-row="{index}"]')


def title():
    return css('[data-nav="title"]').text


def row_where(**fields):
    state = api_state()
    for r in state["rows"]:
        if all(r.get(k) == v for k, v in fields.items()):
            return r["index"]
    raise AssertionError(f"no row with {fields} in pane {state['title']!r}")


def open_row(**fields):
    """Clicks the row the state names and waits for the pane it opens."""
    before = api_state()["stack"]
    click(row(row_where(**fields)))
    until(lambda: len(api_state()["stack"]) == len(before) + 1, f"a pane opened by {fields}")
    state = api_state()
    until(lambda: title() == state["title"], "the new pane's title in the bar")
    assert css('[data-nav="back"]').text == state["stack"][-2]


def go_back():
    state = api_state()
    click(css('[data-nav="back"]'))
    until(lambda: api_state()["stack"] == state["stack"][:-1] and title() == state["stack"][-2], "the pane before")


def keyboard_up():
    return css("#keyboard").is_displayed()


def fill_form(first, second):
    """Types into the pane's two text rows and leaves the field with Enter."""
    fields = [r["index"] for r in api_state()["rows"] if r["cell"] == 8]
    for index, text in zip(fields, (first, second)):
        field = css(f'[data-row="{index}"] input[type=text]')
        click(field)
        until(keyboard_up, "the keyboard after focusing a field")
        field.send_keys(Keys.CONTROL, "a")
        field.send_keys(text)
    field.send_keys(Keys.ENTER)


def shoot(name):
    for scheme in ("light", "dark"):
        driver.execute_cdp_cmd("Emulation.setEmulatedMedia",
                               {"features": [{"name": "prefers-color-scheme", "value": scheme}]})
        driver.save_screenshot(str(SHOTS / f"{name}-{scheme}.png"))
    driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": []})


try:
    SHOTS.mkdir(parents=True, exist_ok=True)
    assert len(CALENDARS) == 1, "the image needs exactly one calendar"
    driver.set_window_size(375, 812)
    driver.get(URL)
    until(lambda: title() == api_state()["title"], "the settings list")
    click(row(row_where(cell=1, name="Velloria")))
    until(lambda: api_state()["pane"] == "VLRPListController", "the Velloria pane")
    until(lambda: css('[data-nav="back"]').text == api_state()["stack"][0], "a back button named after the list")
    shoot("main")

    # A colour added by typing, its row, its file; a value refused by an alert;
    # a name that looks like markup stays text.
    open_row(detail="VLRPCustomizeColorsController")
    fill_form("Sunset", "ff8800")
    until(lambda: not keyboard_up(), "the keyboard gone after Enter")
    added = until(lambda: driver.find_elements(By.XPATH, '//*[@data-cell="4"][.//*[text()="Sunset"]]'), "the new row")
    assert "FF8800" in added[0].text and added[0].find_elements(By.CSS_SELECTOR, ".swatch")
    assert read_plist(WIDGET_DATA)["extra-colors"] == {"Sunset": "FF8800"}

    fill_form("Bad", "FFFFFFF")
    dialog = until(lambda: driver.find_elements(By.CSS_SELECTOR, '[role="alertdialog"]'), "the alert")[0]
    alert = api_state()["alert"]
    assert alert["title"] in dialog.text and alert["message"] in dialog.text
    buttons = dialog.find_elements(By.TAG_NAME, "button")
    assert len(buttons) == 1 and buttons[0].text == alert["button"]
    click(buttons[0])
    until(lambda: not driver.find_elements(By.CSS_SELECTOR, '[role="alertdialog"]'), "the alert gone")
    assert api_state()["alert"] is None and "Bad" not in read_plist(WIDGET_DATA)["extra-colors"]
    click(css('[data-nav="right"]'))  # the pane's Done leaves the refused form
    until(lambda: not api_state()["keyboard"], "the keyboard gone after Done")

    markup = "<img src=x onerror=alert(1)>"
    fill_form(markup, "123456")
    until(lambda: driver.find_elements(By.XPATH, f'//*[@data-cell="4"]//*[text()="{markup}"]'), "the markup named row")
    assert not driver.find_elements(By.CSS_SELECTOR, "#table img")
    try:
        driver.switch_to.alert
        raise AssertionError("a colour name ran as a script")
    except NoAlertPresentException:
        pass
    assert read_plist(WIDGET_DATA)["extra-colors"][markup] == "123456"
    shoot("custom-colours")
    go_back()

    # A colour chosen in the colour scheme, offered with the colours added.
    open_row(detail="VLRPColorsListController")
    key = api_state()["rows"][1]["key"]
    open_row(key=key)
    sunset = row_where(cell=3, name="Sunset")
    click(row(sunset))
    until(lambda: row(sunset).get_attribute("aria-pressed") == "true", "the chosen colour checked")
    assert read_plist(PREFERENCES)[key] == "FF8800"
    go_back()
    assert "FF8800" in row(row_where(key=key)).text
    go_back()

    # A solar and a lunar holiday; the solar one deleted in editing mode.
    open_row(detail="VLRPCustomizeHolidaysController")
    kind = row_where(cell=9)
    for value, name, date in (("0", "Lab", "0501"), ("1", "Mid", "0815")):
        click(css(f'[data-row="{kind}"] button[data-value="{value}"]'))
        until(lambda: str(api_state()["rows"][kind]["value"]) == value, "the holiday type chosen")
        fill_form(name, date)
        until(lambda: driver.find_elements(By.XPATH, f'//*[@data-cell="4"][.//*[text()="{name}"]]'), "the holiday row")
    data = read_plist(WIDGET_DATA)
    assert data["solar-festivals"] == {"0501": "Lab"} and data["lunar-festivals"] == {"0815": "Mid"}
    click(css('[data-nav="right"]'))
    until(lambda: api_state()["editing"], "editing mode")
    solar = row_where(cell=4, name="0501")
    until(lambda: row(solar).find_elements(By.CSS_SELECTOR, ".delete-control"), "the delete control")
    click(row(solar).find_element(By.CSS_SELECTOR, ".delete-control"))
    until(lambda: row(solar).find_elements(By.CSS_SELECTOR, ".delete-button"), "the Delete button")
    click(row(solar).find_element(By.CSS_SELECTOR, ".delete-button"))
    until(lambda: not driver.find_elements(By.XPATH, '//*[@data-cell="4"][.//*[text()="Lab"]]'), "the row gone")
    data = read_plist(WIDGET_DATA)
    assert data["solar-festivals"] == {} and data["lunar-festivals"] == {"0815": "Mid"}
    click(css('[data-nav="right"]'))
    until(lambda: not api_state()["editing"], "editing mode left")
    go_back()

    # A calendar switch by mouse, then back on from the keyboard alone.
    open_row(detail="VLRPCalendarsController")
    cid = calendar_id()
    switch_row = row_where(cell=6, id=cid)
    switch = css(f'[data-row="{switch_row}"] input[type=checkbox][role=switch]')
    assert switch.is_selected()
    click(switch)
    until(lambda: read_plist(PREFERENCES).get("calendars") == [], "the calendar turned off in the file")
    assert not css(f'[data-row="{switch_row}"] input[role=switch]').is_selected()
    driver.execute_script("document.activeElement.blur(); window.scrollTo(0, 0)")
    for _ in range(20):
        driver.switch_to.active_element.send_keys(Keys.TAB)
        active = driver.switch_to.active_element
        if active.get_attribute("role") == "switch":
            break
    else:
        raise AssertionError("Tab never reached the switch")
    active.send_keys(Keys.SPACE)
    until(lambda: read_plist(PREFERENCES).get("calendars") == [cid], "the calendar turned on in the file")
    assert css(f'[data-row="{switch_row}"] input[role=switch]').is_selected()

    errors = [entry["message"] for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]
    assert not errors, errors
    print("page test passed")
except Exception:
    driver.save_screenshot(str(SHOTS / "failure.png"))
    print("host state:", json.dumps(api_state(), ensure_ascii=False), file=sys.stderr)
    print("browser log:", driver.get_log("browser"), file=sys.stderr)
    raise
finally:
    driver.quit()
    shutil.rmtree(PROFILE, ignore_errors=True)
