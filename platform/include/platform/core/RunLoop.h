// The main thread's run loop, as far as the system depends on it: work that
// a handler causes (a notification posted because a field became first
// responder inside a keyboard handler) is queued and runs after that handler
// returns, in the order it was queued. The settings host drains the queue
// after every command; tests drain it by hand.
#pragma once

#include <cstddef>
#include <functional>

namespace platform {

class RunLoop {
 public:
  // Queues work for the main thread.
  static void enqueue(std::function<void()> work);
  // Runs queued work, including work queued while draining, until none is
  // left; returns how many items ran. A drain inside a drain does nothing.
  static std::size_t drain();
  // Items waiting.
  static std::size_t pending();
  // Drops everything queued (a test's or a host's fresh start).
  static void clear();
};

}  // namespace platform
