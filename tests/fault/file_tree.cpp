#include "tests/fault/file_tree.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <ostream>
#include <stdexcept>

#include "tests/support/mode_runner.h"
#include "tests/support/temp_folder.h"

namespace quillon::testing {

namespace {

constexpr off_t kLargestRead = off_t{1} << 20;

std::string Bits(mode_t mode) {
  char octal[8];
  std::snprintf(octal, sizeof octal, "%04o", static_cast<unsigned>(mode & 07777));
  return octal;
}

std::string Describe(const std::filesystem::path& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) throw std::runtime_error("cannot look at " + path.string());
  if (S_ISLNK(info.st_mode)) return "link to " + std::filesystem::read_symlink(path).string();
  if (S_ISDIR(info.st_mode)) return "folder " + Bits(info.st_mode);
  if (S_ISFIFO(info.st_mode)) return "fifo " + Bits(info.st_mode);
  if (S_ISCHR(info.st_mode)) return "character device " + Bits(info.st_mode);
  if (!S_ISREG(info.st_mode)) return "other " + Bits(info.st_mode);
  if (info.st_size > kLargestRead || ::access(path.c_str(), R_OK) != 0)
    return "file " + Bits(info.st_mode) + ", " + std::to_string(info.st_size) + " bytes, modified " +
           std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec);
  return FileTree::DescribeFile(info.st_mode, ReadWhole(path.string()));
}

}  // namespace

std::string FileTree::Fingerprint(std::string_view bytes) {
  const std::string count = std::to_string(bytes.size()) + " bytes";
  if (bytes.size() <= 40) return count + ": " + Spelled(bytes);
  char hash[24];
  std::snprintf(hash, sizeof hash, "%016zx", std::hash<std::string_view>{}(bytes));
  return count + ", hash " + hash;
}

std::string FileTree::DescribeFile(mode_t bits, std::string_view bytes) { return "file " + Bits(bits) + ", " + Fingerprint(bytes); }

FileTree FileTree::Of(const std::string& folder) {
  FileTree tree;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    tree.entries[entry.path().lexically_relative(folder).string()] = Describe(entry.path());
  return tree;
}

void PrintTo(const FileTree& tree, std::ostream* out) {
  for (const auto& [path, description] : tree.entries) *out << "\n  " << path << ": " << description;
}

}  // namespace quillon::testing
