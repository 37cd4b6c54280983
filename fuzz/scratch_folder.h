#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillon::fuzzing {

// A folder of this process's own for the files of fuzz runs: in memory (/dev/shm) where
// there is such a folder, so that millions of runs cost no disk; removed at exit.
class ScratchFolder {
 public:
  static const ScratchFolder& ForThisProcess();

  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();

  [[nodiscard]] std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }

  // Writes `bytes` to the named file, replacing what was there, and returns its path.
  std::string Write(std::string_view name, std::string_view bytes) const;

  // The names in the folder, sorted, separated by single spaces.
  [[nodiscard]] std::string Listing() const;

 private:
  ScratchFolder();
  std::string path_;
};

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& path);

}  // namespace quillon::fuzzing
