#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "unicode/emoji_clusters.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon::unicode {

// Remembers, for the runs of non-ASCII bytes between ASCII that a text repeats (the same few
// emoji, over and over), whether each is one common emoji cluster, so that a repeated run
// costs a lookup rather than the tests of its bytes, whose outcome the processor would
// mispredict at nearly every emoji. A run's bytes alone settle it: CommonEmojiClusterEnd
// wants ASCII or the end after a cluster, so for a run that ASCII follows it gives the run's
// end or nothing.
class EmojiRunMemo {
 public:
  // What CommonEmojiClusterEnd(text, at) gives.
  std::size_t ClusterEnd(std::span<const char> text, std::size_t at) noexcept {
#if defined(__SSE2__)
    if (text.size() - at < kLongest) return CommonEmojiClusterEnd(text, at);
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
    const auto length = static_cast<std::size_t>(__builtin_ctz(~static_cast<unsigned>(_mm_movemask_epi8(bytes))));
    if (length == kLongest) return CommonEmojiClusterEnd(text, at);
    const __m128i run = _mm_and_si128(bytes, KeepMask(length));
    if (!filled_) {
      entries_.fill({_mm_setzero_si128(), false});
      filled_ = true;
    }
    Entry& entry = entries_[SlotOf(run)];
    // The end comes from `length`, not from the entry, so that the walk's next step does not
    // wait for the entry's load.
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(entry.run, run)) == 0xFFFF) return entry.oneCluster ? at + length : at;
    const std::size_t end = CommonEmojiClusterEnd(text, at);
    entry = {run, end == at + length};
    return end;
#else
    return CommonEmojiClusterEnd(text, at);
#endif
  }

 private:
#if defined(__SSE2__)
  static constexpr std::size_t kLongest = 16;  // runs this long or longer are not remembered
  static constexpr int kSlotBits = 6;

  // A run's bytes, zeros after it; all zeros, which no run is, in a slot not yet used.
  struct Entry {
    __m128i run;
    bool oneCluster;
  };

  // 0xFF in the first `length` bytes.
  static __m128i KeepMask(std::size_t length) noexcept {
    static constexpr char kKeep[2 * kLongest] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(kKeep + kLongest - length));
  }

  static std::size_t SlotOf(__m128i run) noexcept {
    const auto low = static_cast<std::uint64_t>(_mm_cvtsi128_si64(run));
    const auto high = static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(run, run)));
    return static_cast<std::size_t>(((low ^ (high * 0x9E3779B97F4A7C15u)) * 0xBF58476D1CE4E5B9u) >> (64 - kSlotBits));
  }

  // Filled when first used: most texts have no emoji, and a walk over a short run would
  // spend more on filling it than on its bytes.
  bool filled_ = false;
  std::array<Entry, std::size_t{1} << kSlotBits> entries_;
#endif
};

}  // namespace quillon::unicode
