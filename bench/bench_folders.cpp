#include "bench/bench_folders.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

#include "bench/byte_count.h"

namespace quillon::bench {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kScratchPrefix = "scratch-";

// Bump the version when the text maker changes, so that old texts are not reused.
std::string TextFileName(std::uint64_t bytes, LineBreak lineBreak) {
  return "text-v1-" + std::to_string(bytes) + (lineBreak == LineBreak::CRLF ? "-crlf" : "-lf") + ".txt";
}

bool ProcessIsGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

void RemoveAbandonedScratch(const fs::path& cache) {
  for (const fs::directory_entry& entry : fs::directory_iterator(cache)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_directory() || name.rfind(kScratchPrefix, 0) != 0) continue;
    const long pid = std::strtol(name.c_str() + kScratchPrefix.size(), nullptr, 10);
    if (pid > 0 && ProcessIsGone(static_cast<pid_t>(pid))) fs::remove_all(entry.path());
  }
}

}  // namespace

fs::path CacheFolder() {
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  const char* home = std::getenv("HOME");
  fs::path base;
  if (xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else if (home != nullptr && home[0] != '\0') {
    base = fs::path(home) / ".cache";
  } else {
    throw std::runtime_error("neither XDG_CACHE_HOME nor HOME is set: no folder to keep the benchmark's texts in");
  }
  fs::path cache = base / "quillon-bench";
  fs::create_directories(cache);
  return cache;
}

fs::path CachedText(const fs::path& cache, std::uint64_t bytes, LineBreak lineBreak) {
  const fs::path path = cache / TextFileName(bytes, lineBreak);
  std::error_code absent;
  if (fs::file_size(path, absent) == bytes && !absent) return path;

  std::fprintf(stderr, "making %s (%s) ... ", path.c_str(), DescribeByteCount(bytes).c_str());
  std::fflush(stderr);
  const auto start = std::chrono::steady_clock::now();
  // Written under a name of its own and renamed when complete, so that a stopped or
  // concurrent run never leaves a file of the right size with the wrong content.
  const fs::path partial = cache / (path.filename().string() + ".partial-" + std::to_string(::getpid()));
  try {
    WriteTextFile(partial, bytes, lineBreak);
    fs::rename(partial, path);
  } catch (...) {
    std::error_code ignored;  // the failure that brought us here is the one to report
    fs::remove(partial, ignored);
    throw;
  }
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::fprintf(stderr, "%.1f s\n", seconds.count());
  return path;
}

ScratchFolder::ScratchFolder(const fs::path& cache) {
  RemoveAbandonedScratch(cache);
  path_ = cache / (std::string(kScratchPrefix) + std::to_string(::getpid()));
  fs::remove_all(path_);
  fs::create_directory(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code failed;
  fs::remove_all(path_, failed);
  if (failed) std::fprintf(stderr, "warning: could not remove %s: %s\n", path_.c_str(), failed.message().c_str());
}

}  // namespace quillon::bench
