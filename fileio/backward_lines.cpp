#include "fileio/backward_lines.h"

#include "fileio/line_breaks.h"

namespace quillon {

BackwardLine FindLineBackward(BackwardReader& in, ReadCursor& cursor) {
  const std::int64_t last = cursor.Offset;
  if (last < 0 || last >= in.size()) return {last + 1, last + 1, false};

  std::int64_t position = last;
  while (position >= 0) {
    const std::span<const char> block = in.BlockUpTo(position);
    const char* found = FindLastBreak(block.data(), block.data() + block.size());
    if (found == nullptr) {
      position = in.BlockStart() - 1;
      continue;
    }
    const std::int64_t breakAt = in.BlockStart() + (found - block.data());
    if (*found == kCR) {
      cursor.Offset = breakAt - 1;
      return {breakAt + 1, last + 1, true};
    }
    cursor.Offset = breakAt - 1;
    if (in.ByteAt(breakAt - 1) == static_cast<unsigned char>(kCR)) --cursor.Offset;
    return {breakAt + 1, last + 1, false};
  }
  cursor.Offset = -1;
  return {0, last + 1, false};
}

}  // namespace quillon
