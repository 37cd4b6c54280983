#pragma once

#include <cstdint>
#include <string>

#include "fileio/file_handle.h"
#include "fileio/replacement_file.h"

namespace quillon {

// Files are limited to less than 2 GiB.
inline constexpr std::int64_t kMaxInputSize = (std::int64_t{1} << 31) - 1;

// The two files of a run, checked before anything is written: the input must be a readable
// regular file under 2 GiB, and the output must not lead back to the input.
class RunFiles {
 public:
  RunFiles(const std::string& inputPath, const std::string& outputPath);

  [[nodiscard]] const FileHandle& Input() const noexcept { return input_; }
  [[nodiscard]] std::int64_t InputSize() const noexcept { return size_; }
  [[nodiscard]] ReplacementFile& Output() noexcept { return output_; }

 private:
  FileHandle input_;
  std::int64_t size_;
  ReplacementFile output_;
};

}  // namespace quillon
