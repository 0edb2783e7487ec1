// The preview: the month (or week) the stored settings describe, drawn in
// their colours. It is fetched again after every command while it is on
// screen, and when it comes on screen after a change.
import { el, hexColour } from "./dom.js";
import { language, t } from "./i18n.js";

const pad = (n) => String(n).padStart(2, "0");

function parseDate(text) {
  const [y, m, d] = text.split("-").map(Number);
  return new Date(Date.UTC(y, m - 1, d || 1));
}

function formatDate(date, withDay) {
  const text = `${date.getUTCFullYear()}-${pad(date.getUTCMonth() + 1)}`;
  return withDay ? `${text}-${pad(date.getUTCDate())}` : text;
}

// Black or white, whichever reads better on a colour.
function inkOn(colour) {
  const n = parseInt(colour.slice(1), 16);
  const luma = 0.299 * (n >> 16) + 0.587 * ((n >> 8) & 255) + 0.114 * (n & 255);
  return luma > 150 ? "#000000" : "#FFFFFF";
}

export class Preview {
  constructor(root, fetchPreview) {
    this.root = root;
    this.fetchPreview = fetchPreview;
    this.body = root.querySelector("#preview-body");
    this.heading = root.querySelector("#preview-heading");
    this.date = null;
    this.data = null;
    this.stale = true;
    this.request = 0;
    this.buttons = {
      prev: root.querySelector("#preview-prev"),
      next: root.querySelector("#preview-next"),
      today: root.querySelector("#preview-today"),
    };
    this.buttons.prev.addEventListener("click", () => this.step(-1));
    this.buttons.next.addEventListener("click", () => this.step(1));
    this.buttons.today.addEventListener("click", () => this.go(null));
    this.relabel();
    // A window grown wide shows the preview beside the panes.
    this.wide = matchMedia("(min-width: 900px)");
    this.wide.addEventListener("change", () => {
      if (this.stale && this.visible()) this.load();
    });
  }

  relabel() {
    this.buttons.prev.textContent = "‹";
    this.buttons.next.textContent = "›";
    this.buttons.prev.setAttribute("aria-label", t("previous"));
    this.buttons.next.setAttribute("aria-label", t("next"));
    this.buttons.today.textContent = t("today");
    if (this.data) this.draw(this.data);
  }

  // On screen: beside the panes, or in its tab (asked without making the
  // browser compute styles in the middle of a redraw).
  visible() {
    return this.wide.matches || this.root.closest("[data-tab]").dataset.tab === "preview";
  }

  // The settings may have changed: fetch again now if on screen, else later.
  changed() {
    this.stale = true;
    if (this.visible()) this.load();
  }

  // Shown after being hidden: fetch if anything changed meanwhile.
  shown() {
    if (this.stale && this.visible()) this.load();
  }

  go(date) {
    this.date = date;
    this.load();
  }

  step(direction) {
    if (!this.data || !this.data.days.length) return;
    const days = this.data.days;
    if (this.data.view === "week") {
      const first = parseDate(days[0].date);
      first.setUTCDate(first.getUTCDate() + 7 * direction);
      this.go(formatDate(first, true));
    } else {
      const middle = parseDate(days[Math.floor(days.length / 2)].date);
      middle.setUTCDate(1);
      middle.setUTCMonth(middle.getUTCMonth() + direction);
      this.go(formatDate(middle, false));
    }
  }

  async load() {
    const ticket = ++this.request;
    this.stale = false;
    try {
      const data = await this.fetchPreview(this.date);
      if (ticket !== this.request) return;
      this.data = data;
      this.draw(data);
    } catch {
      if (ticket !== this.request) return;
      this.data = null;
      this.heading.textContent = t("preview");
      this.body.replaceChildren(el("p", "preview-note", t("noPreview")));
    }
  }

  draw(data) {
    const colours = data.colors || {};
    const colour = (key, fallback) => hexColour(colours[key]) || fallback;
    const text = colour("textColor", "#FFFFFF");
    const days = Array.isArray(data.days) ? data.days : [];
    this.heading.textContent = this.title(data.view, days);

    const grid = el("div", "calendar");
    grid.setAttribute("role", "table");
    grid.style.color = text;
    const head = el("div", "calendar-head");
    head.setAttribute("role", "row");
    const names = new Intl.DateTimeFormat(language(), { weekday: "short", timeZone: "UTC" });
    for (let w = 0; w < 7; w++) {
      const name = el("span", "weekday", names.format(new Date(Date.UTC(2023, 0, 1 + w))));
      name.setAttribute("role", "columnheader");
      if (w === 0 || w === 6) name.style.color = colour("weekendColor", text);
      head.appendChild(name);
    }
    grid.appendChild(head);

    const cells = el("div", "calendar-days");
    cells.setAttribute("role", "rowgroup");
    if (days.length && data.view !== "week") {
      for (let i = 0; i < days[0].weekday; i++) cells.appendChild(el("span", "day blank"));
    }
    for (const day of days) cells.appendChild(this.day(day, data.today, colour, text));
    grid.appendChild(cells);

    const parts = [grid];
    const unmatched = Array.isArray(data.unmatched) ? data.unmatched : [];
    if (unmatched.length) {
      const list = el("ul", "unmatched");
      for (const entry of unmatched) list.appendChild(el("li", null, `${t("notShown")} ${entry.date ?? ""} ${entry.name ?? ""}`));
      parts.push(list);
    }
    this.body.replaceChildren(...parts);
  }

  title(view, days) {
    if (!days.length) return t("preview");
    const lang = language();
    if (view === "week") {
      const format = new Intl.DateTimeFormat(lang, { month: "short", day: "numeric", timeZone: "UTC" });
      return `${format.format(parseDate(days[0].date))} – ${format.format(parseDate(days[days.length - 1].date))}`;
    }
    return new Intl.DateTimeFormat(lang, { year: "numeric", month: "long", timeZone: "UTC" }).format(parseDate(days[0].date));
  }

  day(day, today, colour, text) {
    const cell = el("div", "day");
    cell.setAttribute("role", "cell");
    cell.dataset.date = day.date;
    const weekend = day.weekday === 0 || day.weekday === 6;
    const number = el("span", "day-number", Number(day.date.slice(8)));
    if (weekend) number.style.color = colour("weekendColor", text);
    if (day.date === today) {
      const mark = colour("todayColor", "#FF3B30");
      cell.classList.add("today");
      number.style.backgroundColor = mark;
      number.style.color = inkOn(mark);
      cell.setAttribute("aria-current", "date");
    }
    cell.appendChild(number);
    if (day.lunar && day.lunar.text) cell.appendChild(el("span", "lunar", day.lunar.text));
    for (const holiday of day.holidays || []) {
      const name = el("span", "holiday", holiday.name);
      name.style.color = colour(holiday.type === "lunar" ? "lunarHolidayColor" : "solarHolidayColor", text);
      cell.appendChild(name);
    }
    for (const event of day.events || []) {
      const title = el("span", "event", event.title);
      title.style.color = colour("eventColor", text);
      cell.appendChild(title);
    }
    return cell;
  }
}
