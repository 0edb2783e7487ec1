#ifndef CF_ARRAY_H
#define CF_ARRAY_H

#include "CoreFoundation/CFBase.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef const void *(*CFArrayRetainCallBack)(CFAllocatorRef allocator, const void *value);
typedef void (*CFArrayReleaseCallBack)(CFAllocatorRef allocator, const void *value);
typedef CFStringRef (*CFArrayCopyDescriptionCallBack)(const void *value);
typedef Boolean (*CFArrayEqualCallBack)(const void *value1, const void *value2);
typedef struct {
  CFIndex version;
  CFArrayRetainCallBack retain;
  CFArrayReleaseCallBack release;
  CFArrayCopyDescriptionCallBack copyDescription;
  CFArrayEqualCallBack equal;
} CFArrayCallBacks;

/* Retains Core Foundation objects. Arrays made with NULL call-backs hold
 * their values unretained; either way, values must be Core Foundation
 * objects. */
extern const CFArrayCallBacks kCFTypeArrayCallBacks;

CFTypeID CFArrayGetTypeID(void);
CFArrayRef CFArrayCreate(CFAllocatorRef alloc, const void **values, CFIndex numValues,
                         const CFArrayCallBacks *callBacks);
CFIndex CFArrayGetCount(CFArrayRef array);
/* Borrowed; NULL for an index out of range. */
const void *CFArrayGetValueAtIndex(CFArrayRef array, CFIndex idx);

CFTypeID CFDictionaryGetTypeID(void);
CFIndex CFDictionaryGetCount(CFDictionaryRef dict);
/* The value under a string key, borrowed, or NULL. */
const void *CFDictionaryGetValue(CFDictionaryRef dict, const void *key);

CFTypeID CFDataGetTypeID(void);
CFIndex CFDataGetLength(CFDataRef data);
const uint8_t *CFDataGetBytePtr(CFDataRef data);

typedef double CFAbsoluteTime;
CFTypeID CFDateGetTypeID(void);
CFAbsoluteTime CFDateGetAbsoluteTime(CFDateRef date);

#ifdef __cplusplus
}
#endif
#endif
