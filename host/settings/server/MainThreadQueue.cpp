#include "MainThreadQueue.h"

namespace settings_host {

bool MainThreadQueue::push(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    jobs_.push_back(std::move(job));
  }
  ready_.notify_one();
  return true;
}

void MainThreadQueue::serve(const std::function<bool()>& stopRequested, std::chrono::milliseconds poll) {
  while (!stopRequested()) {
    std::function<void()> job;
    {
      std::unique_lock lock(mutex_);
      if (!ready_.wait_for(lock, poll, [this] { return closed_ || !jobs_.empty(); })) continue;
      if (jobs_.empty()) return;  // closed
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job();
  }
}

void MainThreadQueue::close() {
  std::deque<std::function<void()>> dropped;
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    dropped.swap(jobs_);
  }
  ready_.notify_all();
  // Destroyed outside the lock: each dropped job breaks its waiter's promise.
}

}  // namespace settings_host
