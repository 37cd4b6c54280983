#include "fuzz/scratch_folder.h"

#include <unistd.h>

#include <exception>
#include <filesystem>

namespace quillon::fuzzing {

namespace {

std::filesystem::path BaseFolder() {
  const std::filesystem::path memory = "/dev/shm";
  std::error_code error;
  if (std::filesystem::is_directory(memory, error) && ::access(memory.c_str(), W_OK | X_OK) == 0) return memory;
  return std::filesystem::temp_directory_path();
}

}  // namespace

const testing::TempFolder& ScratchFolder() {
  static const testing::TempFolder folder(BaseFolder(), "quillon-fuzz");
  return folder;
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  try {
    return testing::ReadWhole(path);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace quillon::fuzzing
