#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace quillon {

// Where the result's bytes are read from: the output file through a cache, or bytes in memory.
class ByteSource {
 public:
  virtual ~ByteSource() = default;

  // Copies the bytes from `offset` into `out`; returns how many, fewer than out.size() where
  // the text ends sooner (or can no longer be read: the reader takes that as the end).
  virtual std::size_t Read(std::uint64_t offset, std::span<char> out) const = 0;
};

// Bytes in memory, for texts that are not in a file.
class SpanByteSource : public ByteSource {
 public:
  explicit SpanByteSource(std::span<const char> bytes) noexcept : bytes_(bytes) {}

  std::size_t Read(std::uint64_t offset, std::span<char> out) const override {
    if (offset >= bytes_.size()) return 0;
    const std::size_t count = std::min<std::size_t>(out.size(), bytes_.size() - static_cast<std::size_t>(offset));
    std::memcpy(out.data(), bytes_.data() + offset, count);
    return count;
  }

 private:
  std::span<const char> bytes_;
};

}  // namespace quillon
