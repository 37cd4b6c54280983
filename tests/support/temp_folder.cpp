#include "tests/support/temp_folder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace quillon::testing {

TempFolder::TempFolder(const std::filesystem::path& base, std::string_view prefix) {
  std::mt19937_64 random(std::random_device{}());
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const std::filesystem::path candidate = base / (std::string(prefix) + "-" + std::to_string(random() % 1000000000));
    std::error_code error;
    if (!std::filesystem::create_directory(candidate, error)) continue;
    const std::u8string utf8 = candidate.generic_u8string();
    path_.assign(utf8.begin(), utf8.end());
  }
  if (path_.empty()) throw std::runtime_error("cannot make a temporary folder in " + base.string());
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::permissions(FileSystemPath(path_), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(FileSystemPath(path_), ignored);
}

std::string TempFolder::Write(std::string_view name, std::string_view bytes) const {
  const std::string path = File(name);
  WriteWhole(path, bytes);
  return path;
}

std::string TempFolder::Listing() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(FileSystemPath(path_))) {
    const std::u8string name = entry.path().filename().u8string();
    names.emplace_back(name.begin(), name.end());
  }
  std::sort(names.begin(), names.end());
  std::string listing;
  for (const auto& name : names) listing += (listing.empty() ? "" : " ") + name;
  return listing;
}

std::filesystem::path FileSystemPath(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(FileSystemPath(path), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteWhole(const std::string& path, std::string_view bytes) {
  std::ofstream out(FileSystemPath(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace quillon::testing
