#include "platform/plist/TextPlist.h"

#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <string>
#include <vector>

#include "platform/core/Strings.h"

namespace platform {
namespace {

// The text as UTF-8, told by its byte-order mark; nothing when it is not
// well-formed in its encoding.
std::optional<std::string> decodeText(std::string_view bytes) {
  auto starts = [&](std::string_view bom) { return bytes.substr(0, bom.size()) == bom; };
  if (starts("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  bool little = starts("\xFF\xFE");
  bool big = starts("\xFE\xFF");
  if (!little && !big) {
    if (!isValidUTF8(bytes)) return std::nullopt;
    return std::string(bytes);
  }
  bytes.remove_prefix(2);
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::vector<UChar> units(bytes.size() / 2);
  for (std::size_t i = 0; i < units.size(); ++i) {
    auto first = static_cast<unsigned char>(bytes[2 * i]);
    auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    units[i] = static_cast<UChar>(little ? (second << 8 | first) : (first << 8 | second));
  }
  if (units.empty()) return std::string();
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strToUTF8(nullptr, 0, &length, units.data(), static_cast<int32_t>(units.size()), &status);
  if (status != U_BUFFER_OVERFLOW_ERROR) return std::nullopt;
  std::string out(static_cast<std::size_t>(length), '\0');
  status = U_ZERO_ERROR;
  u_strToUTF8(out.data(), length, &length, units.data(), static_cast<int32_t>(units.size()), &status);
  if (U_FAILURE(status)) return std::nullopt;
  return out;
}

bool isUnquotedCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' ||
         c == '/' || c == ':' || c == '.' || c == '-';
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void appendCodePoint(std::string& out, UChar32 c) {
  char buffer[U8_MAX_LENGTH];
  int32_t length = 0;
  U8_APPEND_UNSAFE(buffer, length, c);
  out.append(buffer, static_cast<std::size_t>(length));
}

class Parser {
 public:
  Parser(std::string_view text, unsigned maxDepth) : s_(text), maxDepth_(maxDepth) {}

  std::optional<Value> parseTopLevel() {
    auto value = parseDocument();
    if (failed_) return std::nullopt;
    return value;
  }

 private:
  std::optional<Value> parseDocument() {
    skipBlank();
    if (atEnd()) return Value(Dictionary());
    std::size_t start = pos_;
    auto value = parseValue(1);
    if (!value) return std::nullopt;
    skipBlank();
    if (atEnd()) return value;
    // "key" = value; ... without braces: a string table.
    if (value->isString() && (peek() == '=' || peek() == ';')) {
      pos_ = start;
      return parseDictionaryBody(1, '\0');
    }
    return std::nullopt;
  }

  bool atEnd() const { return pos_ >= s_.size(); }
  char peek() const { return atEnd() ? '\0' : s_[pos_]; }

  // Skips blanks and comments. An unterminated block comment is malformed:
  // it sets failed_ and skips to the end.
  void skipBlank() {
    while (!atEnd()) {
      char c = s_[pos_];
      if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
        auto end = s_.find_first_of("\n\r", pos_);
        pos_ = end == std::string_view::npos ? s_.size() : end;
      } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '*') {
        auto end = s_.find("*/", pos_ + 2);
        if (end == std::string_view::npos) failed_ = true;
        pos_ = end == std::string_view::npos ? s_.size() : end + 2;
      } else {
        return;
      }
    }
  }

  std::optional<Value> parseValue(unsigned depth) {
    if (depth > maxDepth_) return std::nullopt;
    skipBlank();
    char c = peek();
    if (c == '{') {
      ++pos_;
      return parseDictionaryBody(depth, '}');
    }
    if (c == '(') return parseArray(depth);
    if (c == '<') return parseData();
    auto string = parseString();
    if (!string) return std::nullopt;
    return Value(std::move(*string));
  }

  // Entries up to `close` (consumed), or up to the end of input when close is
  // '\0'.
  std::optional<Value> parseDictionaryBody(unsigned depth, char close) {
    Dictionary dictionary;
    for (;;) {
      skipBlank();
      if (close == '\0' ? atEnd() : peek() == close) break;
      auto key = parseString();
      if (!key) return std::nullopt;
      skipBlank();
      if (peek() == ';') {
        ++pos_;
        dictionary.set(*key, Value(*key));
        continue;
      }
      if (peek() != '=') return std::nullopt;
      ++pos_;
      auto value = parseValue(depth + 1);
      if (!value) return std::nullopt;
      skipBlank();
      if (peek() != ';') return std::nullopt;
      ++pos_;
      dictionary.set(std::move(*key), std::move(*value));
    }
    if (close != '\0') ++pos_;
    return Value(std::move(dictionary));
  }

  std::optional<Value> parseArray(unsigned depth) {
    ++pos_;  // '('
    Array array;
    for (;;) {
      skipBlank();
      if (peek() == ')') break;
      auto value = parseValue(depth + 1);
      if (!value) return std::nullopt;
      array.push_back(std::move(*value));
      skipBlank();
      if (peek() == ',') {
        ++pos_;
      } else if (peek() != ')') {
        return std::nullopt;
      }
    }
    ++pos_;
    return Value(std::move(array));
  }

  std::optional<Value> parseData() {
    ++pos_;  // '<'
    Data data;
    int high = -1;
    for (; !atEnd(); ++pos_) {
      char c = s_[pos_];
      if (c == '>') {
        if (high >= 0) return std::nullopt;
        ++pos_;
        return Value(std::move(data));
      }
      if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') continue;
      int digit = hexDigit(c);
      if (digit < 0) return std::nullopt;
      if (high < 0) {
        high = digit;
      } else {
        data.push_back(static_cast<std::uint8_t>(high << 4 | digit));
        high = -1;
      }
    }
    return std::nullopt;
  }

  std::optional<std::string> parseString() {
    char c = peek();
    if (c == '"' || c == '\'') return parseQuoted(c);
    std::size_t start = pos_;
    while (!atEnd() && isUnquotedCharacter(s_[pos_])) ++pos_;
    if (pos_ == start) return std::nullopt;
    return std::string(s_.substr(start, pos_ - start));
  }

  std::optional<std::string> parseQuoted(char quote) {
    ++pos_;
    std::string out;
    for (;;) {
      if (atEnd()) return std::nullopt;
      char c = s_[pos_++];
      if (c == quote) return out;
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      if (!parseEscape(out)) return std::nullopt;
    }
  }

  // After a backslash: appends the escaped character.
  bool parseEscape(std::string& out) {
    if (atEnd()) return false;
    char c = s_[pos_++];
    switch (c) {
      case 'a': out.push_back('\a'); return true;
      case 'b': out.push_back('\b'); return true;
      case 'f': out.push_back('\f'); return true;
      case 'n': out.push_back('\n'); return true;
      case 'r': out.push_back('\r'); return true;
      case 't': out.push_back('\t'); return true;
      case 'v': out.push_back('\v'); return true;
      case 'U':
      case 'u': return parseUnicodeEscape(out);
      default: break;
    }
    if (c >= '0' && c <= '7') {
      UChar32 value = c - '0';
      for (int i = 1; i < 3 && !atEnd() && s_[pos_] >= '0' && s_[pos_] <= '7'; ++i) value = value * 8 + (s_[pos_++] - '0');
      appendCodePoint(out, value);
      return true;
    }
    out.push_back(c);  // \" \' \\ and any other character stand for themselves
    return true;
  }

  // One to four hex digits, already past "\U".
  std::optional<UChar> readHexUnit() {
    unsigned value = 0;
    int digits = 0;
    while (digits < 4 && !atEnd() && hexDigit(s_[pos_]) >= 0) {
      value = value * 16 + static_cast<unsigned>(hexDigit(s_[pos_++]));
      ++digits;
    }
    if (digits == 0) return std::nullopt;
    return static_cast<UChar>(value);
  }

  bool parseUnicodeEscape(std::string& out) {
    auto unit = readHexUnit();
    if (!unit) return false;
    if (U16_IS_TRAIL(*unit)) return false;
    if (!U16_IS_LEAD(*unit)) {
      appendCodePoint(out, *unit);
      return true;
    }
    if (pos_ + 2 > s_.size() || s_[pos_] != '\\' || (s_[pos_ + 1] != 'U' && s_[pos_ + 1] != 'u')) return false;
    pos_ += 2;
    auto trail = readHexUnit();
    if (!trail || !U16_IS_TRAIL(*trail)) return false;
    appendCodePoint(out, U16_GET_SUPPLEMENTARY(*unit, *trail));
    return true;
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  unsigned maxDepth_;
  bool failed_ = false;
};

}  // namespace

std::optional<Value> parseTextPropertyList(std::string_view bytes, const PropertyListLimits& limits) {
  if (bytes.size() > limits.maxBytes) return std::nullopt;
  auto text = decodeText(bytes);
  if (!text) return std::nullopt;
  return Parser(*text, limits.maxDepth).parseTopLevel();
}

}  // namespace platform
