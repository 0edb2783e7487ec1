#ifndef CF_STRING_H
#define CF_STRING_H

#include "CoreFoundation/CFBase.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
  kCFStringEncodingMacRoman = 0,
  kCFStringEncodingASCII = 0x0600,
  kCFStringEncodingUTF8 = 0x08000100,
};

CFTypeID CFStringGetTypeID(void);

/* An immortal string for a literal, the same object for the same text. */
CFStringRef __CFStringMakeConstantString(const char *cStr);
#define CFSTR(cStr) __CFStringMakeConstantString("" cStr "")

/* NULL when the bytes are not valid in the encoding (UTF-8 or ASCII). */
CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char *cStr, CFStringEncoding encoding);
CFStringRef CFStringCreateCopy(CFAllocatorRef alloc, CFStringRef str);
/* Copies the text with a terminating NUL; false when it does not fit or
 * cannot be represented in the encoding. */
Boolean CFStringGetCString(CFStringRef str, char *buffer, CFIndex bufferSize, CFStringEncoding encoding);
/* The UTF-8 text held by the string (valid while the string lives), for
 * kCFStringEncodingUTF8; NULL for other encodings. */
const char *CFStringGetCStringPtr(CFStringRef str, CFStringEncoding encoding);
/* Length in UTF-16 code units. */
CFIndex CFStringGetLength(CFStringRef str);
CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding);

#ifdef __cplusplus
}

#include <string_view>

/* The object behind a CFStringRef: UTF-8 text, followed by a NUL. */
struct __CFString final : __CFObject {
  /* A string holding its own copy of the text. */
  explicit __CFString(std::string_view text);
  /* A constant string over static text (a literal: NUL-terminated), made at
   * compile time as the device's compiler lays out string constants: no code
   * builds or frees it, and an object declared const lives in read-only
   * memory. For static data such as exported identifiers. */
  static constexpr __CFString constant(std::string_view literal) { return __CFString(literal, true); }

  CFTypeID typeID() const override;
  void destroy() override;

  std::string_view utf8;

 private:
  constexpr __CFString(std::string_view literal, bool) : utf8(literal) { immortal = true; }
};
#endif
#endif
