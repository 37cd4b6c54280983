#pragma once

#include <cstddef>
#include <cstdint>
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
  void Append(std::span<const char> bytes);

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
  // A line is a run of bytes that are neither CR nor LF: the longest one ended so far, and the
  // one still open at the end.
  std::uint64_t longestEnded_ = 0;
  std::uint64_t openLineLength_ = 0;
  bool lastWasCr_ = false;
  // The appending thread's new checkpoints, kept to reuse their room.
  std::vector<std::uint64_t> pending_;
};

}  // namespace quillon
