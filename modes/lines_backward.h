#pragma once

#include <cstddef>
#include <span>

namespace quillon {

// What CopyLinesBackward did: it copied `Written` bytes and stopped at `Stop`, the end of the
// first line it did not take. `OutOfRoom` says it stopped at a line whole in the block that
// did not fit in the room it was given.
struct LinesCopied {
  const char* Stop;
  std::size_t Written;
  bool OutOfRoom;
};

// "Line keep"'s step inside one block: takes the lines wholly in `block` that end at `stop`
// (one past the cursor), last first, each as the mode writes it (its content, a CR in front
// when a lone CR ended it, then CR LF), into `out`. It stops at a line that starts at the
// block's first byte or whose break might pair with a CR before the block: those go through
// the line walk across blocks. Bytes of `out` past `Written` may have been written over.
LinesCopied CopyLinesBackward(std::span<const char> block, const char* stop, std::span<char> out) noexcept;

}  // namespace quillon
