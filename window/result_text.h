#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <shared_mutex>
#include <span>
#include <string>

namespace quillon {

// The text of the result box: the run's output bytes, one character per byte. The run writes
// into reserved memory and publishes how much of it is final; the window reads the published
// bytes from its own thread while the run goes on. The memory is reserved once per run and
// only the pages written are ever backed, so a 1 GiB result costs 1 GiB and is never copied.
class ResultText {
 public:
  ResultText() = default;
  ResultText(const ResultText&) = delete;
  ResultText& operator=(const ResultText&) = delete;
  ~ResultText();

  // Empties the text and reserves room for `capacity` bytes. Throws std::bad_alloc when the
  // room cannot be reserved.
  void Reset(std::size_t capacity = 0);

  // The reserved room. Bytes written past size() are not shown until published.
  [[nodiscard]] std::span<char> Room() noexcept { return {data_, capacity_}; }

  // Makes the first `size` bytes of the room the text.
  void Publish(std::size_t size) noexcept { size_.store(size, std::memory_order_release); }

  [[nodiscard]] std::size_t size() const noexcept { return size_.load(std::memory_order_acquire); }

  // Counts the resets, so that a reader can tell a new text from a longer one.
  [[nodiscard]] std::uint64_t generation() const noexcept { return generation_.load(std::memory_order_acquire); }

  // The published bytes, safe to read while the view lives, even while the run goes on.
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

  // A copy of the published bytes.
  [[nodiscard]] std::string Text() const;

 private:
  void Release() noexcept;

  mutable std::shared_mutex mapping_;
  char* data_ = nullptr;
  std::size_t capacity_ = 0;
  std::atomic<std::size_t> size_{0};
  std::atomic<std::uint64_t> generation_{0};
};

}  // namespace quillon
