#include "modes/helper_thread.h"

#include <algorithm>
#include <atomic>

namespace quillon {

HelperThread::HelperThread() {
  if (std::thread::hardware_concurrency() > 1) thread_ = std::jthread([this](std::stop_token stop) { Serve(stop); });
}

HelperThread::~HelperThread() {
  if (thread_.joinable()) {
    thread_.request_stop();
    thread_.join();
  }
}

void HelperThread::RunBeside(const std::function<void()>& aside, const std::function<void()>& here) {
  if (!thread_.joinable()) {
    aside();
    here();
    return;
  }
  {
    const std::scoped_lock lock(mutex_);
    job_ = &aside;
    failure_ = nullptr;
  }
  changed_.notify_all();
  std::exception_ptr hereFailure;
  try {
    here();
  } catch (...) {
    hereFailure = std::current_exception();
  }
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return job_ == nullptr; });
  if (failure_) std::rethrow_exception(failure_);
  if (hereFailure) std::rethrow_exception(hereFailure);
}

void HelperThread::ShareOut(std::size_t count, const std::function<void(std::size_t)>& job) {
  std::atomic<std::size_t> claimed{0};
  const auto claim = [&] { return claimed.fetch_add(1, std::memory_order_relaxed) < count; };
  std::size_t front = 0;
  std::size_t back = count;
  RunBeside([&] { while (claim()) job(front++); }, [&] { while (claim()) job(--back); });
}

std::size_t HelperThread::PieceCount(std::size_t bytes, std::size_t splitMinimum) noexcept {
  if (bytes < splitMinimum || bytes < 2) return 1;
  return std::clamp<std::size_t>(bytes / std::max<std::size_t>(splitMinimum / 2, 1), 2, kMostPieces);
}

void HelperThread::Serve(std::stop_token stop) {
  std::unique_lock lock(mutex_);
  while (changed_.wait(lock, stop, [this] { return job_ != nullptr; })) {
    const std::function<void()>& job = *job_;
    lock.unlock();
    std::exception_ptr failure;
    try {
      job();
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    failure_ = failure;
    job_ = nullptr;
    changed_.notify_all();
  }
}

}  // namespace quillon
