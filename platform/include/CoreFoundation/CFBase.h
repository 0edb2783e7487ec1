/* The platform's Core Foundation: the subset of the C API that the system and
 * the programs reading its preferences need, with Core Foundation's own names,
 * signatures and ownership rule: a function with Create or Copy in its name
 * hands the caller a reference it owns and must CFRelease; Get returns a
 * reference the caller does not own. */
#ifndef CF_BASE_H
#define CF_BASE_H

#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
#include <atomic>
extern "C" {
#endif

typedef const void *CFTypeRef;
typedef unsigned long CFTypeID;
typedef long CFIndex;
typedef unsigned char Boolean;
typedef uint32_t CFStringEncoding;
typedef CFTypeRef CFPropertyListRef;

typedef const struct __CFAllocator *CFAllocatorRef;
typedef const struct __CFString *CFStringRef;
typedef const struct __CFNumber *CFNumberRef;
typedef const struct __CFBoolean *CFBooleanRef;
typedef const struct __CFArray *CFArrayRef;
typedef const struct __CFDictionary *CFDictionaryRef;
typedef const struct __CFData *CFDataRef;
typedef const struct __CFDate *CFDateRef;

/* Only the default allocator exists; any allocator argument is accepted. */
#define kCFAllocatorDefault ((CFAllocatorRef)0)

CFTypeRef CFRetain(CFTypeRef cf);
void CFRelease(CFTypeRef cf);
/* Hands an owned reference to the current thread's innermost autorelease
 * pool; returns it, now borrowed. */
CFTypeRef CFAutorelease(CFTypeRef cf);
CFTypeID CFGetTypeID(CFTypeRef cf);
CFIndex CFGetRetainCount(CFTypeRef cf);
/* Equality as Foundation defines it (numbers by value, booleans apart). */
Boolean CFEqual(CFTypeRef a, CFTypeRef b);

/* The version of this Core Foundation: 1240.10, the value of iOS 9.0 (filters
 * and callers compare it as they would on a device). */
extern const double kCFCoreFoundationVersionNumber;

/* Per-thread autorelease pools. A pool releases what was autoreleased into it
 * when it is popped; popping a pool pops every pool pushed after it too. A
 * thread that autoreleases with no pool pushed uses an outermost pool that is
 * drained when the thread ends. */
void *objc_autoreleasePoolPush(void);
void objc_autoreleasePoolPop(void *pool);

#ifdef __cplusplus
}

/* Every Core Foundation object: counted, with its type identity. */
struct __CFObject {
  virtual CFTypeID typeID() const = 0;
  /* Frees the object (as its own type) when its last reference goes. */
  virtual void destroy() = 0;
  /* Constant objects (CFSTR strings, the two booleans, string constants laid
   * out at compile time) are never freed. */
  bool immortal = false;
  std::atomic<long> retainCount{1};

 protected:
  /* Not virtual: objects are freed through destroy(), so a constant object
   * can be trivially destructible, with nothing to run at exit. */
  ~__CFObject() = default;
};
#endif

#endif
