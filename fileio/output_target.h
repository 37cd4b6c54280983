#pragma once

#include <cstdint>
#include <string>

#include "fileio/file_handle.h"

namespace quillon {

// The file an output path really names: the path itself, or where its symbolic links lead,
// so that replacing the output keeps the links.
struct OutputTarget {
  std::string Path;
  bool Exists = false;
  // Of the existing file: its mode bits, or on Windows its attributes (read-only, hidden).
  std::uint32_t PermissionBits = 0;
  std::uint32_t Owner = 0;  // POSIX user and group ids
  std::uint32_t Group = 0;
  FileIdentity Identity{};
};

// Follows symbolic links from `outputPath`. Throws FileError when the output names a
// directory or anything but a regular file, or its links loop.
OutputTarget ResolveOutputTarget(const std::string& outputPath);

// The folder part of a path ("." when it has none).
std::string FolderOf(const std::string& path);

}  // namespace quillon
