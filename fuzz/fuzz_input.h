#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "fileio/backward_reader.h"

namespace quillon::fuzzing {

// Reads a fuzz input as a few leading parameter bytes followed by a file's content. Bytes
// asked for past the end read as 0, so that every input, however short, means something.
class FuzzInput {
 public:
  explicit FuzzInput(std::span<const std::uint8_t> bytes) noexcept : bytes_(bytes) {}

  std::uint8_t TakeByte() noexcept {
    if (bytes_.empty()) return 0;
    const std::uint8_t byte = bytes_.front();
    bytes_ = bytes_.subspan(1);
    return byte;
  }

  std::uint16_t TakeWord() noexcept {
    const std::uint8_t low = TakeByte();
    return static_cast<std::uint16_t>(low | TakeByte() << 8);
  }

  std::span<const std::uint8_t> TakeBytes(std::size_t count) noexcept {
    const std::span<const std::uint8_t> taken = bytes_.first(std::min(count, bytes_.size()));
    bytes_ = bytes_.subspan(taken.size());
    return taken;
  }

  // Everything not taken yet.
  [[nodiscard]] std::string_view Rest() const noexcept {
    return {reinterpret_cast<const char*>(bytes_.data()), bytes_.size()};
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

// Blocks of 1 to 255 bytes put line breaks on block edges and both sides of the vector
// scans' 16- and 64-byte steps; 0 stands for the engine's usual block.
inline std::size_t BlockSizeFrom(std::uint8_t byte) noexcept { return byte == 0 ? kDefaultBlockSize : byte; }

}  // namespace quillon::fuzzing
