// The grouped table: draws the rows of the host's state and turns clicks and
// keys on them into host commands. It keeps the row elements of the pane on
// screen and redraws only rows whose data changed, so a text field keeps its
// focus and caret while the host echoes what was typed.
import { el, hexColour, swatch, valueText } from "./dom.js";
import { t } from "./i18n.js";

const GROUP = 0, LINK = 1, LINK_LIST = 2, LIST_ITEM = 3, TITLE_VALUE = 4, SWITCH = 6, TEXT = 8, SEGMENT = 9,
  BUTTON = 13;
const TAPPABLE = new Set([LINK, LINK_LIST, LIST_ITEM, BUTTON]);
const CHUNK = 100;

// Makes box hold nodes, in order, moving only what is out of place.
function placeIn(box, nodes) {
  const keep = new Set(nodes);
  for (let child = box.firstChild; child;) {
    const next = child.nextSibling;
    if (!keep.has(child)) child.remove();
    child = next;
  }
  let cursor = box.firstChild;
  for (const node of nodes) {
    if (node === cursor) cursor = cursor.nextSibling;
    else box.insertBefore(node, cursor);
  }
}

// actions: command(text) queues a host command; focusField(n), fillField(n)
// and leaveField(n, input) report what happens in text row n; isTyping(n)
// tells whether what was typed in row n is still on its way to the host.
export class Table {
  constructor(root, actions) {
    this.root = root;
    this.actions = actions;
    this.nodes = new Map();
    this.viewKey = null;
    this.state = null;
    this.pendingDelete = null;
    // The values of link-list rows by row name, for the items of the list
    // pane the row opens (named like the row).
    this.listValues = new Map();
    // Set while the page moves the focus itself, so that no command follows.
    this.syncing = false;
    root.addEventListener("click", (e) => this.onClick(e));
    root.addEventListener("keydown", (e) => this.onKeyDown(e));
    root.addEventListener("change", (e) => this.onChange(e));
    root.addEventListener("focusin", (e) => this.onFocusIn(e));
    root.addEventListener("focusout", (e) => this.onFocusOut(e));
    root.addEventListener("input", (e) => this.onInput(e));
    root.addEventListener("mousedown", (e) => {
      // Choosing a segment does not take the focus from a field.
      if (e.target.closest("button[data-value]")) e.preventDefault();
    });
  }

  // Draws a state. Returns true when it shows another pane than before.
  render(state) {
    const key = JSON.stringify([state.stack || [], state.pane]);
    const newView = key !== this.viewKey;
    if (newView) {
      this.viewKey = key;
      this.pendingDelete = null;
      this.nodes = new Map();
    }
    this.state = state;
    const active = document.activeElement;
    const activeRow = active && this.root.contains(active) ? active.closest("[data-row]") : null;

    for (const row of state.rows) if (row.cell === LINK_LIST && Array.isArray(row.values)) this.listValues.set(row.name, row);
    const list = state.pane === "PSListItemsController" ? this.listValues.get(state.title) : null;

    const rows = state.rows;
    const order = [];
    const nodes = new Map();
    let group = null;
    for (let i = 0; i < rows.length; i++) {
      const row = rows[i];
      if (row.cell === GROUP) group = row;
      const next = rows[i + 1];
      const place = row.cell === GROUP ? "" :
        (i === 0 || rows[i - 1].cell === GROUP ? " first" : "") + (!next || next.cell === GROUP ? " last" : "");
      const extra = this.extra(row, list);
      const sig = JSON.stringify(row) + place + (extra ?? "") +
        (state.editing && row.cell === TITLE_VALUE ? (this.pendingDelete === row.index ? "D" : "E") : "") +
        (state.pane === null ? "root" : "");
      const rowKey = "r" + i;
      let node = this.nodes.get(rowKey);
      if (!node || (node._sig !== sig && !(node._row.cell === TEXT && row.cell === TEXT && node._row.name === row.name))) {
        node = this.build(row, place, extra, state);
      } else if (node._row.cell === TEXT) {
        this.updateText(node, row, place);
      }
      if (row.cell === SWITCH) node.querySelector("input").checked = row.value === true;
      node._sig = sig;
      node._row = row;
      nodes.set(rowKey, node);
      order.push(node);
      if (group && group.footer != null && (!next || next.cell === GROUP)) {
        const footerKey = "f" + i;
        let footer = this.nodes.get(footerKey);
        if (!footer || footer._sig !== group.footer) {
          footer = el("div", "group-footer", valueText(group.footer));
          footer._sig = group.footer;
        }
        nodes.set(footerKey, footer);
        order.push(footer);
      }
    }
    this.nodes = nodes;
    this.place(order, newView);
    if (activeRow && !activeRow.isConnected) this.restoreFocus(active, activeRow);
    return newView;
  }

  // Puts the elements in order, in blocks of CHUNK that the browser lays out
  // and paints only near the screen. An element that keeps its place in its
  // block is not moved (moving it would take its focus away).
  place(order, fresh) {
    const count = Math.ceil(order.length / CHUNK);
    const slice = (j) => order.slice(j * CHUNK, (j + 1) * CHUNK);
    if (fresh) {
      const chunks = [];
      for (let j = 0; j < count; j++) chunks.push(this.chunk(slice(j)));
      this.root.replaceChildren(...chunks);
      return;
    }
    while (this.root.children.length > count) this.root.lastChild.remove();
    while (this.root.children.length < count) this.root.appendChild(this.chunk([]));
    for (let j = 0; j < count; j++) placeIn(this.root.children[j], slice(j));
  }

  chunk(nodes) {
    const chunk = el("div", "chunk");
    // Until it is first drawn, a block is as tall as its rows would be.
    chunk.style.containIntrinsicSize = `auto ${nodes.length * 44}px`;
    chunk.append(...nodes);
    return chunk;
  }

  // Focuses in the redrawn row the control that had the focus in the old one.
  restoreFocus(active, oldRow) {
    const row = this.rowElement(Number(oldRow.dataset.row));
    if (!row) return;
    let target = row;
    if (active.dataset.value !== undefined) target = row.querySelector(`button[data-value="${CSS.escape(active.dataset.value)}"]`);
    else if (active.tagName === "INPUT") target = row.querySelector("input");
    else if (active.classList.contains("delete-control")) target = row.querySelector(".delete-control");
    else if (active.classList.contains("delete-button")) target = row.querySelector(".delete-button") || row.querySelector(".delete-control");
    this.focusQuietly(target || row);
  }

  focusQuietly(node) {
    if (!node || typeof node.focus !== "function") return;
    this.syncing = true;
    try {
      node.focus({ preventScroll: false });
    } finally {
      this.syncing = false;
    }
  }

  blurQuietly(node) {
    this.syncing = true;
    try {
      node.blur();
    } finally {
      this.syncing = false;
    }
  }

  rowElement(index) {
    return this.nodes.get("r" + index) || null;
  }

  // Text that a row shows from outside its own data: the value of a list item.
  extra(row, list) {
    if (row.cell !== LIST_ITEM) return null;
    if (row.item !== undefined) return valueText(row.item);
    if (!list || !Array.isArray(list.titles)) return null;
    const at = list.titles.indexOf(row.name);
    return at >= 0 && at < list.values.length ? valueText(list.values[at]) : null;
  }

  build(row, place, extra, state) {
    const node = el("div", "row" + place);
    if (row.cell === GROUP) node.className = "group-header" + (row.name ? "" : " blank");
    node.dataset.row = row.index;
    node.dataset.cell = row.cell;
    node._row = row;
    const enabled = row.enabled !== false;
    if (!enabled) {
      node.classList.add("disabled");
      node.setAttribute("aria-disabled", "true");
    }
    const label = () => el("span", "label", row.name ?? "");
    switch (row.cell) {
      case GROUP:
        if (row.name) {
          node.textContent = row.name;
          node.setAttribute("role", "heading");
          node.setAttribute("aria-level", "2");
        }
        break;
      case LINK:
      case LINK_LIST: {
        this.makeButton(node, enabled);
        if (state.pane === null) node.appendChild(el("span", "entry-icon", (row.name || "?").slice(0, 1)));
        node.appendChild(label());
        if (row.value !== undefined) node.appendChild(this.choiceDetail(row));
        node.appendChild(el("span", "chevron"));
        node.lastChild.setAttribute("aria-hidden", "true");
        break;
      }
      case LIST_ITEM: {
        this.makeButton(node, enabled);
        node.setAttribute("aria-pressed", row.value === true ? "true" : "false");
        node.appendChild(label());
        if (extra !== null && hexColour(extra)) node.appendChild(this.colourDetail(extra));
        node.appendChild(el("span", "check" + (row.value === true ? " on" : "")));
        node.lastChild.setAttribute("aria-hidden", "true");
        break;
      }
      case TITLE_VALUE: {
        if (state.editing) {
          const control = el("button", "delete-control");
          control.type = "button";
          control.setAttribute("aria-label", t("deleteRow", row.name ?? ""));
          control.setAttribute("aria-expanded", this.pendingDelete === row.index ? "true" : "false");
          node.appendChild(control);
          node.classList.add("editing");
        }
        node.appendChild(label());
        node.appendChild(hexColour(row.value) ? this.colourDetail(row.value) : el("span", "detail", valueText(row.value)));
        if (state.editing && this.pendingDelete === row.index) {
          const button = el("button", "delete-button", t("delete"));
          button.type = "button";
          node.appendChild(button);
        }
        break;
      }
      case SWITCH: {
        node.appendChild(label());
        const input = document.createElement("input");
        input.type = "checkbox";
        input.setAttribute("role", "switch");
        input.setAttribute("aria-label", row.name ?? "");
        input.checked = row.value === true;
        input.disabled = !enabled;
        node.appendChild(input);
        break;
      }
      case TEXT: {
        node.classList.add("text-row");
        const input = document.createElement("input");
        input.type = "text";
        input.autocomplete = "off";
        input.spellcheck = false;
        input.setAttribute("autocapitalize", "off");
        node.appendChild(input);
        node.appendChild(el("span", "swatch-slot"));
        this.updateText(node, row, place);
        break;
      }
      case SEGMENT: {
        node.classList.add("segment-row");
        node.appendChild(label());
        node.appendChild(this.segments(row, enabled));
        break;
      }
      case BUTTON:
        this.makeButton(node, enabled);
        node.classList.add("button-row");
        node.appendChild(label());
        break;
      default:
        node.appendChild(label());
        if (row.value !== undefined) node.appendChild(el("span", "detail", valueText(row.value)));
    }
    return node;
  }

  makeButton(node, enabled) {
    node.setAttribute("role", "button");
    if (enabled) node.tabIndex = 0;
  }

  // The value of a link-list row: its title, with a swatch and the hex text
  // when it is a colour.
  choiceDetail(row) {
    let title = null;
    if (Array.isArray(row.values) && Array.isArray(row.titles)) {
      const at = row.values.findIndex((v) => v === row.value);
      if (at >= 0 && row.titles[at] !== undefined && row.titles[at] !== row.value) title = valueText(row.titles[at]);
    }
    if (!hexColour(row.value)) return el("span", "detail", title ?? valueText(row.value));
    const detail = this.colourDetail(row.value);
    if (title !== null) detail.insertBefore(el("span", "colour-title", title), detail.firstChild);
    return detail;
  }

  colourDetail(value) {
    const detail = el("span", "detail colour");
    detail.appendChild(swatch(value));
    detail.appendChild(el("span", "hex", value));
    return detail;
  }

  segments(row, enabled) {
    const values = Array.isArray(row.values) ? row.values : null;
    if (!values) return el("span", "detail", valueText(row.value));
    const box = el("div", "segmented");
    box.setAttribute("role", "group");
    box.setAttribute("aria-label", row.name ?? "");
    values.forEach((value, i) => {
      const title = Array.isArray(row.titles) && row.titles[i] !== undefined ? row.titles[i] : value;
      const button = el("button", "segment", valueText(title));
      button.type = "button";
      button.dataset.value = valueText(value);
      button.setAttribute("aria-pressed", value === row.value ? "true" : "false");
      button.disabled = !enabled;
      box.appendChild(button);
    });
    return box;
  }

  updateText(node, row, place) {
    const input = node.querySelector("input");
    node.className = "row text-row" + place + (row.focused ? " focused" : "") + (row.enabled === false ? " disabled" : "");
    node.dataset.row = row.index;
    input.placeholder = row.name ?? "";
    input.setAttribute("aria-label", row.name ?? "");
    input.disabled = row.enabled === false;
    const text = typeof row.value === "string" ? row.value : "";
    // What the person typed and the host has not seen yet wins over an
    // older echo.
    if (!this.actions.isTyping(row.index) && input.value !== text) input.value = text;
    this.showFieldColour(node);
  }

  showFieldColour(node) {
    const slot = node.querySelector(".swatch-slot");
    const colour = swatch(node.querySelector("input").value.trim());
    slot.replaceChildren(...(colour ? [colour] : []));
  }

  rowOf(target) {
    const node = target.closest("[data-row]");
    if (!node || !this.root.contains(node) || !node._row) return null;
    return node._row.enabled === false ? null : node;
  }

  onClick(e) {
    const node = this.rowOf(e.target);
    if (!node) return;
    const row = node._row;
    const n = row.index;
    if (e.target.closest(".delete-control")) {
      this.pendingDelete = this.pendingDelete === n ? null : n;
      this.render(this.state);
      const control = this.rowElement(n)?.querySelector(this.pendingDelete === n ? ".delete-button" : ".delete-control");
      if (control) control.focus();
    } else if (e.target.closest(".delete-button")) {
      this.actions.command(`delete ${n}`);
    } else if (e.target.closest("button[data-value]")) {
      const button = e.target.closest("button[data-value]");
      if (button.getAttribute("aria-pressed") !== "true") this.actions.command(`choose ${n} ${button.dataset.value}`);
    } else if (TAPPABLE.has(row.cell)) {
      this.actions.command(`tap ${n}`);
    }
  }

  onKeyDown(e) {
    const target = e.target;
    if (target.tagName === "INPUT" && target.type === "text") {
      if (e.key === "Enter" || e.key === "Escape") {
        e.preventDefault();
        target.blur();
      }
      return;
    }
    if (e.key === "Escape" && this.pendingDelete !== null) {
      const n = this.pendingDelete;
      this.pendingDelete = null;
      this.render(this.state);
      this.rowElement(n)?.querySelector(".delete-control")?.focus();
      return;
    }
    if (e.key !== "Enter" && e.key !== " ") return;
    if (target.tagName === "INPUT" && target.type === "checkbox") {
      // Space flips a checkbox by itself; Enter does too here.
      if (e.key === "Enter") {
        e.preventDefault();
        target.click();
      }
      return;
    }
    if (target.getAttribute("role") === "button" && target.tagName !== "BUTTON") {
      e.preventDefault();
      target.click();
    }
  }

  onChange(e) {
    const input = e.target;
    if (input.type !== "checkbox") return;
    const node = this.rowOf(input);
    if (!node) return;
    this.actions.command(`switch ${node._row.index} ${input.checked ? "on" : "off"}`);
  }

  onFocusIn(e) {
    if (this.syncing || e.target.type !== "text") return;
    const node = this.rowOf(e.target);
    if (node) this.actions.focusField(node._row.index);
  }

  onInput(e) {
    if (e.target.type !== "text") return;
    const node = this.rowOf(e.target);
    if (!node) return;
    this.showFieldColour(node);
    this.actions.fillField(node._row.index, e.target);
  }

  onFocusOut(e) {
    if (this.syncing || e.target.type !== "text") return;
    const next = e.relatedTarget;
    // Moving to another field moves the host's focus (focusin sends it).
    if (next && next.type === "text" && this.root.contains(next)) return;
    const input = e.target;
    // A window that loses the focus keeps its focused element: not a leave.
    setTimeout(() => {
      if (document.activeElement === input) return;
      const active = document.activeElement;
      if (active && active.type === "text" && this.root.contains(active)) return;
      this.actions.leaveField();
    }, 0);
  }
}
