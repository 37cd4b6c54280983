#pragma once

#include <string>

#include "fileio/file_handle.h"
#include "fileio/output_target.h"

namespace quillon {

// A new file written beside the output's target and renamed over it only when complete,
// so that the target is either untouched or wholly replaced. Until Commit() succeeds the
// temporary file is removed again when this object goes away.
class ReplacementFile {
 public:
  // Messages name `shownPath`, the output path as the user chose it.
  ReplacementFile(OutputTarget target, std::string shownPath);
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  ~ReplacementFile();

  [[nodiscard]] const FileHandle& handle() const noexcept { return file_; }
  [[nodiscard]] const std::string& temporaryPath() const noexcept { return temporaryPath_; }

  // Gives the new file the target's permission bits, closes it and renames it over the target.
  void Commit();

 private:
  OutputTarget target_;
  std::string shownPath_;
  std::string temporaryPath_;
  FileHandle file_;
  bool committed_ = false;
};

}  // namespace quillon
