#ifndef CF_NUMBER_H
#define CF_NUMBER_H

#include "CoreFoundation/CFBase.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum {
  kCFNumberSInt8Type = 1,
  kCFNumberSInt16Type = 2,
  kCFNumberSInt32Type = 3,
  kCFNumberSInt64Type = 4,
  kCFNumberFloat32Type = 5,
  kCFNumberFloat64Type = 6,
  kCFNumberCharType = 7,
  kCFNumberShortType = 8,
  kCFNumberIntType = 9,
  kCFNumberLongType = 10,
  kCFNumberLongLongType = 11,
  kCFNumberFloatType = 12,
  kCFNumberDoubleType = 13,
  kCFNumberCFIndexType = 14,
  kCFNumberNSIntegerType = 15,
  kCFNumberCGFloatType = 16,
} CFNumberType;

CFTypeID CFNumberGetTypeID(void);
/* NULL for an unknown type or a null value pointer. */
CFNumberRef CFNumberCreate(CFAllocatorRef alloc, CFNumberType type, const void *valuePtr);
/* Converts to the requested type; false when the conversion lost
 * information (a fraction, or a value out of range). */
Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void *valuePtr);
Boolean CFNumberIsFloatType(CFNumberRef number);

CFTypeID CFBooleanGetTypeID(void);
extern const CFBooleanRef kCFBooleanTrue;
extern const CFBooleanRef kCFBooleanFalse;
Boolean CFBooleanGetValue(CFBooleanRef boolean);

#ifdef __cplusplus
}
#endif
#endif
