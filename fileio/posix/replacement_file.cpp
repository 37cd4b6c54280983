#include "fileio/replacement_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "fileio/block_io.h"
#include "fileio/file_error.h"
#include "fileio/temporary_names.h"

namespace quillon {

bool NameTaken(int errorNumber) noexcept { return errorNumber == EEXIST; }

namespace {

// A file without a name is given one later through /proc; without /proc it could not be.
bool CanNameUnnamedFiles() { return ::access("/proc/self/fd", X_OK) == 0; }

}  // namespace

ReplacementFile::ReplacementFile(OutputTarget target, std::string shownPath)
    : target_(std::move(target)), shownPath_(std::move(shownPath)), folder_(FolderOf(target_.Path)) {
  IgnoreFileSizeSignal();
  // The new content of a private output stays private until it takes the output's bits.
  const std::uint32_t mode = target_.Exists ? 0600 : 0666;
  if (CanNameUnnamedFiles()) {
    FileHandle unnamed = OpenUnnamedForWrite(folder_, mode);
    if (unnamed.valid()) {
      file_ = std::move(unnamed);
      file_.ShowAs(shownPath_);
      return;
    }
    if (!UnnamedFilesUnsupported(unnamed.errorNumber())) throw FileError("Cannot write", shownPath_, unnamed.error());
  }
  temporaryPath_ = ClaimTemporaryName(folder_, shownPath_, [&](const std::string& candidate) {
    FileHandle opened = OpenNewForWrite(candidate, mode);
    if (!opened.valid()) return opened.errorNumber();
    file_ = std::move(opened);
    return 0;
  });
  file_.ShowAs(shownPath_);
}

ReplacementFile::~ReplacementFile() {
  if (!committed_ && !temporaryPath_.empty()) ::unlink(temporaryPath_.c_str());
}

// Like an editor that saves by renaming: the owner and group stay where the system lets us
// give the file away (only root may choose its owner; a user may choose a group of their
// own). Set-user and set-group bits are not carried over to content that is ours.
void ReplacementFile::TakeOverOwnerAndBits() {
  const int fd = file_.native();
  struct stat ours {};
  if (::fstat(fd, &ours) != 0) throw FileError("Cannot write", shownPath_, SystemReason(errno));
  if (ours.st_uid != target_.Owner || ours.st_gid != target_.Group) {
    if (::fchown(fd, target_.Owner, target_.Group) != 0) {
      if (errno != EPERM) throw FileError("Cannot write", shownPath_, SystemReason(errno));
      if (::fchown(fd, static_cast<uid_t>(-1), target_.Group) != 0 && errno != EPERM)
        throw FileError("Cannot write", shownPath_, SystemReason(errno));
    }
  }
  if (::fchmod(fd, static_cast<mode_t>(target_.PermissionBits & ~std::uint32_t{S_ISUID | S_ISGID})) != 0)
    throw FileError("Cannot write", shownPath_, SystemReason(errno));
}

void ReplacementFile::GiveTemporaryName() {
  const std::string self = "/proc/self/fd/" + std::to_string(file_.native());
  temporaryPath_ = ClaimTemporaryName(folder_, shownPath_, [&](const std::string& candidate) {
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
  });
}

FileHandle ReplacementFile::OpenReader() { return DuplicateHandle(file_); }

void ReplacementFile::KeepAfterClose() {
  if (temporaryPath_.empty()) GiveTemporaryName();
}

void ReplacementFile::RenameOverTarget() {
  if (::rename(temporaryPath_.c_str(), target_.Path.c_str()) != 0)
    throw FileError("Cannot write", shownPath_, SystemReason(errno));
}

}  // namespace quillon
