#pragma once

#include <cstdint>
#include <filesystem>

#include "bench/text_maker.h"

namespace quillon::bench {

// Where the benchmark keeps its texts between runs: ${XDG_CACHE_HOME:-$HOME/.cache}/quillon-bench,
// created when missing.
std::filesystem::path CacheFolder();

// The cached text of `bytes` bytes with `lineBreak` breaks, made first when missing or of
// another size. Making it reports progress on stderr.
std::filesystem::path CachedText(const std::filesystem::path& cache, std::uint64_t bytes, LineBreak lineBreak);

// A folder of this process's own inside the cache for the outputs of one run, removed with
// everything in it when the object goes away. Folders that dead processes left behind are
// removed on the way in.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::filesystem::path& cache);
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();

  [[nodiscard]] const std::filesystem::path& path() const noexcept { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace quillon::bench
