#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "unicode/ascii_runs.h"
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
    const std::uint64_t high = detail::NonAsciiMask<32>(text.data() + at);
    if (high == 0xFFFFFFFF) return CommonEmojiClusterEnd(text, at);
    const auto length = static_cast<std::size_t>(__builtin_ctzll(~high));
    // The end comes from `length`, not from the entry, so that the walk's next step does not
    // wait for the entry's load.
    return IsOneCluster(text, at, length) ? at + length : at;
#else
    return CommonEmojiClusterEnd(text, at);
#endif
  }

  // Whether the `length` non-ASCII bytes at `at`, which ASCII or the text's end follows, are
  // one common emoji cluster: whether CommonEmojiClusterEnd(text, at) is at + length.
  [[gnu::always_inline]] bool IsOneCluster(std::span<const char> text, std::size_t at, std::size_t length) noexcept {
#if defined(__SSE2__)
    if (length >= kLongest || text.size() - at < kLongest) return EndsAt(text, at, length);
    const char* const bytes = text.data() + at;
    const auto signedLength = static_cast<std::ptrdiff_t>(length);
    const Key key{_mm_and_si128(Load(bytes), KeepMask(signedLength)), _mm_and_si128(Load(bytes + 16), KeepMask(signedLength - 16))};
    // The slot comes from two bytes read on their own, not from the key: the lookup then waits
    // for two loads rather than for a hash of the whole key.
    const auto last = static_cast<unsigned char>(bytes[length - 1]);
    const auto first = static_cast<unsigned char>(bytes[0]);
    Entry& entry = Entries()[(last + 3 * first + 5 * length) % kSlots];
    const __m128i same = _mm_and_si128(_mm_cmpeq_epi8(entry.key.low, key.low), _mm_cmpeq_epi8(entry.key.high, key.high));
    if (_mm_movemask_epi8(same) == 0xFFFF) [[likely]]
      return entry.oneCluster;
    return Remember(entry, key, text, at, length);
#else
    return EndsAt(text, at, length);
#endif
  }

 private:
  [[gnu::noinline]] static bool EndsAt(std::span<const char> text, std::size_t at, std::size_t length) noexcept {
    return CommonEmojiClusterEnd(text, at) == at + length;
  }

#if defined(__SSE2__)
  static constexpr std::size_t kLongest = 32;  // runs this long or longer are not remembered
  static constexpr std::size_t kSlots = 64;

  // A run's bytes, zeros after it; all zeros, which no run is, in a slot not yet used.
  struct Key {
    __m128i low;
    __m128i high;
  };
  struct Entry {
    Key key;
    bool oneCluster;
  };

  static __m128i Load(const char* at) noexcept { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

  // 0xFF in the first `length` of 16 bytes, none for a length of 0 or less, and all for 16 or more.
  static __m128i KeepMask(std::ptrdiff_t length) noexcept {
    static constexpr char kKeep[32] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    return Load(kKeep + 16 - std::clamp<std::ptrdiff_t>(length, 0, 16));
  }

  // Filled when first used: most texts have no emoji, and a walk over a short run would
  // spend more on filling it than on its bytes.
  std::array<Entry, kSlots>& Entries() noexcept {
    if (!filled_) [[unlikely]] {
      entries_.fill({{_mm_setzero_si128(), _mm_setzero_si128()}, false});
      filled_ = true;
    }
    return entries_;
  }

  [[gnu::noinline]] static bool Remember(Entry& entry, Key key, std::span<const char> text, std::size_t at, std::size_t length) noexcept {
    entry = {key, EndsAt(text, at, length)};
    return entry.oneCluster;
  }

  bool filled_ = false;
  std::array<Entry, kSlots> entries_;
#endif
};

}  // namespace quillon::unicode
