#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <utility>

namespace quillon {

// The byte-reversal kernels every layer above uses.

// Reverses the order of the bytes in place.
void ReverseInPlace(std::span<char> bytes) noexcept;

// A stretch of bytes to reverse in place.
struct ByteRun {
  char* Begin;
  std::size_t Size;
};

// Reverses each run in place, for the many short runs of a block's lines: one call for all of
// them. The runs come in order, one after another, in `readable`: every byte of it may be
// read, and those between the runs are rewritten as they are. A line's run then takes the
// same steps whatever its length.
void ReverseEachOfOrderedRuns(std::span<const ByteRun> runs, std::span<const char> readable) noexcept;

// Reverses at most 16 bytes in place with one word from each end, both loaded before either is
// stored; where they overlap they agree. Inline, for the many runs this short (clusters, short
// lines), where a call and a loop would cost more than the swap.
inline void ReverseUpTo16(char* bytes, std::size_t count) noexcept {
  const auto swapEnds = [bytes, count]<typename Word>(Word) {
    Word front;
    Word back;
    std::memcpy(&front, bytes, sizeof(Word));
    std::memcpy(&back, bytes + count - sizeof(Word), sizeof(Word));
    if constexpr (sizeof(Word) == 8) {
      front = __builtin_bswap64(front);
      back = __builtin_bswap64(back);
    } else {
      front = __builtin_bswap32(front);
      back = __builtin_bswap32(back);
    }
    std::memcpy(bytes, &back, sizeof(Word));
    std::memcpy(bytes + count - sizeof(Word), &front, sizeof(Word));
  };
  if (count >= 8)
    swapEnds(std::uint64_t{});
  else if (count >= 4)
    swapEnds(std::uint32_t{});
  else if (count >= 2)
    std::swap(bytes[0], bytes[count - 1]);
}

// Writes the `count` bytes from `from` to `to` in reverse order; the two must not overlap.
void ReverseCopy(const char* from, std::size_t count, char* to) noexcept;

}  // namespace quillon
