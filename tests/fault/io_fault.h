#pragma once

#include <cstdint>
#include <string>

namespace quillon::testing {

// A fault in the positioned reads of the input or the writes of the output during a run.
struct IoFault {
  enum class Kind {
    None,
    BadByte,         // the input's byte at `at` cannot be read (EIO), like a bad sector
    EndsEarly,       // reads find the input ending at `at`, shorter than its size said
    ShrinksMidRun,   // the file at `path` is cut to `at` bytes just before the second read
    GrowsMidRun,     // the file at `path` gets `at` more bytes just before the second read
    DiskFull,        // writes find room for `at` bytes of output, then fail with ENOSPC
    WritesNothing,   // writes from `at` on return 0 without an error
    Piecemeal,       // every read and write is first interrupted (EINTR), then moves at most `at` bytes
  };
  Kind kind = Kind::None;
  std::int64_t at = 0;
  std::string path;
  // When set, the fault strikes only the reads and writes of files in this folder: a run's
  // scratch files, kept elsewhere, are spared, as a fault on one disk would spare another.
  std::string within;
};

// Puts `fault` in place of the system's positioned reads and writes for its lifetime.
// One at a time.
class InjectedIoFault {
 public:
  explicit InjectedIoFault(IoFault fault);
  InjectedIoFault(const InjectedIoFault&) = delete;
  InjectedIoFault& operator=(const InjectedIoFault&) = delete;
  ~InjectedIoFault();
};

}  // namespace quillon::testing
