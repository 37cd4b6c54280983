#pragma once

#include <cstdint>
#include <string>

#include "resultview/result_lines.h"

namespace quillon {

// The characters of the bytes of `lines` from `begin` to `end` as a copy gives them: each
// line break (CR LF, LF or a lone CR) one LF; UTF-8 text decoded; a text of bytes one
// Windows-1252 character a byte.
std::u16string CopiedText(const ResultLines& lines, std::uint64_t begin, std::uint64_t end);

}  // namespace quillon
