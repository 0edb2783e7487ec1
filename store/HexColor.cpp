// The hex colour scan and the colour accessor.
#include <cctype>
#include <cstring>

#include "Exports.h"
#include "Velloria/QHPreferences.h"

namespace {

// The digit class of the C locale's table, whatever the current locale: a
// byte of 0x80 or above is never a digit.
int digitValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

extern "C" {

VELLORIA_EXPORT int hextoint(const char* string, uint32_t* out) {
  // A null string scans as empty; a null out scans into nothing.
  if (!string) return 1;
  uint32_t ignored = 0;
  if (!out) out = &ignored;
  size_t n = std::strlen(string);
  if (n == 0) return 1;
  if (n > 8) return 2;
  *out = 0;
  uint32_t weight = 1;
  for (size_t i = n; i-- > 0;) {
    int digit = digitValue(static_cast<unsigned char>(string[i]));
    if (digit < 0) return 4;
    *out += static_cast<uint32_t>(digit) * weight;
    weight *= 16;
  }
  return 1;
}

VELLORIA_EXPORT UIColor* QHPreferenceColorForKey(CFStringRef key, uint32_t defaultValue) {
  uint32_t value = defaultValue;
  if (CFStringRef s = QHPreferenceStringForKey(key)) {
    if (const char* utf8 = CFStringGetCStringPtr(s, kCFStringEncodingUTF8)) hextoint(utf8, &value);
  }
  return UIColor::colorWithRed(static_cast<double>(value >> 16) / 255.0,
                               static_cast<double>((value >> 8) & 0xFF) / 255.0,
                               static_cast<double>(value & 0xFF) / 255.0, 1.0);
}

}  // extern "C"
