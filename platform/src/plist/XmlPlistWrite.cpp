// The XML encoding, written as Foundation writes it: tab indentation, one
// element per line, text escaped so that any XML reader gives back exactly
// the characters written.
#include "XmlPlistWrite.h"

#include <charconv>
#include <cmath>
#include <string>

#include "platform/plist/PlistNumbers.h"
#include "platform/plist/PropertyList.h"
#include "platform/core/Strings.h"

namespace platform {
namespace plist {
namespace {

constexpr std::string_view kHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\">\n";

// What the <date> text form holds exactly.
bool wholeSecondOfYears0To9999(Date date) {
  double s = date.seconds;
  return s == std::floor(s) && s >= -63113904000.0 && s < 252423993600.0;
}

class XMLWriter {
 public:
  explicit XMLWriter(std::string& out) : out_(out) {}

  bool write(const Value& value, unsigned depth) {
    switch (value.type()) {
      case Value::Type::Dictionary: {
        const Dictionary& dictionary = *value.dictionary();
        if (dictionary.empty()) return line(depth, "<dict/>");
        line(depth, "<dict>");
        for (const auto& [key, item] : dictionary) {
          indent(depth + 1);
          out_ += "<key>";
          if (!text(key)) return false;
          out_ += "</key>\n";
          if (!write(item, depth + 1)) return false;
        }
        return line(depth, "</dict>");
      }
      case Value::Type::Array: {
        const Array& array = *value.array();
        if (array.empty()) return line(depth, "<array/>");
        line(depth, "<array>");
        for (const Value& item : array) {
          if (!write(item, depth + 1)) return false;
        }
        return line(depth, "</array>");
      }
      case Value::Type::String:
        indent(depth);
        out_ += "<string>";
        if (!text(*value.string())) return false;
        out_ += "</string>\n";
        return true;
      case Value::Type::Integer: {
        char buffer[32];
        auto end = value.isUnsignedBig()
                       ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::uint64_t>(value.int64Value())).ptr
                       : std::to_chars(buffer, buffer + sizeof buffer, value.int64Value()).ptr;
        return element(depth, "integer", std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
      }
      case Value::Type::Real: return element(depth, "real", realText(value.doubleValue()));
      case Value::Type::Boolean: return line(depth, *value.boolean() ? "<true/>" : "<false/>");
      case Value::Type::Date:
        if (!wholeSecondOfYears0To9999(*value.date())) return false;
        return element(depth, "date", dateText(*value.date()));
      case Value::Type::Data: return data(*value.data(), depth);
      case Value::Type::Nil:
      case Value::Type::Object: return false;
    }
    return false;
  }

  void raw(std::string_view s) { out_ += s; }

 private:
  void indent(unsigned depth) { out_.append(depth, '\t'); }

  bool line(unsigned depth, std::string_view s) {
    indent(depth);
    out_ += s;
    out_ += '\n';
    return true;
  }

  bool element(unsigned depth, std::string_view name, std::string_view content) {
    indent(depth);
    out_ += '<';
    out_ += name;
    out_ += '>';
    out_ += content;
    out_ += "</";
    out_ += name;
    out_ += ">\n";
    return true;
  }

  // Escaped character data. Refuses text XML 1.0 cannot carry: ill-formed
  // UTF-8, C0 controls other than tab, line feed and carriage return, and
  // U+FFFE / U+FFFF. A carriage return is written as a reference, since XML
  // readers turn a literal one into a line feed.
  bool text(std::string_view s) {
    if (!isValidUTF8(s)) return false;
    std::size_t plain = 0;
    auto flush = [&](std::size_t i) { out_.append(s.data() + plain, i - plain); };
    for (std::size_t i = 0; i < s.size(); ++i) {
      unsigned char c = static_cast<unsigned char>(s[i]);
      const char* replacement = nullptr;
      if (c == '&') replacement = "&amp;";
      else if (c == '<') replacement = "&lt;";
      else if (c == '>') replacement = "&gt;";
      else if (c == '\r') replacement = "&#13;";
      else if (c < 0x20 && c != '\t' && c != '\n') return false;
      else if (c == 0xEF && i + 2 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0xBF &&
               (static_cast<unsigned char>(s[i + 2]) & 0xFE) == 0xBE) {
        return false;  // U+FFFE, U+FFFF
      }
      if (replacement) {
        flush(i);
        out_ += replacement;
        plain = i + 1;
      }
    }
    flush(s.size());
    return true;
  }

  // Base64 in lines of at most 76 characters, indented like the element.
  bool data(const Data& bytes, unsigned depth) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    line(depth, "<data>");
    std::string encoded;
    encoded.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
      std::uint32_t chunk = bytes[i] << 16;
      if (i + 1 < bytes.size()) chunk |= bytes[i + 1] << 8;
      if (i + 2 < bytes.size()) chunk |= bytes[i + 2];
      encoded += kAlphabet[(chunk >> 18) & 63];
      encoded += kAlphabet[(chunk >> 12) & 63];
      encoded += i + 1 < bytes.size() ? kAlphabet[(chunk >> 6) & 63] : '=';
      encoded += i + 2 < bytes.size() ? kAlphabet[chunk & 63] : '=';
    }
    for (std::size_t at = 0; at < encoded.size(); at += 76) {
      line(depth, std::string_view(encoded).substr(at, 76));
    }
    return line(depth, "</data>");
  }

  std::string& out_;
};

}  // namespace

bool encodeXML(const Value& value, std::string& out) {
  out.clear();
  XMLWriter writer(out);
  writer.raw(kHeader);
  if (!writer.write(value, 0)) return false;
  writer.raw("</plist>\n");
  return true;
}

}  // namespace plist

std::optional<std::string> serializeXML(const Value& value) {
  std::string out;
  if (!plist::encodeXML(value, out)) return std::nullopt;
  return out;
}

}  // namespace platform
