#include "fileio/output_target.h"

namespace quillon {

namespace {

#if defined(_WIN32)
constexpr const char* kSeparators = "/\\";
// "C:\file" lives in "C:\", the root of its drive.
bool IsRoot(const std::string& path, std::size_t slash) { return slash == 0 || (slash == 2 && path[1] == ':'); }
#else
constexpr const char* kSeparators = "/";
bool IsRoot(const std::string&, std::size_t slash) { return slash == 0; }
#endif

}  // namespace

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of(kSeparators);
  if (slash == std::string::npos) return ".";
  if (IsRoot(path, slash)) return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

}  // namespace quillon
