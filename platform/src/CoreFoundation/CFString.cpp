#include <cstring>
#include <mutex>
#include <unordered_map>

#include "CFObjects.h"
#include "platform/core/Strings.h"

namespace {

bool isASCII(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

const __CFString* asString(CFStringRef s) { return cfCast<__CFString>(s, kCFStringTypeID); }

}  // namespace

__CFString::__CFString(std::string_view text) {
  auto* copy = new char[text.size() + 1];
  std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  utf8 = std::string_view(copy, text.size());
}

CFTypeID __CFString::typeID() const { return kCFStringTypeID; }

void __CFString::destroy() {
  delete[] utf8.data();
  delete this;
}

extern "C" {

CFTypeID CFStringGetTypeID(void) { return kCFStringTypeID; }

CFStringRef __CFStringMakeConstantString(const char* cStr) {
  static std::mutex lock;
  static auto* table = new std::unordered_map<std::string, __CFString*>();
  std::lock_guard<std::mutex> guard(lock);
  auto [it, added] = table->try_emplace(cStr, nullptr);
  if (added) {
    it->second = new __CFString(cStr);
    it->second->immortal = true;
  }
  return it->second;
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char* cStr, CFStringEncoding encoding) {
  if (!cStr) return nullptr;
  std::string_view s(cStr);
  if (encoding == kCFStringEncodingUTF8 ? !platform::isValidUTF8(s) : (encoding != kCFStringEncodingASCII || !isASCII(s)))
    return nullptr;
  return new __CFString(s);
}

CFStringRef CFStringCreateCopy(CFAllocatorRef, CFStringRef str) {
  // Strings are immutable: a copy is the same object, retained.
  return asString(str) ? static_cast<CFStringRef>(CFRetain(str)) : nullptr;
}

Boolean CFStringGetCString(CFStringRef str, char* buffer, CFIndex bufferSize, CFStringEncoding encoding) {
  const __CFString* s = asString(str);
  if (!s || !buffer || bufferSize <= 0) return false;
  if (encoding == kCFStringEncodingASCII ? !isASCII(s->utf8) : encoding != kCFStringEncodingUTF8) return false;
  if (static_cast<CFIndex>(s->utf8.size()) >= bufferSize) return false;
  std::memcpy(buffer, s->utf8.data(), s->utf8.size() + 1);
  return true;
}

const char* CFStringGetCStringPtr(CFStringRef str, CFStringEncoding encoding) {
  const __CFString* s = asString(str);
  return s && encoding == kCFStringEncodingUTF8 ? s->utf8.data() : nullptr;
}

CFIndex CFStringGetLength(CFStringRef str) {
  const __CFString* s = asString(str);
  if (!s) return 0;
  CFIndex units = 0;
  for (unsigned char c : s->utf8) {
    if ((c & 0xC0) != 0x80) ++units;  // one unit per character...
    if ((c & 0xF8) == 0xF0) ++units;  // ...two for those outside the BMP
  }
  return units;
}

CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding) {
  return encoding == kCFStringEncodingUTF8 ? length * 3 : length;
}

}  // extern "C"
