// XML lists are parsed by libplist after a scan of our own. libplist 2.2
// recurses once per nesting level and reads <integer> as a C literal ("010"
// is 8), so the scan refuses nesting over the limit before libplist sees the
// text, and collects the text of every <integer>, <real> and <date> element
// in document order; the tree libplist builds is then converted in the same
// order, each scalar taking its value from its own text as Core Foundation
// reads it.
#include "XmlPlistRead.h"

#include <plist/plist.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "PlistNumbers.h"
#include "platform/Strings.h"

namespace platform::plist {
namespace {

struct Scan {
  std::vector<std::string_view> scalars;  // <integer>, <real>, <date> texts
};

bool nameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == ':' ||
         c == '-' || c == '.';
}

enum class Element { Plist, Dict, Array, Key, Scalar };

std::optional<Element> elementOf(std::string_view name) {
  if (name == "plist") return Element::Plist;
  if (name == "dict") return Element::Dict;
  if (name == "array") return Element::Array;
  if (name == "key") return Element::Key;
  if (name == "string" || name == "integer" || name == "real" || name == "date" || name == "data" ||
      name == "true" || name == "false") {
    return Element::Scalar;
  }
  return std::nullopt;
}

struct Frame {
  Element element;
  bool awaitingValue = false;  // in a dictionary: a key was read, its value not yet
};

// Whether an element may stand inside the innermost open one; in a
// dictionary, keys and values must alternate.
bool admit(std::vector<Frame>& open, Element element) {
  if (open.empty()) return element != Element::Key;
  if (open.back().element == Element::Plist || open.back().element == Element::Array) {
    return element != Element::Key && element != Element::Plist;
  }
  Frame& parent = open.back();
  if (parent.element != Element::Dict) return false;  // nothing nests in keys or scalars
  bool isKey = element == Element::Key;
  if (isKey == parent.awaitingValue || element == Element::Plist) return false;
  parent.awaitingValue = isKey;
  return true;
}

// Walks the markup, checking structure and depth and collecting scalar
// texts. False for anything the scan cannot follow or that is no property
// list (unterminated markup, unbalanced or misplaced elements).
bool scanXML(std::string_view s, unsigned maxDepth, Scan& scan) {
  std::size_t pos = 0;
  std::vector<Frame> open;
  auto skipPast = [&](std::string_view terminator) {
    std::size_t end = s.find(terminator, pos);
    if (end == std::string_view::npos) return false;
    pos = end + terminator.size();
    return true;
  };
  while ((pos = s.find('<', pos)) != std::string_view::npos) {
    std::string_view rest = s.substr(pos);
    if (rest.starts_with("<?")) {
      if (!skipPast("?>")) return false;
    } else if (rest.starts_with("<!--")) {
      if (!skipPast("-->")) return false;
    } else if (rest.starts_with("<![CDATA[")) {
      if (!skipPast("]]>")) return false;
    } else if (rest.starts_with("<!")) {
      // A declaration, possibly with an internal subset in brackets.
      int brackets = 0;
      for (++pos;; ++pos) {
        if (pos >= s.size()) return false;
        char c = s[pos];
        if (c == '[') ++brackets;
        if (c == ']') --brackets;
        if (c == '>' && brackets <= 0) break;
      }
      ++pos;
    } else if (rest.starts_with("</")) {
      if (open.empty() || (open.back().element == Element::Dict && open.back().awaitingValue)) return false;
      open.pop_back();
      if (!skipPast(">")) return false;
    } else {
      std::size_t nameEnd = pos + 1;
      while (nameEnd < s.size() && nameChar(s[nameEnd])) ++nameEnd;
      std::string_view name = s.substr(pos + 1, nameEnd - pos - 1);
      auto element = elementOf(name);
      if (!element || !admit(open, *element)) return false;
      // The end of the tag, quotes in attributes respected.
      std::size_t end = nameEnd;
      char quote = 0;
      for (; end < s.size(); ++end) {
        char c = s[end];
        if (quote) {
          if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
          quote = c;
        } else if (c == '>') {
          break;
        }
      }
      if (end >= s.size()) return false;
      bool empty = s[end - 1] == '/';
      if (open.size() + 1 > maxDepth) return false;
      pos = end + 1;
      if (empty) continue;
      open.push_back({*element});
      if (name == "integer" || name == "real" || name == "date") {
        std::size_t close = s.find('<', pos);
        if (close == std::string_view::npos) return false;
        std::string_view after = s.substr(close);
        if (!after.starts_with("</") || after.substr(2, name.size()) != name) return false;
        scan.scalars.push_back(s.substr(pos, close - pos));
        pos = close;
      }
    }
  }
  return open.empty();
}

class Converter {
 public:
  explicit Converter(const Scan& scan) : scan_(scan) {}

  std::optional<Value> convert(plist_t node) {
    switch (plist_get_node_type(node)) {
      case PLIST_BOOLEAN: {
        std::uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return Value(b != 0);
      }
      case PLIST_UINT: {
        auto text = nextScalar();
        if (!text) return std::nullopt;
        return parseIntegerText(*text);
      }
      case PLIST_REAL: {
        auto text = nextScalar();
        if (!text) return std::nullopt;
        auto real = parseRealText(*text);
        if (!real) return std::nullopt;
        return Value(*real);
      }
      case PLIST_DATE: {
        auto text = nextScalar();
        if (!text) return std::nullopt;
        auto date = parseDateText(*text);
        if (!date) return std::nullopt;
        return Value(*date);
      }
      case PLIST_STRING: {
        std::uint64_t length = 0;
        const char* p = plist_get_string_ptr(node, &length);
        std::string_view text(p ? p : "", p ? length : 0);
        if (!isValidUTF8(text)) return std::nullopt;
        return Value(text);
      }
      case PLIST_DATA: {
        std::uint64_t length = 0;
        const char* p = plist_get_data_ptr(node, &length);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(p);
        return Value(Data(bytes, bytes + (p ? length : 0)));
      }
      case PLIST_ARRAY: {
        Array array;
        std::uint32_t count = plist_array_get_size(node);
        array.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
          auto item = convert(plist_array_get_item(node, i));
          if (!item) return std::nullopt;
          array.push_back(std::move(*item));
        }
        return Value(std::move(array));
      }
      case PLIST_DICT: {
        Dictionary dictionary;
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(node, &iter);
        bool ok = iter != nullptr;
        while (ok) {
          char* key = nullptr;
          plist_t item = nullptr;
          plist_dict_next_item(node, iter, &key, &item);
          if (!item) {
            std::free(key);
            break;
          }
          std::string_view keyText(key ? key : "");
          auto value = key && isValidUTF8(keyText) ? convert(item) : std::nullopt;
          if (value) dictionary.set(std::string(keyText), std::move(*value));
          std::free(key);
          ok = value.has_value();
        }
        std::free(iter);
        if (!ok) return std::nullopt;
        return Value(std::move(dictionary));
      }
      default:  // keys out of place, UIDs, nothing
        return std::nullopt;
    }
  }

  bool allScalarsUsed() const { return next_ == scan_.scalars.size(); }

 private:
  std::optional<std::string_view> nextScalar() {
    if (next_ >= scan_.scalars.size()) return std::nullopt;
    return scan_.scalars[next_++];
  }

  const Scan& scan_;
  std::size_t next_ = 0;
};

}  // namespace

std::optional<Value> parseXML(std::string_view bytes, const PropertyListLimits& limits) {
  if (bytes.size() > UINT32_MAX) return std::nullopt;
  Scan scan;
  if (!scanXML(bytes, limits.maxDepth, scan)) return std::nullopt;
  plist_t root = nullptr;
  plist_from_xml(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &root);
  if (!root) return std::nullopt;
  Converter converter(scan);
  auto value = converter.convert(root);
  plist_free(root);
  // A scalar libplist dropped or made up would shift every later one.
  if (!value || !converter.allScalarsUsed()) return std::nullopt;
  return value;
}

}  // namespace platform::plist
