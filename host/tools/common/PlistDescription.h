// The two text forms in which the tools show property-list values to people.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/Value.h"

namespace plist_tools {

// What `defaults read` prints: the old-style text form of Foundation's
// descriptions. Four spaces per level; dictionaries as `{ key = value; }`
// and arrays as `( a, b )`, one entry per line, a nested container's opening
// bracket indented to its own level after `key = `. Strings are quoted unless
// made only of ASCII letters and digits; in quotes, `"` and `\` are escaped,
// line feed, tab and carriage return are `\n`, `\t`, `\r`, and every other
// character outside printable ASCII is `\Uxxxx` (UTF-16 units, lower-case hex).
// Integers are bare, booleans 1 and 0, reals in their shortest exact form,
// dates "YYYY-MM-DD HH:MM:SS +0000", data <hex, a space every four bytes>.
// The text reads back with the old-style text reader (scalars as strings).
std::string oldStyleDescription(const platform::Value& value);

// A scalar as `defaults read DOMAIN KEY` prints it: the description's token
// without quotes (a string exactly as stored); containers as above.
std::string oldStyleTopLevel(const platform::Value& value);

// What `plutil -p` prints: two spaces per level, `"key" => value` and
// `N => value` lines inside `{ }` and `[ ]`. Strings and keys quoted, with
// `"` and `\` escaped and every control character shown as an escape (`\n`,
// `\t`, `\r`, `\u001b`); integers and reals bare, booleans true and false,
// dates in ISO 8601 ("2024-05-01T08:30:00Z"), data as
// `{length = N, bytes = 0x...}` (long data shortened to its first 16 and
// last 8 bytes).
std::string readableDescription(const platform::Value& value);

// Text for a terminal: control characters other than line feed and tab (C0,
// DEL, C1) shown as `\u00XX` escapes, bytes that are not UTF-8 as `\xNN`;
// everything else unchanged.
std::string visibleText(std::string_view text);

}  // namespace plist_tools
