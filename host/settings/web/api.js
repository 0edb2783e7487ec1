// The host's HTTP API. The token comes from the page's own address and goes
// with every request.
const token = new URLSearchParams(location.search).get("token") || "";

export class HttpError extends Error {
  constructor(status, message) {
    super(message);
    this.status = status;
  }
}

export function hasToken() {
  return token !== "";
}

async function request(path, options = {}) {
  const headers = { Authorization: `Bearer ${token}` };
  if (options.body) headers["Content-Type"] = "application/json";
  const response = await fetch(path, { ...options, headers, cache: "no-store" });
  let body = null;
  try {
    body = await response.json();
  } catch {
    body = null;
  }
  if (!response.ok) {
    const message = body && typeof body.error === "string" ? body.error : response.statusText;
    throw new HttpError(response.status, message);
  }
  return body;
}

export function getState() {
  return request("/api/state");
}

export function postCommand(command) {
  return request("/api/command", { method: "POST", body: JSON.stringify({ command }) });
}

// date: "YYYY-MM", "YYYY-MM-DD", or null for the current month.
export function getPreview(date) {
  return request("/api/preview" + (date ? "?date=" + encodeURIComponent(date) : ""));
}

// Text for `fill`, written the way `type` reads it: backslashes doubled,
// tab and line break as \t and \n, other control characters as \u{HEX}.
export function escapeTyped(text) {
  let out = "";
  for (const ch of text) {
    const code = ch.codePointAt(0);
    if (ch === "\\") out += "\\\\";
    else if (ch === "\t") out += "\\t";
    else if (ch === "\n") out += "\\n";
    else if (code < 0x20 || (code >= 0x7f && code < 0xa0) || code === 0x2028 || code === 0x2029)
      out += `\\u{${code.toString(16).toUpperCase()}}`;
    else out += ch;
  }
  return out;
}
