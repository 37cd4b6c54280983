#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <span>
#include <vector>

#include "resultview/byte_source.h"

namespace quillon {

// Where the lines of a result are, built from its bytes as they are written. Lines end at
// CR LF, LF or a lone CR; a text with n breaks has n + 1 lines, the last one possibly empty.
//
// The index stays small whatever the lines are like: it keeps, for every `spacing` bytes, how
// many breaks come before that offset, and finds a line by reading from the nearest such
// checkpoint. So each query reads at most about `spacing` bytes, and a line of a gigabyte
// costs no more than a line of ten bytes.
//
// The index does not keep the bytes: its queries read them from a ByteSource. One thread may
// append while others query; a query holds the lock only to look up a checkpoint.
class ResultIndex {
 public:
  static constexpr std::size_t kDefaultSpacing = 4096;

  // `spacing` must be a positive multiple of 64.
  explicit ResultIndex(std::size_t spacing = kDefaultSpacing);
  ResultIndex(const ResultIndex&) = delete;
  ResultIndex& operator=(const ResultIndex&) = delete;

  // Starts over with an empty text.
  void Clear();
  // Takes in the next bytes of the text. One thread at a time.
  void Append(std::span<const char> bytes) {
    Prepare(bytes);
    PublishNext();
  }
  // The same in two steps, which may be taken on two threads: Prepare() scans the next bytes
  // of the text, in order, one thread at a time; PublishNext() then counts in the oldest bytes
  // prepared and not yet counted, and returns false when there are none.
  void Prepare(std::span<const char> bytes);
  bool PublishNext();

  // How far the index reaches, all three taken at the same moment.
  struct Extent {
    std::uint64_t size = 0;
    std::uint64_t breaks = 0;
    std::uint64_t longestLine = 0;
  };
  [[nodiscard]] Extent Indexed() const;

  // The offset of the break numbered `ordinal` (from 0), read from `bytes` up to `size`. When
  // the bytes no longer hold it (the file changed under the index), `size`.
  [[nodiscard]] std::uint64_t BreakAt(const ByteSource& bytes, std::uint64_t size, std::uint64_t ordinal) const;
  // The breaks that start before `offset` (at most the indexed size). Bytes that can no longer
  // be read count as none.
  [[nodiscard]] std::uint64_t BreaksBefore(const ByteSource& bytes, std::uint64_t offset) const;

  // Bytes the index itself holds, for measuring.
  [[nodiscard]] std::size_t MemoryBytes() const;

 private:
  struct Scan;
  struct Checkpoint {
    std::uint64_t offset;
    std::uint64_t breaks;
  };
  [[nodiscard]] Checkpoint CheckpointAtOrBefore(std::uint64_t offset) const;
  [[nodiscard]] Checkpoint LastCheckpointWithAtMost(std::uint64_t breaks) const;

  const std::size_t spacing_;
  mutable std::mutex mutex_;
  // checkpoints_[i]: breaks that start before offset i * spacing_.
  std::vector<std::uint64_t> checkpoints_{0};
  Extent extent_;
  // Where the scan of the bytes prepared so far ended, and what it found that is not counted
  // in yet, oldest first. A line is a run of bytes that are neither CR nor LF: the scan keeps
  // the longest one ended so far and the one still open at the end.
  struct Scanned {
    std::uint64_t size = 0;
    std::uint64_t breaks = 0;
    std::uint64_t longestEnded = 0;
    std::uint64_t openLineLength = 0;
    bool lastWasCr = false;
  };
  struct Prepared {
    Scanned end;
    std::vector<std::uint64_t> checkpoints;
  };
  Scanned scanned_;
  mutable std::mutex preparedMutex_;
  std::deque<Prepared> prepared_;
};

}  // namespace quillon
