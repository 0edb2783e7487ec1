#include <cmath>
#include <cstring>
#include <limits>

#include "CFObjects.h"

namespace {

const __CFBoolean trueObject(true), falseObject(false);

// Width and kind of each number type on this (LP64) platform.
struct Layout {
  int bytes;
  bool isFloat;
};

bool layoutOf(CFNumberType type, Layout& out) {
  switch (type) {
    case kCFNumberSInt8Type: case kCFNumberCharType: out = {1, false}; return true;
    case kCFNumberSInt16Type: case kCFNumberShortType: out = {2, false}; return true;
    case kCFNumberSInt32Type: case kCFNumberIntType: out = {4, false}; return true;
    case kCFNumberSInt64Type: case kCFNumberLongType: case kCFNumberLongLongType:
    case kCFNumberCFIndexType: case kCFNumberNSIntegerType: out = {8, false}; return true;
    case kCFNumberFloat32Type: case kCFNumberFloatType: out = {4, true}; return true;
    case kCFNumberFloat64Type: case kCFNumberDoubleType: case kCFNumberCGFloatType: out = {8, true}; return true;
  }
  return false;
}

template <class T>
T load(const void* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <class T>
void store(void* p, T v) {
  std::memcpy(p, &v, sizeof v);
}

// Stores an integer in a signed field of the given width; false when it does
// not fit (the low bits are stored then, as Core Foundation does).
bool storeInteger(void* p, int bytes, std::int64_t v, bool unsignedBig) {
  switch (bytes) {
    case 1: store(p, static_cast<std::int8_t>(v)); return !unsignedBig && v >= INT8_MIN && v <= INT8_MAX;
    case 2: store(p, static_cast<std::int16_t>(v)); return !unsignedBig && v >= INT16_MIN && v <= INT16_MAX;
    case 4: store(p, static_cast<std::int32_t>(v)); return !unsignedBig && v >= INT32_MIN && v <= INT32_MAX;
    default: store(p, v); return !unsignedBig;
  }
}

// Whether a float is exactly the integer value v holds.
bool floatHoldsInteger(float f, const platform::Value& v) {
  if (v.isUnsignedBig())
    return f < 0x1p64f && static_cast<std::uint64_t>(f) == static_cast<std::uint64_t>(v.int64Value());
  return f >= -0x1p63f && f < 0x1p63f && static_cast<std::int64_t>(f) == v.int64Value();
}

}  // namespace

extern "C" {

const CFBooleanRef kCFBooleanTrue = &trueObject;
const CFBooleanRef kCFBooleanFalse = &falseObject;

CFTypeID CFNumberGetTypeID(void) { return kCFNumberTypeID; }
CFTypeID CFBooleanGetTypeID(void) { return kCFBooleanTypeID; }

Boolean CFBooleanGetValue(CFBooleanRef boolean) {
  auto b = cfCast<__CFBoolean>(boolean, kCFBooleanTypeID);
  return b && b->value;
}

CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType type, const void* valuePtr) {
  Layout l;
  if (!valuePtr || !layoutOf(type, l)) return nullptr;
  if (l.isFloat)
    return new __CFNumber(platform::Value(l.bytes == 4 ? static_cast<double>(load<float>(valuePtr))
                                                       : load<double>(valuePtr)));
  switch (l.bytes) {
    case 1: return new __CFNumber(platform::Value(static_cast<int>(load<std::int8_t>(valuePtr))));
    case 2: return new __CFNumber(platform::Value(static_cast<int>(load<std::int16_t>(valuePtr))));
    case 4: return new __CFNumber(platform::Value(load<std::int32_t>(valuePtr)));
    default: return new __CFNumber(platform::Value(static_cast<long long>(load<std::int64_t>(valuePtr))));
  }
}

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void* valuePtr) {
  auto n = cfCast<__CFNumber>(number, kCFNumberTypeID);
  Layout l;
  if (!n || !valuePtr || !layoutOf(type, l)) return false;
  const platform::Value& v = n->value;
  if (l.isFloat) {
    double d = v.doubleValue();
    if (l.bytes == 4) {
      float f = v.floatValue();
      store(valuePtr, f);
      return v.isReal() ? static_cast<double>(f) == d || std::isnan(d) : floatHoldsInteger(f, v);
    }
    store(valuePtr, d);
    return v.isReal() || static_cast<double>(static_cast<std::int64_t>(d)) == d;
  }
  if (v.isReal()) {
    double d = v.doubleValue();
    std::int64_t i = v.int64Value();  // cut toward zero, saturated
    bool exact = std::trunc(d) == d && d >= -9.2233720368547758e18 && d < 9.2233720368547758e18;
    return storeInteger(valuePtr, l.bytes, i, false) && exact;
  }
  return storeInteger(valuePtr, l.bytes, v.int64Value(), v.isUnsignedBig());
}

Boolean CFNumberIsFloatType(CFNumberRef number) {
  auto n = cfCast<__CFNumber>(number, kCFNumberTypeID);
  return n && n->value.isReal();
}

}  // extern "C"
