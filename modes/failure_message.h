#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace quillon {

// The message the window shows for a run on `inputPath` that failed with `error`.
std::string FailureMessage(const std::exception& error, std::string_view inputPath);

}  // namespace quillon
