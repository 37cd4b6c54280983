#pragma once

#include <optional>
#include <string>

#include "tests/support/temp_folder.h"

namespace quillon::fuzzing {

// The folder for this process's fuzz runs: in memory (/dev/shm) where there is such a folder,
// so that millions of runs cost no disk; removed at exit.
const testing::TempFolder& ScratchFolder();

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& path);

}  // namespace quillon::fuzzing
