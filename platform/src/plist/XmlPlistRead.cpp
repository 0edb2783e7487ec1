// A reader for XML property lists that builds values directly, in one pass
// over the text. libplist 2.2's XML reader recurses without a limit, reads
// <integer> as a C literal ("010" is 8) and costs a second tree; this one
// reads scalars as Core Foundation does, keeps to the nesting limit, and
// refuses anything that is not a property list: misplaced or unknown
// elements, unbalanced tags, bad entities, text that is not UTF-8.
#include "XmlPlistRead.h"

#include <cstdint>

#include "platform/plist/PlistNumbers.h"
#include "platform/core/Strings.h"

namespace platform::plist {
namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool nameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == ':' ||
         c == '-' || c == '.';
}

// Well-formed UTF-8; plain ASCII, the common case, is checked here.
bool validText(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return isValidUTF8(text);
  }
  return true;
}

int base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

class XMLReader {
 public:
  XMLReader(std::string_view text, unsigned maxDepth) : s_(text), maxDepth_(maxDepth) {}

  std::optional<Value> read() {
    // One buffer per level, made before parsing so that no level's buffer
    // moves while an outer level is filling its own.
    if (entryBuffers().size() < maxDepth_) entryBuffers().resize(maxDepth_);
    if (!skipMisc()) return std::nullopt;
    Tag tag;
    if (!startTag(&tag)) return std::nullopt;
    std::optional<Value> value;
    if (tag.name == "plist") {
      if (tag.empty || !skipMisc()) return std::nullopt;
      Tag inner;
      if (!startTag(&inner)) return std::nullopt;
      value = element(inner, 0);
      if (!value || !skipMisc() || !endTag("plist")) return std::nullopt;
    } else {
      value = element(tag, 0);
      if (!value) return std::nullopt;
    }
    if (!skipMisc() || pos_ != s_.size()) return std::nullopt;
    return value;
  }

 private:
  static std::vector<std::vector<Dictionary::Entry>>& entryBuffers() {
    static thread_local std::vector<std::vector<Dictionary::Entry>> buffers;
    return buffers;
  }

  struct Tag {
    std::string_view name;
    bool empty = false;
  };

  bool at(std::string_view prefix) const { return s_.substr(pos_).starts_with(prefix); }

  bool skipPast(std::string_view terminator) {
    std::size_t end = s_.find(terminator, pos_);
    if (end == std::string_view::npos) return false;
    pos_ = end + terminator.size();
    return true;
  }

  // Blanks, comments, processing instructions and declarations.
  bool skipMisc() {
    for (;;) {
      while (pos_ < s_.size() && blank(s_[pos_])) ++pos_;
      if (at("<?")) {
        if (!skipPast("?>")) return false;
      } else if (at("<!--")) {
        if (!skipPast("-->")) return false;
      } else if (at("<!") && !at("<![CDATA[")) {
        int brackets = 0;
        for (++pos_;; ++pos_) {
          if (pos_ >= s_.size()) return false;
          char c = s_[pos_];
          if (c == '[') ++brackets;
          if (c == ']') --brackets;
          if (c == '>' && brackets <= 0) break;
        }
        ++pos_;
      } else {
        return true;
      }
    }
  }

  // "<name attributes>" or "<name attributes/>"; quotes in attribute values
  // are respected.
  bool startTag(Tag* tag) {
    if (!at("<") || at("</")) return false;
    std::size_t nameEnd = pos_ + 1;
    while (nameEnd < s_.size() && nameChar(s_[nameEnd])) ++nameEnd;
    tag->name = s_.substr(pos_ + 1, nameEnd - pos_ - 1);
    if (tag->name.empty()) return false;
    char quote = 0;
    std::size_t end = nameEnd;
    for (; end < s_.size(); ++end) {
      char c = s_[end];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '>') {
        break;
      }
    }
    if (end >= s_.size()) return false;
    tag->empty = s_[end - 1] == '/';
    pos_ = end + 1;
    return true;
  }

  bool endTag(std::string_view name) {
    if (!at("</") || s_.substr(pos_ + 2, name.size()) != name) return false;
    pos_ += 2 + name.size();
    while (pos_ < s_.size() && blank(s_[pos_])) ++pos_;
    if (pos_ >= s_.size() || s_[pos_] != '>') return false;
    ++pos_;
    return true;
  }

  // Character data up to the element's end tag: entities resolved, CDATA
  // taken as it stands, comments dropped, line ends normalised as XML does.
  bool content(std::string_view name, std::string* out) {
    out->clear();
    for (;;) {
      std::size_t stop = s_.find_first_of("<&\r", pos_);
      if (stop == std::string_view::npos) return false;
      out->append(s_.data() + pos_, stop - pos_);
      pos_ = stop;
      char c = s_[pos_];
      if (c == '\r') {
        *out += '\n';
        ++pos_;
        if (pos_ < s_.size() && s_[pos_] == '\n') ++pos_;
      } else if (c == '&') {
        if (!entity(out)) return false;
      } else if (at("<![CDATA[")) {
        std::size_t begin = pos_ + 9;
        std::size_t end = s_.find("]]>", begin);
        if (end == std::string_view::npos) return false;
        out->append(s_.data() + begin, end - begin);
        pos_ = end + 3;
      } else if (at("<!--")) {
        if (!skipPast("-->")) return false;
      } else {
        return endTag(name);  // any other markup inside text is refused
      }
    }
  }

  bool entity(std::string* out) {
    std::size_t semi = s_.find(';', pos_);
    if (semi == std::string_view::npos || semi - pos_ > 12) return false;
    std::string_view ref = s_.substr(pos_ + 1, semi - pos_ - 1);
    pos_ = semi + 1;
    if (ref == "lt") *out += '<';
    else if (ref == "gt") *out += '>';
    else if (ref == "amp") *out += '&';
    else if (ref == "quot") *out += '"';
    else if (ref == "apos") *out += '\'';
    else if (ref.size() > 1 && ref[0] == '#') {
      bool hex = ref[1] == 'x';
      std::string_view digits = ref.substr(hex ? 2 : 1);
      if (digits.empty()) return false;
      std::uint32_t cp = 0;
      for (char d : digits) {
        int v;
        if (hex) {
          if (d >= '0' && d <= '9') v = d - '0';
          else if (d >= 'a' && d <= 'f') v = d - 'a' + 10;
          else if (d >= 'A' && d <= 'F') v = d - 'A' + 10;
          else return false;
        } else {
          if (d < '0' || d > '9') return false;
          v = d - '0';
        }
        cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(v);
        if (cp > 0x10FFFF) return false;
      }
      if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
      appendUTF8(*out, cp);
    } else {
      return false;
    }
    return true;
  }

  std::optional<Value> element(const Tag& tag, unsigned depth) {
    if (depth >= maxDepth_) return std::nullopt;
    std::string_view name = tag.name;
    if (name == "true" || name == "false") {
      if (!tag.empty) {
        while (pos_ < s_.size() && blank(s_[pos_])) ++pos_;
        if (!endTag(name)) return std::nullopt;
      }
      return Value(name == "true");
    }
    if (name == "dict") return tag.empty ? Value(Dictionary()) : dictionary(depth);
    if (name == "array") return tag.empty ? Value(Array()) : array(depth);
    std::string text;
    if (!tag.empty && !content(name, &text)) return std::nullopt;
    if (name == "string") {
      if (!validText(text)) return std::nullopt;
      return Value(std::move(text));
    }
    if (name == "integer") return parseIntegerText(text);
    if (name == "real") {
      auto real = parseRealText(text);
      return real ? std::optional<Value>(Value(*real)) : std::nullopt;
    }
    if (name == "date") {
      auto date = parseDateText(text);
      return date ? std::optional<Value>(Value(*date)) : std::nullopt;
    }
    if (name == "data") return data(text);
    return std::nullopt;  // keys out of place, unknown elements
  }

  std::optional<Value> dictionary(unsigned depth) {
    // Entries gather in a buffer kept per nesting level and thread, so a
    // large dictionary is stored once at its final size instead of growing
    // on every read.
    std::vector<Dictionary::Entry>& entries = entryBuffers()[depth];
    entries.clear();
    std::string key;
    for (;;) {
      if (!skipMisc()) return std::nullopt;
      if (at("</")) {
        if (!endTag("dict")) return std::nullopt;
        return Value(Dictionary(std::move(entries)));
      }
      Tag keyTag;
      if (!startTag(&keyTag) || keyTag.name != "key") return std::nullopt;
      if (keyTag.empty) key.clear();
      else if (!content("key", &key)) return std::nullopt;
      if (!validText(key) || !skipMisc()) return std::nullopt;
      Tag valueTag;
      if (!startTag(&valueTag)) return std::nullopt;
      auto value = element(valueTag, depth + 1);
      if (!value) return std::nullopt;
      entries.emplace_back(key, std::move(*value));
    }
  }

  std::optional<Value> array(unsigned depth) {
    Array items;
    for (;;) {
      if (!skipMisc()) return std::nullopt;
      if (at("</")) {
        if (!endTag("array")) return std::nullopt;
        return Value(std::move(items));
      }
      Tag tag;
      if (!startTag(&tag)) return std::nullopt;
      auto value = element(tag, depth + 1);
      if (!value) return std::nullopt;
      items.push_back(std::move(*value));
    }
  }

  // Base64, blanks ignored, padding optional at the end.
  static std::optional<Value> data(std::string_view text) {
    Data bytes;
    bytes.reserve(text.size() * 3 / 4);
    std::uint32_t chunk = 0;
    int bits = 0;
    bool padded = false;
    for (char c : text) {
      if (blank(c)) continue;
      if (c == '=') {
        padded = true;
        continue;
      }
      int v = base64Value(c);
      if (v < 0 || padded) return std::nullopt;
      chunk = (chunk << 6) | static_cast<std::uint32_t>(v);
      bits += 6;
      if (bits >= 8) {
        bits -= 8;
        bytes.push_back(static_cast<std::uint8_t>(chunk >> bits));
      }
    }
    return Value(std::move(bytes));
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  unsigned maxDepth_;
};

}  // namespace

std::optional<Value> parseXML(std::string_view bytes, const PropertyListLimits& limits) {
  return XMLReader(bytes, limits.maxDepth).read();
}

}  // namespace platform::plist
