#include "PathString.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "LastPathComponent.h"
#include "objcxx/Messaging.h"

namespace sectionpatch {
namespace {

using unichar = char16_t;  // a UTF-16 code unit, as Foundation hands them out

struct Range {  // NSRange
  unsigned long location, length;
};

// Writes the UTF-8 form of UTF-16 code units to out, which has room for
// four bytes per unit, and returns the number of bytes written. A lone
// surrogate has no UTF-8 form; it becomes the byte 0xFF, which no UTF-8 text
// holds, so a component that contains one equals no valid name.
std::size_t toUTF8(const unichar* units, std::size_t count, char* out) {
  char* start = out;
  for (std::size_t i = 0; i < count; ++i) {
    char32_t c = units[i];
    bool high = c >= 0xD800 && c < 0xDC00;
    if (high && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      *out++ = '\xFF';
      continue;
    }
    if (c < 0x80) {
      *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
      *out++ = static_cast<char>(0xC0 | (c >> 6));
      *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      *out++ = static_cast<char>(0xE0 | (c >> 12));
      *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      *out++ = static_cast<char>(0xF0 | (c >> 18));
      *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return static_cast<std::size_t>(out - start);
}

// Whether the last component of the last `count` characters (UTF-16 code
// units) of a string of `length` units is `name`. Only the end of a path is
// converted: a last component of n UTF-8 bytes has at most n units, so the
// final n + 1 units hold it and the separator before it, and a longer
// component shows as a tail without a separator, longer than n bytes, which
// equals nothing of n. Nothing is allocated for tails that fit the inline
// buffers, and nothing is autoreleased: the hooks run on host threads that
// may have no pool.
bool tailEndsWith(id string, unsigned long length, unsigned long count, std::string_view name) {
  static SEL getCharacters = sel_registerName("getCharacters:range:");
  constexpr unsigned long kInline = 64;
  unichar inlineUnits[kInline];
  char inlineBytes[4 * kInline];
  std::basic_string<unichar> heapUnits;
  std::string heapBytes;
  unichar* units = inlineUnits;
  char* bytes = inlineBytes;
  if (count > kInline) {
    heapUnits.resize(count);
    heapBytes.resize(4 * count);
    units = heapUnits.data();
    bytes = heapBytes.data();
  }
  objcxx::send<void>(string, getCharacters, units, Range{length - count, count});
  std::optional<std::string_view> last = lastPathComponent(std::string_view(bytes, toUTF8(units, count, bytes)));
  return last && *last == name;
}

}  // namespace

bool sameLastPathComponent(id path, std::string_view constant) {
  if (path == nil) return false;
  std::optional<std::string_view> name = lastPathComponent(constant);
  if (!name) return false;
  static SEL lengthSel = sel_registerName("length");
  unsigned long length = objcxx::send<unsigned long>(path, lengthSel);
  unsigned long count = std::min<unsigned long>(length, name->size() + 1);
  return tailEndsWith(path, length, count, *name);
}

}  // namespace sectionpatch
