// Text forms of the scalar property-list values, as Core Foundation reads
// and writes them in XML lists.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Value.h"

namespace platform::plist {

// "<integer>" text: optional blanks, an optional sign, then decimal digits
// or "0x" and hex digits, optional blanks. Leading zeros are decimal ("010"
// is 10). Values run from INT64_MIN to UINT64_MAX; anything else is nothing.
std::optional<Value> parseIntegerText(std::string_view text);

// "<real>" text: a decimal number, "nan", "inf"/"infinity" with a sign.
std::optional<double> parseRealText(std::string_view text);

// "<date>" text: "YYYY-MM-DDTHH:MM:SSZ", as seconds since 2001.
std::optional<Date> parseDateText(std::string_view text);

// The text forms written back (shortest form that reads back exactly).
std::string realText(double value);
std::string dateText(Date date);

}  // namespace platform::plist
