#include "fileio/output_target.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "fileio/file_error.h"

namespace quillon {

namespace {

std::string ReadLink(const std::string& link, const std::string& shownPath) {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = ::readlink(link.c_str(), buffer.data(), buffer.size());
    if (length < 0) throw FileError("Cannot write", shownPath, SystemReason(errno));
    if (static_cast<std::size_t>(length) < buffer.size()) {
      std::string target(buffer.data(), static_cast<std::size_t>(length));
      if (!target.empty() && target.front() == '/') return target;
      return FolderOf(link) + "/" + target;
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

OutputTarget ResolveOutputTarget(const std::string& outputPath) {
  constexpr int kMaxLinks = 40;
  std::string path = outputPath;
  for (int hop = 0; hop <= kMaxLinks; ++hop) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
      if (errno == ENOENT) return OutputTarget{.Path = path};
      throw FileError("Cannot write", outputPath, SystemReason(errno));
    }
    if (S_ISLNK(info.st_mode)) {
      path = ReadLink(path, outputPath);
      continue;
    }
    if (S_ISDIR(info.st_mode)) throw FileError("Cannot write", outputPath, SystemReason(EISDIR));
    if (!S_ISREG(info.st_mode)) throw FileError("Cannot write", outputPath, "not a regular file");
    return OutputTarget{path, true, static_cast<std::uint32_t>(info.st_mode & 07777), info.st_uid, info.st_gid,
                        {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)}};
  }
  throw FileError("Cannot write", outputPath, SystemReason(ELOOP));
}

}  // namespace quillon
