// Small DOM helpers. Text always goes in through textContent: names and values
// come from files on the device and are never markup.

// An element with a class (optional) and text (optional).
export function el(tag, className, text) {
  const node = document.createElement(tag);
  if (className) node.className = className;
  if (text !== undefined && text !== null) node.textContent = String(text);
  return node;
}

// "#RRGGBB" for a hex colour string of six or eight digits ("#" allowed; of
// eight, the last six are the colour, as the host reads them), else null.
export function hexColour(value) {
  if (typeof value !== "string") return null;
  const digits = value.startsWith("#") ? value.slice(1) : value;
  if (!/^(?:[0-9a-f]{6}|[0-9a-f]{8})$/i.test(digits)) return null;
  return "#" + digits.slice(-6).toUpperCase();
}

// A colour swatch, or null when the value is no colour.
export function swatch(value) {
  const colour = hexColour(value);
  if (!colour) return null;
  const node = el("span", "swatch");
  node.style.backgroundColor = colour;
  node.setAttribute("aria-hidden", "true");
  return node;
}

// A value as text: strings as they are, other values in JSON.
export function valueText(value) {
  if (value === null || value === undefined) return "";
  return typeof value === "string" ? value : JSON.stringify(value);
}
