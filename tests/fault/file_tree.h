#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <string_view>

namespace quillon::testing {

// Everything below a folder as a user would see it: each entry's kind, permission bits and,
// for a file, its bytes (small files spelled out, others by size and a hash of their bytes,
// files over 1 MiB or unreadable to the tests by size and modification time). Links are described by where they lead,
// not followed. Two trees compare equal when nothing in them changed.
class FileTree {
 public:
  static FileTree Of(const std::string& folder);

  // The description of a file holding `bytes` with permission bits `bits`.
  static std::string DescribeFile(mode_t bits, std::string_view bytes);

  // Bytes described briefly: spelled out when few, else their count and a hash.
  static std::string Fingerprint(std::string_view bytes);

  // Path relative to the folder => description.
  std::map<std::string, std::string> entries;

  bool operator==(const FileTree&) const = default;
};

// Prints the entries one a line, so that a failed comparison shows what changed.
void PrintTo(const FileTree& tree, std::ostream* out);

}  // namespace quillon::testing
