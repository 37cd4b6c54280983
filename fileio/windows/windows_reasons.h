#pragma once

namespace quillon {

// The system has no message of its own for a folder where a file was wanted.
inline constexpr const char* kIsAFolder = "It is a folder.";

}  // namespace quillon
