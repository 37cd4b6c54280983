#pragma once

#include <span>
#include <string>
#include <vector>

#include "fileio/backward_lines.h"
#include "fileio/line_breaks.h"

namespace quillon::testing {

// Walks of a BackwardReader that give bytes and lines as text, to compare with the reference
// readers.

// The byte at the cursor, or 0 when there is none there; the cursor steps back by one either way.
inline unsigned char ReadByteBackward(BackwardReader& in, ReadCursor& cursor) {
  const unsigned char byte = in.ByteAt(cursor.Offset).value_or(0);
  --cursor.Offset;
  return byte;
}

// The line FindLineBackward finds, as text in reading order followed by CR LF.
inline std::string ReadLineBackward(BackwardReader& in, ReadCursor& cursor) {
  const BackwardLine line = FindLineBackward(in, cursor);
  std::string text;
  if (line.LoneCrInFront) text += kCR;
  // In one piece, as the modes take it: from the loaded block, or read past its edges.
  std::vector<char> scratch;
  const std::span<const char> content = in.BytesOf(line.Begin, line.End, scratch);
  text.append(content.begin(), content.end());
  return text + kCR + kLF;
}

}  // namespace quillon::testing
