// A fixed set of worker threads that run the tasks of one call in parallel;
// the calling thread works too, and Run returns when every task is done.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vyn::raster {

class ThreadPool {
 public:
  // `threads` counts the caller: 1 runs everything on the calling thread.
  explicit ThreadPool(int threads);
  ~ThreadPool();
  ThreadPool(const ThreadPool&) = delete;
  ThreadPool& operator=(const ThreadPool&) = delete;

  int threads() const { return static_cast<int>(workers_.size()) + 1; }

  // Calls work(task) once for every task in [0, tasks), in no fixed order.
  void Run(int tasks, const std::function<void(int)>& work);

  // Threads to use when nobody says: VYN_RENDER_THREADS, else the cores.
  static int DefaultThreads();

 private:
  void WorkerLoop();
  void Drain();

  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  const std::function<void(int)>* work_ = nullptr;
  int tasks_ = 0;
  std::atomic<int> next_{0};
  int busy_ = 0;
  unsigned generation_ = 0;
  bool stopping_ = false;
};

}  // namespace vyn::raster
