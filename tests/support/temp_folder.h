#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillon::testing {

// A fresh folder, by default under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() : TempFolder(std::filesystem::temp_directory_path(), "quillon-test") {}
  TempFolder(const std::filesystem::path& base, std::string_view prefix);
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  [[nodiscard]] const std::string& path() const noexcept { return path_; }
  [[nodiscard]] std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }

  // Writes `bytes` to the named file and returns its path.
  std::string Write(std::string_view name, std::string_view bytes) const;

  // Names of the entries in the folder, sorted.
  [[nodiscard]] std::string Listing() const;

 private:
  std::string path_;
};

// `utf8` as the standard library takes a path, in any script on every system.
std::filesystem::path FileSystemPath(std::string_view utf8);

std::string ReadWhole(const std::string& path);
void WriteWhole(const std::string& path, std::string_view bytes);

}  // namespace quillon::testing
