#include "platform/core/Strings.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <vector>

namespace platform {
namespace {

// Walks a UTF-8 string one code point at a time; an ill-formed byte comes out
// as a negative code point one byte long.
struct CodePointCursor {
  std::string_view s;
  int32_t pos = 0;

  bool atEnd() const { return pos >= static_cast<int32_t>(s.size()); }
  UChar32 next() {
    UChar32 c = 0;
    U8_NEXT(reinterpret_cast<const uint8_t*>(s.data()), pos, static_cast<int32_t>(s.size()), c);
    return c;
  }
};

bool isTrimmedWhitespace(UChar32 c) { return c == 0x09 || (c >= 0 && u_charType(c) == U_SPACE_SEPARATOR); }

std::size_t unitsOf(UChar32 c) { return c > 0xFFFF ? 2 : 1; }

}  // namespace

std::string trimWhitespace(std::string_view s) {
  CodePointCursor cursor{s};
  std::size_t begin = s.size(), end = 0;
  while (!cursor.atEnd()) {
    std::size_t at = static_cast<std::size_t>(cursor.pos);
    UChar32 c = cursor.next();
    if (isTrimmedWhitespace(c)) continue;
    if (begin == s.size()) begin = at;
    end = static_cast<std::size_t>(cursor.pos);
  }
  if (begin >= end) return std::string();
  return std::string(s.substr(begin, end - begin));
}

namespace {

// The text through an ICU case mapping of UTF-16 (upper-casing, folding); the
// text as it is when ICU fails.
template <typename Mapping>
std::string mapCase(std::string_view s, Mapping mapping) {
  if (s.empty()) return std::string();
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  auto source = static_cast<int32_t>(s.size());
  std::vector<UChar> utf16(s.size());
  u_strFromUTF8WithSub(utf16.data(), static_cast<int32_t>(utf16.size()), &length, s.data(), source, 0xFFFD, nullptr,
                       &status);
  if (U_FAILURE(status)) return std::string(s);
  std::vector<UChar> mapped(static_cast<std::size_t>(length) * 3 + 1);
  int32_t mappedLength = mapping(mapped.data(), static_cast<int32_t>(mapped.size()), utf16.data(), length, &status);
  if (U_FAILURE(status)) return std::string(s);
  std::string out(static_cast<std::size_t>(mappedLength) * 3, '\0');
  int32_t outLength = 0;
  u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &outLength, mapped.data(), mappedLength, &status);
  if (U_FAILURE(status)) return std::string(s);
  out.resize(static_cast<std::size_t>(outLength));
  return out;
}

}  // namespace

std::string uppercaseString(std::string_view s) {
  return mapCase(s, [](UChar* dest, int32_t capacity, const UChar* src, int32_t length, UErrorCode* status) {
    return u_strToUpper(dest, capacity, src, length, "", status);
  });
}

std::string foldCase(std::string_view s) {
  return mapCase(s, [](UChar* dest, int32_t capacity, const UChar* src, int32_t length, UErrorCode* status) {
    return u_strFoldCase(dest, capacity, src, length, U_FOLD_CASE_DEFAULT, status);
  });
}

std::size_t utf16Length(std::string_view s) {
  CodePointCursor cursor{s};
  std::size_t units = 0;
  while (!cursor.atEnd()) units += unitsOf(cursor.next());
  return units;
}

std::string substringToUTF16Index(std::string_view s, std::size_t n) {
  CodePointCursor cursor{s};
  std::size_t units = 0;
  while (!cursor.atEnd()) {
    int32_t at = cursor.pos;
    units += unitsOf(cursor.next());
    if (units > n) return std::string(s.substr(0, static_cast<std::size_t>(at)));
  }
  return std::string(s);
}

bool isValidUTF8(std::string_view s) {
  CodePointCursor cursor{s};
  while (!cursor.atEnd()) {
    if (cursor.next() < 0) return false;
  }
  return true;
}

void appendUTF8(std::string& out, char32_t c) {
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

}  // namespace platform
