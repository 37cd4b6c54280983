#pragma once

#include <string>
#include <string_view>

namespace quillon {

inline constexpr std::string_view kOutputSuffix = "_rev.txt";

// Where a run on `inputPath` writes: the input path followed directly by "_rev.txt".
std::string OutputPathFor(std::string_view inputPath);

}  // namespace quillon
