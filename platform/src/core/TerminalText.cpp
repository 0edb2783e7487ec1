#include "platform/core/TerminalText.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdio>

namespace platform {
namespace {

bool isBidiControl(UChar32 c) { return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069); }

void appendHex(std::string& out, const char* format, unsigned value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, format, value);
  out += buf;
}

// The length of the terminal sequence (CSI: ESC, "[", parameters, one final
// byte) at the start of text, or 0 when none starts there.
std::size_t sequenceLength(std::string_view text) {
  if (text.size() < 2 || text[0] != '\x1b' || text[1] != '[') return 0;
  for (std::size_t i = 2; i < text.size(); ++i)
    if (text[i] >= 0x40 && text[i] <= 0x7E) return i + 1;
  return 0;
}

}  // namespace

std::string visibleText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  auto length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    int32_t start = i;
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) {
      for (int32_t j = start; j < i; ++j) appendHex(out, "\\x%02x", bytes[j]);
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\b') {
      out += "\\b";
    } else if (c < 0x20 || c == 0x7F) {
      appendHex(out, "\\x%02x", static_cast<unsigned>(c));
    } else if ((c >= 0x80 && c <= 0x9F) || isBidiControl(c)) {
      appendHex(out, "\\u{%x}", static_cast<unsigned>(c));
    } else {
      out.append(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
    }
  }
  return out;
}

std::size_t codePointColumns(char32_t c) {
  auto code = static_cast<UChar32>(c);
  if (code == 0 || code == 0x200B) return 0;
  int category = u_charType(code);
  if (category == U_NON_SPACING_MARK || category == U_ENCLOSING_MARK || category == U_FORMAT_CHAR) return 0;
  int width = u_getIntPropertyValue(code, UCHAR_EAST_ASIAN_WIDTH);
  return width == U_EA_WIDE || width == U_EA_FULLWIDTH ? 2 : 1;
}

std::size_t displayColumns(std::string_view text) {
  std::size_t columns = 0;
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  auto length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    if (std::size_t skip = sequenceLength(text.substr(static_cast<std::size_t>(i)))) {
      i += static_cast<int32_t>(skip);
      continue;
    }
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    columns += c < 0 ? 1 : codePointColumns(static_cast<char32_t>(c));
  }
  return columns;
}

}  // namespace platform
