#pragma once

#include <cstdint>

#include "fileio/backward_reader.h"

namespace quillon {

// One line found walking backwards: its content is the file's bytes [Begin, End). A line
// that a lone CR ended is given back with that CR in front of its content.
struct BackwardLine {
  std::int64_t Begin = 0;
  std::int64_t End = 0;
  bool LoneCrInFront = false;

  [[nodiscard]] std::int64_t TextLength() const noexcept { return End - Begin + (LoneCrInFront ? 3 : 2); }
};

// Finds the line that ends at the cursor and leaves the cursor on the last content byte of
// the line before it. The break before the line (LF, CR LF or a lone CR) is stepped over.
// At the file's first line the cursor ends at -1. A cursor outside the file gives an empty
// line and does not move.
BackwardLine FindLineBackward(BackwardReader& in, ReadCursor& cursor);

}  // namespace quillon
