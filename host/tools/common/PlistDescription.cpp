#include "PlistDescription.h"

#include <unicode/utf8.h>

#include <charconv>
#include <cstdio>

#include "platform/plist/PlistNumbers.h"

namespace plist_tools {
namespace {

using platform::Value;

// Calls f(codePoint, bytes) for each code point of UTF-8 text; an ill-formed
// byte comes as a negative code point one byte long.
template <class F>
void forEachCodePoint(std::string_view s, F f) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(s.data());
  int32_t length = static_cast<int32_t>(s.size());
  for (int32_t at = 0; at < length;) {
    int32_t start = at;
    UChar32 c = 0;
    U8_NEXT(bytes, at, length, c);
    f(c, s.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(at - start)));
  }
}

void appendHex(std::string& out, unsigned value, int digits, const char* prefix) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%s%0*x", prefix, digits, value);
  out += buffer;
}

bool isControl(UChar32 c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// The escapes both quoted forms share: quote, backslash, newline, tab and
// carriage return. False when the character is none of these.
bool appendQuotedEscape(std::string& out, UChar32 c) {
  switch (c) {
    case '"': out += "\\\""; return true;
    case '\\': out += "\\\\"; return true;
    case '\n': out += "\\n"; return true;
    case '\t': out += "\\t"; return true;
    case '\r': out += "\\r"; return true;
    default: return false;
  }
}

std::string integerText(const Value& value) {
  char buffer[32];
  auto end = value.isUnsignedBig()
                 ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::uint64_t>(value.int64Value())).ptr
                 : std::to_chars(buffer, buffer + sizeof buffer, value.int64Value()).ptr;
  return std::string(buffer, end);
}

// ---- the old-style description -------------------------------------------

void indent(std::string& out, unsigned level) { out.append(4 * level, ' '); }

bool plainToken(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alnum) return false;
  }
  return true;
}

void appendToken(std::string& out, std::string_view s) {
  if (plainToken(s)) {
    out += s;
    return;
  }
  out += '"';
  forEachCodePoint(s, [&](UChar32 c, std::string_view) {
    if (appendQuotedEscape(out, c)) return;
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else if (c < 0) {
      appendHex(out, 0xFFFD, 4, "\\U");
    } else if (c > 0xFFFF) {
      appendHex(out, static_cast<unsigned>(U16_LEAD(c)), 4, "\\U");
      appendHex(out, static_cast<unsigned>(U16_TRAIL(c)), 4, "\\U");
    } else {
      appendHex(out, static_cast<unsigned>(c), 4, "\\U");
    }
  });
  out += '"';
}

// The token of a scalar before quoting.
std::string scalarToken(const Value& value) {
  switch (value.type()) {
    case Value::Type::String: return *value.string();
    case Value::Type::Integer: return integerText(value);
    case Value::Type::Real: return platform::plist::realText(value.doubleValue());
    case Value::Type::Boolean: return *value.boolean() ? "1" : "0";
    case Value::Type::Date: {
      std::string iso = platform::plist::dateText(*value.date());  // YYYY-MM-DDTHH:MM:SSZ
      return iso.substr(0, 10) + ' ' + iso.substr(11, 8) + " +0000";
    }
    case Value::Type::Data: {
      std::string out = "<";
      const platform::Data& data = *value.data();
      for (std::size_t i = 0; i < data.size(); ++i) {
        if (i > 0 && i % 4 == 0) out += ' ';
        appendHex(out, data[i], 2, "");
      }
      return out + ">";
    }
    default: return "";
  }
}

void describe(const Value& value, unsigned level, std::string& out) {
  if (const platform::Dictionary* dictionary = value.dictionary()) {
    indent(out, level);
    out += "{\n";
    for (const auto& [key, item] : *dictionary) {
      indent(out, level + 1);
      appendToken(out, key);
      out += " = ";
      describe(item, level + 1, out);
      out += ";\n";
    }
    indent(out, level);
    out += '}';
  } else if (const platform::Array* array = value.array()) {
    indent(out, level);
    out += "(\n";
    for (std::size_t i = 0; i < array->size(); ++i) {
      indent(out, level + 1);
      describe((*array)[i], level + 1, out);
      out += i + 1 < array->size() ? ",\n" : "\n";
    }
    indent(out, level);
    out += ')';
  } else if (value.isData()) {
    out += scalarToken(value);  // never quoted
  } else {
    appendToken(out, scalarToken(value));
  }
}

// ---- the readable description ------------------------------------------

void appendQuoted(std::string& out, std::string_view s) {
  out += '"';
  forEachCodePoint(s, [&](UChar32 c, std::string_view bytes) {
    if (appendQuotedEscape(out, c)) return;
    if (c < 0) {
      appendHex(out, static_cast<std::uint8_t>(bytes[0]), 2, "\\x");
    } else if (isControl(c)) {
      appendHex(out, static_cast<unsigned>(c), 4, "\\u");
    } else {
      out += bytes;
    }
  });
  out += '"';
}

void appendData(std::string& out, const platform::Data& data) {
  out += "{length = " + std::to_string(data.size()) + ", bytes = 0x";
  auto hex = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) appendHex(out, data[i], 2, "");
  };
  if (data.size() <= 24) {
    hex(0, data.size());
  } else {
    hex(0, 16);
    out += " ... ";
    hex(data.size() - 8, data.size());
  }
  out += '}';
}

void readable(const Value& value, unsigned level, std::string& out) {
  auto pad = [&](unsigned n) { out.append(2 * n, ' '); };
  switch (value.type()) {
    case Value::Type::Dictionary:
      out += "{\n";
      for (const auto& [key, item] : *value.dictionary()) {
        pad(level + 1);
        appendQuoted(out, key);
        out += " => ";
        readable(item, level + 1, out);
        out += '\n';
      }
      pad(level);
      out += '}';
      break;
    case Value::Type::Array: {
      out += "[\n";
      std::size_t index = 0;
      for (const Value& item : *value.array()) {
        pad(level + 1);
        out += std::to_string(index++) + " => ";
        readable(item, level + 1, out);
        out += '\n';
      }
      pad(level);
      out += ']';
      break;
    }
    case Value::Type::String: appendQuoted(out, *value.string()); break;
    case Value::Type::Integer: out += integerText(value); break;
    case Value::Type::Real: out += platform::plist::realText(value.doubleValue()); break;
    case Value::Type::Boolean: out += *value.boolean() ? "true" : "false"; break;
    case Value::Type::Date: out += platform::plist::dateText(*value.date()); break;
    case Value::Type::Data: appendData(out, *value.data()); break;
    case Value::Type::Nil:
    case Value::Type::Object: break;  // never in a property list
  }
}

}  // namespace

std::string oldStyleDescription(const Value& value) {
  std::string out;
  describe(value, 0, out);
  return out;
}

std::string oldStyleTopLevel(const Value& value) {
  if (value.isDictionary() || value.isArray()) return oldStyleDescription(value);
  return scalarToken(value);
}

std::string readableDescription(const Value& value) {
  std::string out;
  readable(value, 0, out);
  return out;
}

std::string visibleText(std::string_view text) {
  std::string out;
  forEachCodePoint(text, [&](UChar32 c, std::string_view bytes) {
    if (c < 0)
      appendHex(out, static_cast<std::uint8_t>(bytes[0]), 2, "\\x");
    else if (isControl(c) && c != '\n' && c != '\t')
      appendHex(out, static_cast<unsigned>(c), 4, "\\u");
    else
      out += bytes;
  });
  return out;
}

}  // namespace plist_tools
