// Text forms shared by the property-list reader and writer: UTF-8 checks,
// integer, real and date text, base64.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Value.h"

namespace platform::plist_text {

// Whether a code point may appear in an XML 1.0 document: tab, LF, CR, and
// everything from U+0020 except surrogates, U+FFFE and U+FFFF.
inline bool isXmlChar(char32_t c) {
  if (c < 0x20) return c == '\t' || c == '\n' || c == '\r';
  if (c >= 0xD800 && c <= 0xDFFF) return false;
  return c != 0xFFFE && c != 0xFFFF && c <= 0x10FFFF;
}

// Whether bytes are valid UTF-8 (shortest forms, no surrogates).
bool isValidUtf8(std::string_view bytes);
// Valid UTF-8 holding only characters XML 1.0 can carry.
bool isXmlText(std::string_view bytes);

// Appends the UTF-8 encoding of a valid code point.
void appendUtf8(std::string& out, char32_t c);

// XML white space: space, tab, CR, LF.
std::string_view trimXmlSpace(std::string_view text);

// Decimal integer text as Core Foundation reads it: optional sign, decimal
// digits, from INT64_MIN to UINT64_MAX. Surrounding white space is allowed.
std::optional<Value> parseInteger(std::string_view text);

// Real text: a decimal or exponent form, "nan", "inf"/"infinity" with an
// optional sign. Surrounding white space is allowed.
std::optional<double> parseReal(std::string_view text);
// The shortest text that reads back as the same double; "nan",
// "+infinity" and "-infinity" for the special values.
std::string formatReal(double value);

// "YYYY-MM-DDTHH:MM:SSZ" (UTC) as seconds since 2001; surrounding white space
// is allowed. Nothing for any other form or an impossible date.
std::optional<Date> parseDate(std::string_view text);
// The same form, whole seconds (a fraction is cut toward the past). Nothing
// for dates outside the years 1 to 9999 or not a number.
std::optional<std::string> formatDate(Date date);

// Base64 with white space allowed between characters and "=" padding only at
// the end; nothing for anything else.
std::optional<Data> decodeBase64(std::string_view text);
// Base64 in lines of at most lineLength characters (a multiple of 4), each
// line preceded by indent and followed by a newline.
void appendBase64Lines(std::string& out, const Data& data, std::size_t lineLength, std::string_view indent);

}  // namespace platform::plist_text
