#pragma once

#include <cstddef>
#include <string>

namespace quillon::testing {

// A tmpfs of `size` bytes mounted on a new folder at `path` for the object's lifetime, where
// the system allows it (it needs root, or the right to mount). A disk that fills up for real.
class SmallFileSystem {
 public:
  SmallFileSystem(std::string path, std::size_t size);
  SmallFileSystem(const SmallFileSystem&) = delete;
  SmallFileSystem& operator=(const SmallFileSystem&) = delete;
  ~SmallFileSystem();

  [[nodiscard]] bool mounted() const noexcept { return mounted_; }
  // Why it could not be mounted.
  [[nodiscard]] const std::string& reason() const noexcept { return reason_; }

 private:
  std::string path_;
  bool mounted_ = false;
  std::string reason_;
};

}  // namespace quillon::testing
