// The exported typed accessors of the preference domain.
#include "Velloria/QHPreferences.h"

#include <cmath>

#include "Exports.h"

namespace {

// The identifier's string object, laid out at compile time: read-only data
// that no constructor fills.
constinit const __CFString kAppId = __CFString::constant("com.quietharbor.velloria");

}  // namespace

extern "C" {

#pragma GCC visibility push(default)
const CFStringRef _sAppId = &kAppId;
#pragma GCC visibility pop

}  // extern "C"

namespace {

void synchronize() { CFPreferencesSynchronize(_sAppId, kCFPreferencesCurrentUser, kCFPreferencesAnyHost); }

// Owned, or NULL.
CFPropertyListRef copyValue(CFStringRef key) {
  return CFPreferencesCopyValue(key, _sAppId, kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
}

// The value's copy, autoreleased, when it has the wanted type; the value
// itself is released either way.
CFTypeRef typedCopy(CFStringRef key, CFTypeID wanted) {
  synchronize();
  CFPropertyListRef value = copyValue(key);
  if (!value) return nullptr;
  CFTypeRef result = nullptr;
  // Values from the store are immutable, so a copy is a retain.
  if (CFGetTypeID(value) == wanted) result = CFAutorelease(CFRetain(value));
  CFRelease(value);
  return result;
}

}  // namespace

extern "C" {

VELLORIA_EXPORT CFNumberRef QHPreferenceNumberForKey(CFStringRef key) {
  return static_cast<CFNumberRef>(typedCopy(key, CFNumberGetTypeID()));
}

VELLORIA_EXPORT CFStringRef QHPreferenceStringForKey(CFStringRef key) {
  return static_cast<CFStringRef>(typedCopy(key, CFStringGetTypeID()));
}

VELLORIA_EXPORT CFArrayRef QHPreferenceArrayForKey(CFStringRef key) {
  return static_cast<CFArrayRef>(typedCopy(key, CFArrayGetTypeID()));
}

VELLORIA_EXPORT int32_t QHPreferecneIntForKey(CFStringRef key, int32_t defaultValue) {
  CFNumberRef n = QHPreferenceNumberForKey(key);
  if (!n) return defaultValue;
  // intValue as the device computes it: a real is cut toward zero and
  // saturates at the 32-bit range (the processor's conversion); an integer
  // keeps its low 32 bits (a C cast).
  if (CFNumberIsFloatType(n)) {
    double d = 0;
    CFNumberGetValue(n, kCFNumberDoubleType, &d);
    if (std::isnan(d)) return 0;
    if (d >= 2147483647.0) return INT32_MAX;
    if (d <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(d);
  }
  int64_t wide = 0;
  CFNumberGetValue(n, kCFNumberSInt64Type, &wide);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(wide)));
}

VELLORIA_EXPORT float QHPreferenceFloatForKey(CFStringRef key, float defaultValue) {
  CFNumberRef n = QHPreferenceNumberForKey(key);
  if (!n) return defaultValue;
  // Straight to a float, as floatValue converts: an integer is rounded once.
  float f = 0;
  CFNumberGetValue(n, kCFNumberFloatType, &f);
  return f;
}

VELLORIA_EXPORT bool QHPreferenceBoolForKey(CFStringRef key, bool defaultValue) {
  synchronize();
  CFPropertyListRef value = copyValue(key);
  if (!value) return defaultValue;
  bool result = CFGetTypeID(value) == CFBooleanGetTypeID() ? CFBooleanGetValue(static_cast<CFBooleanRef>(value))
                                                           : defaultValue;
  CFRelease(value);
  return result;
}

VELLORIA_EXPORT bool QHPreferenceSetIntForKey(CFStringRef key, int32_t value) {
  CFNumberRef number = static_cast<CFNumberRef>(CFAutorelease(CFNumberCreate(nullptr, kCFNumberSInt32Type, &value)));
  CFPreferencesSetValue(key, number, _sAppId, kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
  return CFPreferencesSynchronize(_sAppId, kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
}

VELLORIA_EXPORT bool QHPreferenceSetStringForKey(CFStringRef key, CFStringRef value) {
  CFPreferencesSetValue(key, value, _sAppId, kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
  return CFPreferencesSynchronize(_sAppId, kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
}

}  // extern "C"
