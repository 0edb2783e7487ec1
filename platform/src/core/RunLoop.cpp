// The main thread's queue of deferred work (platform/RunLoop.h).
#include "platform/core/RunLoop.h"

#include <deque>

namespace platform {
namespace {

struct Queue {
  std::deque<std::function<void()>> items;
  bool draining = false;
};

Queue& queue() {
  static Queue q;
  return q;
}

}  // namespace

void RunLoop::enqueue(std::function<void()> work) {
  if (work) queue().items.push_back(std::move(work));
}

std::size_t RunLoop::drain() {
  Queue& q = queue();
  if (q.draining) return 0;
  q.draining = true;
  std::size_t ran = 0;
  try {
    while (!q.items.empty()) {
      auto work = std::move(q.items.front());
      q.items.pop_front();
      work();
      ++ran;
    }
  } catch (...) {
    q.draining = false;
    throw;
  }
  q.draining = false;
  return ran;
}

std::size_t RunLoop::pending() { return queue().items.size(); }

void RunLoop::clear() { queue().items.clear(); }

}  // namespace platform
