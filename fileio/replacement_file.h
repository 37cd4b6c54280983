#pragma once

#include <string>

#include "fileio/file_handle.h"
#include "fileio/output_target.h"

namespace quillon {

// A new file written beside the output's target and renamed over it only when complete,
// so that the target is either untouched or wholly replaced. Where the system allows, the
// new file has no name until Commit(), so that not even a killed process leaves it behind;
// elsewhere it has a temporary name and is removed again when this object goes away
// uncommitted.
class ReplacementFile {
 public:
  // Messages name `shownPath`, the output path as the user chose it.
  ReplacementFile(OutputTarget target, std::string shownPath);
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  ~ReplacementFile();

  [[nodiscard]] const FileHandle& handle() const noexcept { return file_; }

  // A handle that reads the new content, now and once it has replaced the target, and that
  // keeps no other program from opening the output meanwhile.
  FileHandle OpenReader();

  // Gives the new file the target's owner and permission bits (on Windows its attributes),
  // closes it and renames it over the target.
  void Commit();

 private:
  void TakeOverOwnerAndBits();
  // Makes the new file stay when it is closed: gives it a name, or takes back its removal.
  void KeepAfterClose();
  void RenameOverTarget();
#if !defined(_WIN32)
  void GiveTemporaryName();
#endif

  OutputTarget target_;
  std::string shownPath_;
  std::string folder_;
  std::string temporaryPath_;  // empty while the file has no name
  FileHandle file_;
  FileHandle reader_;  // made before the file is marked for removal, which bars opening it
  bool committed_ = false;
};

}  // namespace quillon
