// Message sends from C++ on the GNU Objective-C runtime, which dispatches by
// looking up the implementation (objc_msg_lookup) and calling it. Shared by
// the hook library and the bulletin-board host.
#pragma once

#include <objc/message.h>
#include <objc/runtime.h>

namespace objcxx {

// Converts between function pointer types (an IMP and the real signature of
// the method behind it), through the generic function pointer type.
template <class To, class From>
To functionCast(From function) {
  return reinterpret_cast<To>(reinterpret_cast<void (*)()>(function));
}

// Sends sel to receiver with args and returns what the method returns as R.
// A nil receiver answers zero, as a message to nil does.
template <class R, class... Args>
R send(id receiver, SEL sel, Args... args) {
  auto imp = functionCast<R (*)(id, SEL, Args...)>(objc_msg_lookup(receiver, sel));
  return imp(receiver, sel, args...);
}

}  // namespace objcxx
