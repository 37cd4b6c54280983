#include "fileio/replacement_file.h"

namespace quillon {

void ReplacementFile::Commit() {
  if (target_.Exists) TakeOverOwnerAndBits();
  KeepAfterClose();
  file_.Close();
  RenameOverTarget();
  committed_ = true;
}

}  // namespace quillon
