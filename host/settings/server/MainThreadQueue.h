// Work handed from the HTTP threads to the one thread that owns the settings
// host. The host is only ever touched by that thread, one job at a time, in
// the order the jobs arrive; the HTTP threads hand a job over and wait.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>

namespace settings_host {

class MainThreadQueue {
 public:
  // Any thread: runs `job` on the serving thread and returns its result, or
  // nothing when the queue is closed before the job runs. An exception the
  // job throws comes out here.
  template <class Job>
  std::optional<std::invoke_result_t<Job>> run(Job job) {
    using Result = std::invoke_result_t<Job>;
    auto task = std::make_shared<std::packaged_task<Result()>>(std::move(job));
    std::future<Result> result = task->get_future();
    if (!push([task] { (*task)(); })) return std::nullopt;
    try {
      return result.get();
    } catch (const std::future_error&) {
      return std::nullopt;  // dropped unrun when the queue closed
    }
  }

  // The owning thread: runs jobs until `stopRequested` returns true, which is
  // asked after every job and at least every `poll` while none comes.
  void serve(const std::function<bool()>& stopRequested, std::chrono::milliseconds poll);

  // Any thread: takes no more jobs; those still waiting are dropped unrun.
  void close();

 private:
  bool push(std::function<void()> job);

  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> jobs_;
  bool closed_ = false;
};

}  // namespace settings_host
