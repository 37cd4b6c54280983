#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "window/result_index.h"
#include "window/result_position.h"

namespace quillon {

// The lines of a result as one reader sees them: the index over the bytes it was built from.
struct ResultLines {
  const ResultIndex& index;
  std::span<const char> bytes;

  [[nodiscard]] std::uint64_t Count() const noexcept { return index.LineCount(); }
  [[nodiscard]] std::uint64_t Length(std::uint64_t line) const { return index.LineLength(bytes, line); }
  [[nodiscard]] std::size_t Start(std::uint64_t line) const { return index.LineStart(bytes, line); }
  [[nodiscard]] std::size_t Offset(TextPosition position) const { return index.OffsetOf(bytes, position); }
  [[nodiscard]] TextPosition End() const { return {Count() - 1, Length(Count() - 1)}; }
};

}  // namespace quillon
