#pragma once

#include <string>
#include <string_view>

namespace quillon::fuzzing {

// "" when `got` equals `expected`, otherwise where they part, for a fuzz report:
// `output: 12 bytes, expected 13; first difference at byte 4: 0x0D, expected 0x0A`.
std::string Difference(std::string_view what, std::string_view got, std::string_view expected);

}  // namespace quillon::fuzzing
