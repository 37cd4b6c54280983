#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <shared_mutex>
#include <span>
#include <string>
#include <vector>

namespace quillon {

// The text of the result box: the run's output bytes, one character per byte, appended as the
// run writes them. The window reads it from its own thread while the run goes on.
class ResultText {
 public:
  ResultText() = default;
  ResultText(const ResultText&) = delete;
  ResultText& operator=(const ResultText&) = delete;

  // Empties the text; a reader can tell the new text from the old by its generation.
  void Reset();

  void Append(std::span<const char> bytes);

  [[nodiscard]] std::size_t size() const noexcept { return size_.load(std::memory_order_acquire); }

  // Counts the resets, so that a reader can tell a new text from a longer one.
  [[nodiscard]] std::uint64_t generation() const noexcept { return generation_.load(std::memory_order_acquire); }

  // The bytes so far, safe to read while the view lives, even while the run goes on.
  class View {
   public:
    [[nodiscard]] std::span<const char> bytes() const noexcept { return bytes_; }

   private:
    friend class ResultText;
    View(std::shared_lock<std::shared_mutex> lock, std::span<const char> bytes) : lock_(std::move(lock)), bytes_(bytes) {}
    std::shared_lock<std::shared_mutex> lock_;
    std::span<const char> bytes_;
  };
  [[nodiscard]] View Read() const;

  // A copy of the bytes so far.
  [[nodiscard]] std::string Text() const;

 private:
  mutable std::shared_mutex mutex_;
  std::vector<char> bytes_;
  std::atomic<std::size_t> size_{0};
  std::atomic<std::uint64_t> generation_{0};
};

}  // namespace quillon
