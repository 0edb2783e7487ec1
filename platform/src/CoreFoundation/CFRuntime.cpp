// Reference counting, type identities and the per-thread autorelease pools.
#include <vector>

#include "CFObjects.h"
#include "CoreFoundation/CFBridge.h"

namespace {

// The pools of one thread: a stack of marks into one list of pending
// releases. Whatever is left is released when the thread ends.
struct PoolStack {
  std::vector<CFTypeRef> pending;
  std::vector<std::size_t> marks;

  void drainTo(std::size_t size) {
    // Releasing may autorelease more (a destructor never does here), so pop
    // one at a time.
    while (pending.size() > size) {
      CFTypeRef ref = pending.back();
      pending.pop_back();
      CFRelease(ref);
    }
  }
  ~PoolStack() { drainTo(0); }
};

PoolStack& pools() {
  thread_local PoolStack stack;
  return stack;
}

}  // namespace

__CFArray::~__CFArray() {
  if (retains)
    for (CFTypeRef v : values) CFRelease(v);
}

__CFDictionary::~__CFDictionary() {
  for (auto& e : entries) CFRelease(e.second);
}

extern "C" {

const double kCFCoreFoundationVersionNumber = 1240.10;

CFTypeRef CFRetain(CFTypeRef cf) {
  if (cf && !cfObject(cf)->immortal)
    const_cast<__CFObject*>(cfObject(cf))->retainCount.fetch_add(1, std::memory_order_relaxed);
  return cf;
}

void CFRelease(CFTypeRef cf) {
  if (!cf || cfObject(cf)->immortal) return;
  auto* obj = const_cast<__CFObject*>(cfObject(cf));
  if (obj->retainCount.fetch_sub(1, std::memory_order_acq_rel) == 1) obj->destroy();
}

CFTypeRef CFAutorelease(CFTypeRef cf) {
  if (cf) pools().pending.push_back(cf);
  return cf;
}

CFTypeID CFGetTypeID(CFTypeRef cf) { return cf ? cfObject(cf)->typeID() : 0; }

CFIndex CFGetRetainCount(CFTypeRef cf) {
  if (!cf) return 0;
  return cfObject(cf)->immortal ? LONG_MAX : cfObject(cf)->retainCount.load();
}

Boolean CFEqual(CFTypeRef a, CFTypeRef b) {
  if (a == b) return true;
  if (!a || !b) return false;
  platform::Value va = platform::valueOfCFObject(a), vb = platform::valueOfCFObject(b);
  return !va.isNil() && va == vb;
}

void* objc_autoreleasePoolPush(void) {
  PoolStack& p = pools();
  p.marks.push_back(p.pending.size());
  // The token is the pool's depth, never null.
  return reinterpret_cast<void*>(p.marks.size());
}

void objc_autoreleasePoolPop(void* pool) {
  PoolStack& p = pools();
  auto depth = reinterpret_cast<std::size_t>(pool);
  if (depth == 0 || depth > p.marks.size()) return;  // not a live pool of this thread
  std::size_t mark = p.marks[depth - 1];
  p.marks.resize(depth - 1);
  p.drainTo(mark);
}

}  // extern "C"
