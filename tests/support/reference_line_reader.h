#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::testing {

// Small, obviously correct models of the backward readers, one positioned one-byte read at a
// time, for checking the block engine against.

// The byte at `cursor`; nothing before the start or at or after the end.
inline std::optional<char> ReferenceByteAt(std::string_view file, std::int64_t cursor) {
  if (cursor < 0 || cursor >= static_cast<std::int64_t>(file.size())) return std::nullopt;
  return file[static_cast<std::size_t>(cursor)];
}

// The byte at the cursor, or 0 when there is none; the cursor steps back either way.
inline unsigned char ReferenceReadByteBackward(std::string_view file, std::int64_t& cursor) {
  const auto byte = static_cast<unsigned char>(ReferenceByteAt(file, cursor).value_or('\0'));
  --cursor;
  return byte;
}

// Collects bytes going back from the cursor until a break. An LF ends the line and takes a
// CR before it along; a lone CR ends the line and stays in it, in front. A read outside the
// file ends the line where it is. The line comes back in reading order followed by CR LF.
inline std::string ReferenceReadLineBackward(std::string_view file, std::int64_t& cursor) {
  std::string collected;
  for (;;) {
    const std::optional<char> byte = ReferenceByteAt(file, cursor);
    if (!byte) break;
    --cursor;
    if (*byte == '\n') {
      if (ReferenceByteAt(file, cursor) == '\r') --cursor;
      break;
    }
    collected += *byte;
    if (*byte == '\r') break;
  }
  std::reverse(collected.begin(), collected.end());
  return collected + "\r\n";
}

}  // namespace quillon::testing
