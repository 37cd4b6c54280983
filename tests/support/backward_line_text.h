#pragma once

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
  std::vector<char> scratch;
  for (std::int64_t at = line.Begin; at < line.End; ++at) text += in.BytesOf(at, at + 1, scratch).front();
  return text + kCR + kLF;
}

}  // namespace quillon::testing
