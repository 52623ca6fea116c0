#include "raster/ThreadPool.h"

#include <cstdlib>

namespace vyn::raster {

ThreadPool::ThreadPool(int threads) {
  for (int i = 1; i < threads; ++i) workers_.emplace_back([this] { WorkerLoop(); });
}

ThreadPool::~ThreadPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

int ThreadPool::DefaultThreads() {
  if (const char* forced = std::getenv("VYN_RENDER_THREADS")) {
    const int n = std::atoi(forced);
    if (n >= 1 && n <= 64) return n;
  }
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(cores > 16 ? 16 : cores);
}

void ThreadPool::Drain() {
  for (int task = next_.fetch_add(1); task < tasks_; task = next_.fetch_add(1)) (*work_)(task);
}

void ThreadPool::Run(int tasks, const std::function<void(int)>& work) {
  if (tasks <= 0) return;
  if (workers_.empty() || tasks == 1) {
    for (int task = 0; task < tasks; ++task) work(task);
    return;
  }
  {
    std::lock_guard lock(mutex_);
    work_ = &work;
    tasks_ = tasks;
    next_.store(0);
    busy_ = static_cast<int>(workers_.size());
    ++generation_;
  }
  wake_.notify_all();
  Drain();
  std::unique_lock lock(mutex_);
  done_.wait(lock, [this] { return busy_ == 0; });
  work_ = nullptr;
}

void ThreadPool::WorkerLoop() {
  unsigned seen = 0;
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
      if (stopping_) return;
      seen = generation_;
    }
    Drain();
    {
      std::lock_guard lock(mutex_);
      if (--busy_ == 0) done_.notify_one();
    }
  }
}

}  // namespace vyn::raster
