#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace quillon {

// The file an output path really names: the path itself, or where its symbolic links lead,
// so that replacing the output keeps the links.
struct OutputTarget {
  std::string Path;
  bool Exists = false;
  mode_t PermissionBits = 0;  // of the existing file
  uid_t Owner = 0;
  gid_t Group = 0;
  dev_t Device = 0;
  ino_t Inode = 0;
};

// Follows symbolic links from `outputPath`. Throws FileError when the output names a
// directory or anything but a regular file, or its links loop.
OutputTarget ResolveOutputTarget(const std::string& outputPath);

// The folder part of a path ("." when it has none).
std::string FolderOf(const std::string& path);

}  // namespace quillon
