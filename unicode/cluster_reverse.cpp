#include "unicode/cluster_reverse.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <utility>

#include "fileio/byte_reverse.h"
#include "unicode/ascii_runs.h"
#include "unicode/emoji_run_memo.h"
#include "unicode/grapheme_rules.h"
#include "unicode/letter_stretches.h"

namespace quillon::unicode {

namespace {

// The first non-ASCII byte at or after `from`, or the run's size. In European and emoji text
// the next one is mostly a few bytes on: 32 bytes looked at here at once, with no loop whose
// end the processor would mispredict, save a call to the vector kernel.
inline std::size_t FindNonAsciiFrom(std::span<const char> run, std::size_t from) noexcept {
  const char* const begin = run.data();
  if (run.size() - from >= 32) {
    if (const std::uint64_t high = detail::NonAsciiMask<32>(begin + from); high != 0)
      return from + static_cast<std::size_t>(__builtin_ctzll(high));
    from += 32;
  }
  return static_cast<std::size_t>(detail::FindFirstNonAscii(begin + from, begin + run.size()) - begin);
}

// Whether the bytes at `at` are a two-byte letter of U+00C0 to U+027F (Latin-1 letters,
// Latin Extended, IPA) followed by ASCII or the run's end. Such a letter is a cluster of its
// own when what lies before it is ASCII or nothing: every one of them has the break value
// Other, and no rule joins Other to Other or to ASCII. European text is mostly these.
inline bool IsLoneLatinLetter(std::span<const char> run, std::size_t at) noexcept {
  const auto byteAt = [&](std::size_t index) { return static_cast<std::uint8_t>(run[index]); };
  if (run.size() - at < 2 || byteAt(at) < kFirstLatinLead || byteAt(at) > kLastLatinLead || (byteAt(at + 1) & 0xC0u) != 0x80u)
    return false;
  return run.size() - at == 2 || byteAt(at + 2) < 0x80;
}

// Walks on from `at`, a cluster boundary that ASCII comes before, as long as every run of
// non-ASCII bytes between ASCII is one emoji cluster the memo knows, and returns where it
// stopped; what lies after is the general walk's. Emoji text is mostly such runs between ASCII
// words. Here they are found 64 bytes at a time from a mask, so that finding one emoji does not
// wait for the loads that found the one before, as the general walk's next step does.
template <typename OnAsciiStretch, typename OnCluster>
std::size_t WalkEmojiRuns(std::span<const char> run, std::size_t at, EmojiRunMemo& memo, OnAsciiStretch& onAsciiStretch,
                          OnCluster& onCluster) {
  // The memo reads 32 bytes from a run's start, which may be the last of the 64.
  constexpr std::size_t kReadable = 64 + 32;
  std::size_t walked = at;
  while (run.size() - at >= kReadable) {
    std::uint64_t runs = detail::NonAsciiMask<64>(run.data() + at);
    std::size_t next = at + 64;
    while (runs != 0) {
      const int first = __builtin_ctzll(runs);
      const std::uint64_t after = ~(runs >> first);
      const int length = after == 0 ? 64 : __builtin_ctzll(after);
      if (first + length == 64) {  // the next 64 begin with this run, which may go on
        next = at + static_cast<std::size_t>(first);
        break;
      }
      const std::size_t begin = at + static_cast<std::size_t>(first);
      const auto end = begin + static_cast<std::size_t>(length);
      if (!memo.IsOneCluster(run, begin, static_cast<std::size_t>(length))) return walked;
      if (begin > walked) onAsciiStretch(walked, begin);
      onCluster(begin, end);
      walked = end;
      runs &= runs + (std::uint64_t{1} << first);
    }
    if (next == at) return walked;
    at = next;
  }
  return walked;
}

// Splits a run into ASCII stretches, in which every byte is a cluster of its own, stretches of
// ASCII and one kind of letter (see LetterStretchEnd), and the clusters around other non-ASCII
// bytes, and hands each to its callback in order. No rule joins two ASCII bytes other than
// CR LF, so only the clusters that touch a non-ASCII byte need the segmenter; it starts one
// byte early, as a mark may attach to the ASCII letter before it, and goes on until a cluster
// begins with ASCII again (a prepended mark may pull one in).
template <typename OnAsciiStretch, typename OnLetterStretch, typename OnCluster>
void WalkClusters(std::span<const char> run, OnAsciiStretch onAsciiStretch, OnLetterStretch onLetterStretch,
                  OnCluster onCluster) {
  const std::size_t size = run.size();
  // A block's walk meets the same emoji again and again; a line's, too few to fill the memo for.
  constexpr std::size_t kRememberFrom = 4096;
  const bool remember = size >= kRememberFrom;
  EmojiRunMemo memo;
  std::size_t at = 0;
  while (at < size) {
    const std::size_t nonAscii = FindNonAsciiFrom(run, at);
    if (nonAscii == size) {
      onAsciiStretch(at, size);
      return;
    }
    if (const std::optional<LetterKind> kind = LetterKindOf(static_cast<unsigned char>(run[nonAscii]))) {
      if (const std::size_t stretchEnd = LetterStretchEnd(*kind, run, nonAscii); stretchEnd > nonAscii) {
        if (nonAscii > at) onAsciiStretch(at, nonAscii);
        onLetterStretch(*kind, nonAscii, stretchEnd);
        at = stretchEnd;
        continue;
      }
    }
    const std::size_t emojiEnd = remember ? memo.ClusterEnd(run, nonAscii) : CommonEmojiClusterEnd(run, nonAscii);
    if (emojiEnd > nonAscii) {
      if (nonAscii > at) onAsciiStretch(at, nonAscii);
      onCluster(nonAscii, emojiEnd);
      at = remember ? WalkEmojiRuns(run, emojiEnd, memo, onAsciiStretch, onCluster) : emojiEnd;
      continue;
    }
    if (IsLoneLatinLetter(run, nonAscii)) {
      if (nonAscii > at) onAsciiStretch(at, nonAscii);
      onCluster(nonAscii, nonAscii + 2);
      at = nonAscii + 2;
      continue;
    }
    const std::size_t segmentFrom = nonAscii > at ? nonAscii - 1 : nonAscii;
    if (segmentFrom > at) onAsciiStretch(at, segmentFrom);
    at = detail::WalkClustersUntilAscii(run, segmentFrom, onCluster);
  }
}

// Most clusters are one code point of up to four bytes: a library call would cost more
// than the copy.
inline void CopyCluster(const char* from, std::size_t count, char* to) noexcept {
  if (count > 4) {
    std::memcpy(to, from, count);
    return;
  }
  for (std::size_t i = 0; i < count; ++i) to[i] = from[i];
}

// Most clusters are one code point: swapping its outer bytes (and inner ones for four) beats a
// general reversal; emoji sequences are mostly up to 16 bytes.
inline void MirrorCluster(char* bytes, std::size_t count) noexcept {
  switch (count) {
    case 1:
      return;
    case 2:
    case 3:
      std::swap(bytes[0], bytes[count - 1]);
      return;
    case 4:
      std::swap(bytes[0], bytes[3]);
      std::swap(bytes[1], bytes[2]);
      return;
    default:
      if (count <= 16)
        ReverseUpTo16(bytes, count);
      else
        ReverseInPlace({bytes, count});
  }
}

}  // namespace

void ReverseClusterOrder(std::span<const char> run, std::span<char> out) {
  if (out.size() != run.size())
    throw std::invalid_argument("ReverseClusterOrder: the output must be as long as the run");
  const char* const from = run.data();
  char* const to = out.data();
  const std::size_t size = run.size();
  WalkClusters(
      run, [&](std::size_t begin, std::size_t end) { ReverseCopy(from + begin, end - begin, to + size - end); },
      [&](LetterKind kind, std::size_t begin, std::size_t end) {
        const std::span<char> copy(to + size - end, end - begin);
        std::memcpy(copy.data(), from + begin, copy.size());
        MirrorLetters(kind, copy);
        ReverseInPlace(copy);
      },
      [&](std::size_t begin, std::size_t end) { CopyCluster(from + begin, end - begin, to + size - end); });
}

void MirrorEachCluster(std::span<char> run) noexcept {
  char* const bytes = run.data();
  WalkClusters(
      run, [](std::size_t, std::size_t) {},
      [&](LetterKind kind, std::size_t begin, std::size_t end) { MirrorLetters(kind, {bytes + begin, end - begin}); },
      [&](std::size_t begin, std::size_t end) { MirrorCluster(bytes + begin, end - begin); });
}

void ReverseClusterOrderInPlace(std::span<char> run) noexcept {
  MirrorEachCluster(run);
  ReverseInPlace(run);
}

}  // namespace quillon::unicode
