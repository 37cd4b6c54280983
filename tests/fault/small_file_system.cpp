#include "tests/fault/small_file_system.h"

#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace quillon::testing {

SmallFileSystem::SmallFileSystem(std::string path, std::size_t size) : path_(std::move(path)) {
  if (::mkdir(path_.c_str(), 0755) != 0) {
    reason_ = std::strerror(errno);
    return;
  }
  const std::string options = "size=" + std::to_string(size) + ",mode=0755";
  if (::mount("tmpfs", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV | MS_NOEXEC, options.c_str()) != 0) {
    reason_ = std::strerror(errno);
    return;
  }
  mounted_ = true;
}

SmallFileSystem::~SmallFileSystem() {
  if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
}

}  // namespace quillon::testing
