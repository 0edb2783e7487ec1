// Arrays, dictionaries, data and dates.
#include "CFObjects.h"

namespace {

const void* retainValue(CFAllocatorRef, const void* value) { return CFRetain(value); }
void releaseValue(CFAllocatorRef, const void* value) { CFRelease(value); }
Boolean equalValues(const void* a, const void* b) { return CFEqual(a, b); }

}  // namespace

extern "C" {

const CFArrayCallBacks kCFTypeArrayCallBacks = {0, retainValue, releaseValue, nullptr, equalValues};

CFTypeID CFArrayGetTypeID(void) { return kCFArrayTypeID; }
CFTypeID CFDictionaryGetTypeID(void) { return kCFDictionaryTypeID; }
CFTypeID CFDataGetTypeID(void) { return kCFDataTypeID; }
CFTypeID CFDateGetTypeID(void) { return kCFDateTypeID; }

CFArrayRef CFArrayCreate(CFAllocatorRef, const void** values, CFIndex numValues, const CFArrayCallBacks* callBacks) {
  if (numValues < 0 || (numValues > 0 && !values)) return nullptr;
  auto* a = new __CFArray();
  a->retains = callBacks != nullptr;
  a->values.reserve(static_cast<std::size_t>(numValues));
  for (CFIndex i = 0; i < numValues; ++i) a->values.push_back(a->retains ? CFRetain(values[i]) : values[i]);
  return a;
}

CFIndex CFArrayGetCount(CFArrayRef array) {
  auto a = cfCast<__CFArray>(array, kCFArrayTypeID);
  return a ? static_cast<CFIndex>(a->values.size()) : 0;
}

const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex idx) {
  auto a = cfCast<__CFArray>(array, kCFArrayTypeID);
  if (!a || idx < 0 || idx >= static_cast<CFIndex>(a->values.size())) return nullptr;
  return a->values[static_cast<std::size_t>(idx)];
}

CFIndex CFDictionaryGetCount(CFDictionaryRef dict) {
  auto d = cfCast<__CFDictionary>(dict, kCFDictionaryTypeID);
  return d ? static_cast<CFIndex>(d->entries.size()) : 0;
}

const void* CFDictionaryGetValue(CFDictionaryRef dict, const void* key) {
  auto d = cfCast<__CFDictionary>(dict, kCFDictionaryTypeID);
  auto k = cfCast<__CFString>(key, kCFStringTypeID);
  if (!d || !k) return nullptr;
  for (auto& e : d->entries)
    if (e.first == k->utf8) return e.second;
  return nullptr;
}

CFIndex CFDataGetLength(CFDataRef data) {
  auto d = cfCast<__CFData>(data, kCFDataTypeID);
  return d ? static_cast<CFIndex>(d->bytes.size()) : 0;
}

const uint8_t* CFDataGetBytePtr(CFDataRef data) {
  auto d = cfCast<__CFData>(data, kCFDataTypeID);
  return d ? d->bytes.data() : nullptr;
}

CFAbsoluteTime CFDateGetAbsoluteTime(CFDateRef date) {
  auto d = cfCast<__CFDate>(date, kCFDateTypeID);
  return d ? d->time : 0;
}

}  // extern "C"
