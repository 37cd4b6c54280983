#include "fileio/replacement_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <utility>

#include "fileio/block_io.h"
#include "fileio/file_error.h"

namespace quillon {

namespace {

std::string TemporaryName(const std::string& folder, std::mt19937_64& random) {
  char name[32];
  std::snprintf(name, sizeof name, "/.quillon-%012llx.tmp", static_cast<unsigned long long>(random() & 0xffffffffffffULL));
  return folder + name;
}

}  // namespace

ReplacementFile::ReplacementFile(OutputTarget target, std::string shownPath)
    : target_(std::move(target)), shownPath_(std::move(shownPath)) {
  IgnoreFileSizeSignal();
  std::mt19937_64 random(std::random_device{}());
  const std::string folder = FolderOf(target_.Path);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = TemporaryName(folder, random);
    FileHandle opened = OpenNewForWrite(candidate);
    if (opened.valid()) {
      temporaryPath_ = std::move(candidate);
      file_ = std::move(opened);
      file_.ShowAs(shownPath_);
      return;
    }
    if (opened.errorNumber() != EEXIST) throw FileError("Cannot write", shownPath_, opened.error());
  }
  throw FileError("Cannot write", shownPath_, "no free temporary file name in its folder");
}

ReplacementFile::~ReplacementFile() {
  if (!committed_ && !temporaryPath_.empty()) ::unlink(temporaryPath_.c_str());
}

void ReplacementFile::Commit() {
  if (target_.Exists && ::fchmod(file_.fd(), target_.PermissionBits) != 0)
    throw FileError("Cannot write", shownPath_, SystemReason(errno));
  file_.Close();
  if (::rename(temporaryPath_.c_str(), target_.Path.c_str()) != 0)
    throw FileError("Cannot write", shownPath_, SystemReason(errno));
  committed_ = true;
}

}  // namespace quillon
