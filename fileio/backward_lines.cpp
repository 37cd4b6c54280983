#include "fileio/backward_lines.h"

#include "fileio/line_breaks.h"

namespace quillon {

unsigned char ReadByteBackward(BackwardReader& in, ReadCursor& cursor) {
  const unsigned char byte = in.ByteAt(cursor.Offset).value_or(0);
  --cursor.Offset;
  return byte;
}

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

std::string ReadLineBackward(BackwardReader& in, ReadCursor& cursor) {
  const BackwardLine line = FindLineBackward(in, cursor);
  std::string text(static_cast<std::size_t>(line.TextLength()), '\0');
  char* out = text.data();
  if (line.LoneCrInFront) *out++ = kCR;
  in.CopyRange(line.Begin, line.End, out);
  text[text.size() - 2] = kCR;
  text[text.size() - 1] = kLF;
  return text;
}

}  // namespace quillon
