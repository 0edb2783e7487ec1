#include "PathString.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "LastPathComponent.h"
#include "Messaging.h"

namespace sectionpatch {
namespace {

using unichar = char16_t;  // a UTF-16 code unit, as Foundation hands them out

struct Range {  // NSRange
  unsigned long location, length;
};

// Appends the UTF-8 form of UTF-16 code units. A lone surrogate has no UTF-8
// form; it becomes the byte 0xFF, which no UTF-8 text holds, so a component
// that contains one equals no valid name.
void appendUTF8(std::string& out, const unichar* units, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    char32_t c = units[i];
    bool high = c >= 0xD800 && c < 0xDC00;
    if (high && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      out += '\xFF';
      continue;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
}

// The UTF-8 form of the last `count` characters (UTF-16 code units) of a
// string of `length` units. Only the end of a path is converted: a last
// component of n UTF-8 bytes has at most n units, so the final n + 1 units
// hold it and the separator before it, and a longer component shows as a
// tail without a separator, longer than n bytes, which equals nothing of n.
// Nothing is allocated for tails that fit the inline buffer, and nothing is
// autoreleased: the hooks run on host threads that may have no pool.
std::string tailUTF8(id string, unsigned long length, unsigned long count) {
  static SEL getCharacters = sel_registerName("getCharacters:range:");
  constexpr unsigned long kInline = 64;
  unichar inlineUnits[kInline];
  std::basic_string<unichar> heapUnits;
  unichar* units = inlineUnits;
  if (count > kInline) {
    heapUnits.resize(count);
    units = heapUnits.data();
  }
  send<void>(string, getCharacters, units, Range{length - count, count});
  std::string utf8;
  appendUTF8(utf8, units, count);
  return utf8;
}

}  // namespace

bool sameLastPathComponent(id path, id constant) {
  if (path == nil || constant == nil) return false;
  static SEL utf8String = sel_registerName("UTF8String");
  std::optional<std::string_view> name = lastPathComponent(send<const char*>(constant, utf8String));
  if (!name) return false;
  static SEL lengthSel = sel_registerName("length");
  unsigned long length = send<unsigned long>(path, lengthSel);
  unsigned long count = std::min<unsigned long>(length, name->size() + 1);
  std::string tail = tailUTF8(path, length, count);
  std::optional<std::string_view> last = lastPathComponent(tail);
  return last && *last == *name;
}

}  // namespace sectionpatch
