#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "fileio/file_handle.h"
#include "fileio/replacement_file.h"

namespace quillon {

// The two files of a run, checked before anything is written: the input must be a readable
// regular file, and the output must not lead back to the input. A run whose
// result goes to a stream has no output file.
class RunFiles {
 public:
  RunFiles(const std::string& inputPath, const std::string& outputPath, bool outputIsStream = false);

  [[nodiscard]] const FileHandle& Input() const noexcept { return input_; }
  [[nodiscard]] std::int64_t InputSize() const noexcept { return size_; }
  // Nothing when the result goes to a stream.
  [[nodiscard]] ReplacementFile* Output() noexcept { return output_ ? &*output_ : nullptr; }

 private:
  FileHandle input_;
  std::int64_t size_;
  std::optional<ReplacementFile> output_;
};

}  // namespace quillon
