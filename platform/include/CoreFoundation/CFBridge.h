// C++ bridges between Core Foundation objects and the platform's value type,
// for the system's own C++ code.
#pragma once

#include <optional>
#include <string>

#include "CoreFoundation/CoreFoundation.h"
#include "platform/core/Value.h"

namespace platform {

// A new object for a value (owned: CFRelease it); NULL for nil, live objects
// or text that is not valid UTF-8.
CFTypeRef createCFObject(const Value& value);

// The value an object holds; nil for NULL or an object that is no property
// list (a colour).
Value valueOfCFObject(CFTypeRef object);

// The UTF-8 text of a string object, or nothing for NULL or another type.
std::optional<std::string> stringOfCF(CFTypeRef object);

// An owned reference released when it goes out of scope.
class CFHolder {
 public:
  explicit CFHolder(CFTypeRef owned = nullptr) : ref_(owned) {}
  ~CFHolder() {
    if (ref_) CFRelease(ref_);
  }
  CFHolder(const CFHolder&) = delete;
  CFHolder& operator=(const CFHolder&) = delete;
  CFTypeRef get() const { return ref_; }
  template <class T>
  T as() const {
    return static_cast<T>(ref_);
  }

 private:
  CFTypeRef ref_;
};

}  // namespace platform
