#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace quillon {

// A second thread for the share of a block's work that can run beside the caller's: the
// Unicode kernels cost more than reading and writing, and the machine has a second core.
// Where there is only one core, both shares run on the caller's thread, one after the other.
class HelperThread {
 public:
  HelperThread();
  ~HelperThread();
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;

  // Runs `aside` on the helper thread while `here` runs on the caller's, and returns once both
  // are done. An exception from either is thrown here, the helper's first.
  void RunBeside(const std::function<void()>& aside, const std::function<void()>& here);

  // Runs job(i) once for every i in [0, count) on both threads: the helper takes them from the
  // first on and the caller from the last back, each while any is left, so that a thread that
  // starts late (the writer may hold the other core) or runs slower does fewer. Returns once
  // all are done; throws as RunBeside does.
  void ShareOut(std::size_t count, const std::function<void(std::size_t)>& job);

  // Into how many pieces to cut `bytes` for ShareOut: none below `splitMinimum`, and pieces of
  // at least half of it, at most kMostPieces.
  static std::size_t PieceCount(std::size_t bytes, std::size_t splitMinimum) noexcept;
  static constexpr std::size_t kMostPieces = 8;

 private:
  void Serve(std::stop_token stop);

  std::mutex mutex_;
  std::condition_variable_any changed_;
  const std::function<void()>* job_ = nullptr;  // the job handed over and not yet finished
  std::exception_ptr failure_;
  std::jthread thread_;  // last: it starts once the members it uses exist, and stops first
};

}  // namespace quillon
