// The concrete Core Foundation objects behind the opaque refs.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "CoreFoundation/CoreFoundation.h"
#include "platform/core/Value.h"

enum CFTypeIDs : CFTypeID {
  kCFStringTypeID = 7,
  kCFNumberTypeID = 22,
  kCFBooleanTypeID = 21,
  kCFArrayTypeID = 19,
  kCFDictionaryTypeID = 18,
  kCFDataTypeID = 20,
  kCFDateTypeID = 42,
  kUIColorTypeID = 1000,
};

// Holds an integer or a real Value.
struct __CFNumber final : __CFObject {
  explicit __CFNumber(platform::Value v) : value(std::move(v)) {}
  CFTypeID typeID() const override { return kCFNumberTypeID; }
  void destroy() override { delete this; }
  platform::Value value;
};

struct __CFBoolean final : __CFObject {
  explicit __CFBoolean(bool v) : value(v) { immortal = true; }
  CFTypeID typeID() const override { return kCFBooleanTypeID; }
  void destroy() override {}  // immortal
  bool value;
};

struct __CFArray final : __CFObject {
  CFTypeID typeID() const override { return kCFArrayTypeID; }
  void destroy() override { delete this; }
  ~__CFArray();
  std::vector<CFTypeRef> values;
  bool retains = true;
};

struct __CFDictionary final : __CFObject {
  CFTypeID typeID() const override { return kCFDictionaryTypeID; }
  void destroy() override { delete this; }
  ~__CFDictionary();
  std::vector<std::pair<std::string, CFTypeRef>> entries;  // values owned
};

struct __CFData final : __CFObject {
  explicit __CFData(platform::Data d) : bytes(std::move(d)) {}
  CFTypeID typeID() const override { return kCFDataTypeID; }
  void destroy() override { delete this; }
  platform::Data bytes;
};

struct __CFDate final : __CFObject {
  explicit __CFDate(double t) : time(t) {}
  CFTypeID typeID() const override { return kCFDateTypeID; }
  void destroy() override { delete this; }
  double time;
};

// The object behind a ref (refs are always __CFObject pointers).
inline const __CFObject* cfObject(CFTypeRef ref) { return static_cast<const __CFObject*>(ref); }

template <class T>
const T* cfCast(CFTypeRef ref, CFTypeID id) {
  return ref && cfObject(ref)->typeID() == id ? static_cast<const T*>(cfObject(ref)) : nullptr;
}
