// The settings page: a view of the host's current pane. It draws the state the
// host sends and turns what the person does into host commands, one at a time.
import * as api from "./api.js";
import { el } from "./dom.js";
import { setLanguage, language, t } from "./i18n.js";
import { Preview } from "./preview.js";
import { Table } from "./table.js";

const $ = (id) => document.getElementById(id);
const app = $("app");
const nav = {
  back: document.querySelector('[data-nav="back"]'),
  title: document.querySelector('[data-nav="title"]'),
  right: document.querySelector('[data-nav="right"]'),
};
const notices = $("notices");
const keyboard = $("keyboard");
const alertLayer = $("alert-layer");

let state = null;
let openedSeen = null;

// --- Commands -----------------------------------------------------------
// Waiting commands. Each entry builds its command line when its turn comes
// (null: nothing to send), so it sees the latest state; an entry made for a
// view that has changed since (another pane, rows added or gone, an alert) is
// dropped, as the person acted on something no longer there.
const queue = [];
let inFlight = null;

// What a command was aimed at. Typing (focus, fill, dismiss) only needs the
// same rows; the keyboard coming up changes the bar, which must not drop what
// was typed meanwhile.
function viewOf(s, typing) {
  if (!s) return "";
  const rows = [s.stack, s.pane, s.rows.length];
  return JSON.stringify(typing ? rows : [...rows, s.editing, !!s.alert, s.right && s.right.title]);
}

function enqueue(build, key, typing = false) {
  if (key && queue.some((entry) => entry.key === key)) return;
  queue.push({ build: typeof build === "function" ? build : () => build, key, typing, view: viewOf(state, typing) });
  pump();
}

async function pump() {
  if (inFlight) return;
  while (queue.length) {
    const entry = queue.shift();
    if (entry.view !== viewOf(state, entry.typing)) continue;
    const line = entry.build();
    if (line === null) continue;
    inFlight = entry;
    try {
      const result = await api.postCommand(line);
      if (result && result.ok === false) showNotice("error", t("refused"), result.error || line);
      if (result && result.state) apply(result.state, line);
    } catch (error) {
      fail(error);
    }
    inFlight = null;
  }
  if (state) syncFocus();
}

function busy() {
  return inFlight !== null || queue.length > 0;
}

function isTyping(n) {
  const key = "fill " + n;
  return (inFlight && inFlight.key === key) || queue.some((entry) => entry.key === key);
}

function focusedRow(s) {
  return s && s.rows.find((row) => row.cell === 8 && row.focused === true);
}

const table = new Table($("table"), {
  command: (line) => enqueue(line),
  isTyping,
  focusField(n) {
    enqueue(() => (focusedRow(state)?.index === n ? null : `focus ${n}`), null, true);
  },
  fillField(n, input) {
    enqueue(() => {
      const row = state.rows[n];
      if (!row || row.cell !== 8 || row.value === input.value || (row.value == null && input.value === "")) return null;
      return input.value === "" ? "fill" : "fill " + api.escapeTyped(input.value);
    }, "fill " + n, true);
  },
  leaveField() {
    enqueue(() => (!state.alert && focusedRow(state) ? "dismiss" : null), null, true);
  },
});

// --- Drawing --------------------------------------------------------------
// line: the command that led to this state, if any.
function apply(next, line = "") {
  const before = state;
  state = next;
  if (next.lang && next.lang !== language()) {
    setLanguage(next.lang);
    labelPage();
    preview.relabel();
  }
  document.title = next.title || t("settings");
  drawNav(next);
  const newView = table.render(next);
  if (newView && before && !next.alert) {
    const active = document.activeElement;
    if (!active || active === document.body) table.focusQuietly(nav.title);
    window.scrollTo(0, 0);
  }
  keyboard.hidden = !next.keyboard;
  app.classList.toggle("keyboard-up", !!next.keyboard);
  drawOpened(next.opened || []);
  drawAlert(next.alert);
  // Text in a field is nothing stored yet: no new preview while typing.
  if (!line.startsWith("fill")) preview.changed();
}

function drawNav(s) {
  const stack = Array.isArray(s.stack) ? s.stack : [];
  nav.title.textContent = s.title ?? "";
  const previous = stack.length >= 2 ? stack[stack.length - 2] : null;
  nav.back.hidden = previous === null;
  nav.back.replaceChildren(el("span", "back-title", previous ?? ""));
  nav.right.hidden = !s.right;
  nav.right.textContent = s.right ? s.right.title ?? "" : "";
  nav.right.classList.toggle("done", !!s.right && s.right.system === 0);
}

// The page's focus follows the host's: the focused field has the caret, and
// none has it when the host has no focused field. Done only when no command
// is waiting, so that it never undoes what the person just did.
function syncFocus() {
  if (busy() || state.alert) return;
  const row = focusedRow(state);
  const active = document.activeElement;
  if (row) {
    const input = table.rowElement(row.index)?.querySelector("input");
    if (input && active !== input) {
      table.focusQuietly(input);
      input.setSelectionRange(input.value.length, input.value.length);
    }
  } else if (active && active.type === "text" && table.root.contains(active)) {
    table.blurQuietly(active);
  }
}

function drawOpened(opened) {
  // Only URLs opened while this page watches are news.
  if (openedSeen === null) openedSeen = opened.length;
  for (let i = openedSeen; i < opened.length; i++) showNotice("opened", t("opened"), String(opened[i]));
  openedSeen = opened.length;
}

function showNotice(kind, heading, text) {
  const notice = el("div", "notice " + kind);
  notice.setAttribute("role", kind === "error" ? "alert" : "status");
  const body = el("div", "notice-text");
  body.appendChild(el("strong", null, heading));
  body.appendChild(el("span", kind === "opened" ? "url" : null, text));
  const close = el("button", "notice-close");
  close.type = "button";
  close.setAttribute("aria-label", t("close"));
  close.addEventListener("click", () => notice.remove());
  notice.append(body, close);
  notices.prepend(notice);
  while (notices.children.length > 3) notices.lastChild.remove();
}

let alertShown = null;
function drawAlert(alert) {
  const key = alert ? JSON.stringify(alert) : null;
  if (key === alertShown) return;
  alertShown = key;
  alertLayer.replaceChildren();
  alertLayer.hidden = !alert;
  app.inert = !!alert;
  if (!alert) {
    // The answered alert had the focus; the field the host refocuses, if
    // any, takes it next.
    if (document.activeElement === document.body) table.focusQuietly(nav.title);
    return;
  }
  const dialog = el("div", "alert");
  dialog.setAttribute("role", "alertdialog");
  dialog.setAttribute("aria-modal", "true");
  const title = el("h2", "alert-title", alert.title ?? "");
  title.id = "alert-title";
  const message = el("p", "alert-message", alert.message ?? "");
  message.id = "alert-message";
  dialog.setAttribute("aria-labelledby", title.id);
  dialog.setAttribute("aria-describedby", message.id);
  const button = el("button", "alert-button", alert.button ?? "OK");
  button.type = "button";
  button.addEventListener("click", () => enqueue("ok"));
  dialog.append(title, message, button);
  alertLayer.appendChild(dialog);
  table.focusQuietly(button);
}

function fail(error) {
  if (error instanceof api.HttpError && error.status === 401) showNotice("error", t("refused"), t("badToken"));
  else if (error instanceof api.HttpError) showNotice("error", t("refused"), `${error.status} ${error.message}`);
  else showNotice("error", t("refused"), t("offline"));
}

// --- The page's own controls ----------------------------------------------
function labelPage() {
  $("tab-settings").textContent = t("settings");
  $("tab-preview").textContent = t("preview");
  keyboard.querySelector(".keyboard-label").textContent = t("keyboard");
  $("keyboard-done").textContent = t("done");
}

nav.back.addEventListener("click", () => enqueue("back"));
nav.right.addEventListener("click", () => enqueue("right"));
// The pane's own Done acts while the field is still focused, as on a device.
for (const button of [nav.right, $("keyboard-done")]) button.addEventListener("mousedown", (e) => e.preventDefault());
$("keyboard-done").addEventListener("click", () => {
  const active = document.activeElement;
  if (active && active.type === "text" && table.root.contains(active)) active.blur();
  else table.actions.leaveField();
});

function showTab(name) {
  app.dataset.tab = name;
  for (const tab of document.querySelectorAll('[role="tab"]')) {
    const selected = tab.dataset.tab === name;
    tab.setAttribute("aria-selected", selected ? "true" : "false");
    tab.tabIndex = selected ? 0 : -1;
  }
  preview.shown();
}
for (const tab of document.querySelectorAll('[role="tab"]')) {
  tab.addEventListener("click", () => showTab(tab.dataset.tab));
  tab.addEventListener("keydown", (e) => {
    if (e.key !== "ArrowLeft" && e.key !== "ArrowRight") return;
    const other = document.querySelector(`[role="tab"]:not([data-tab="${tab.dataset.tab}"])`);
    showTab(other.dataset.tab);
    other.focus();
  });
}

const preview = new Preview($("preview"), api.getPreview);

labelPage();
showTab("settings");

// Coming back to the page: another host may have changed the files since.
window.addEventListener("focus", async () => {
  if (!state || busy()) return;
  try {
    const next = await api.getState();
    if (!busy()) apply(next);
  } catch (error) {
    fail(error);
  }
});

async function start() {
  if (!api.hasToken()) {
    showNotice("error", t("refused"), t("noToken"));
    return;
  }
  try {
    apply(await api.getState());
    syncFocus();
  } catch (error) {
    fail(error);
  }
}
start();
