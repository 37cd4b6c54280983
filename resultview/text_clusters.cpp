#include "resultview/text_clusters.h"

#include "unicode/display_width.h"
#include "unicode/utf8_decode.h"

namespace quillon {

namespace {

bool IsAscii(char byte) noexcept { return static_cast<unsigned char>(byte) < 0x80; }
bool IsBreak(char byte) noexcept { return byte == '\r' || byte == '\n'; }

constexpr std::size_t kLongestSequence = 4;

// The bytes of the sequence a lead byte begins; 1 for a byte that begins none.
std::size_t SequenceLength(char lead) noexcept {
  const auto byte = static_cast<unsigned char>(lead);
  if (byte >= 0xF0 && byte <= 0xF4) return 4;
  if (byte >= 0xE0 && byte <= 0xEF) return 3;
  if (byte >= 0xC2 && byte <= 0xDF) return 2;
  return 1;
}

}  // namespace

bool ClusterWalker::Decided(std::size_t end) const noexcept {
  // The cursor decides at `end` from the code points before it and the one there, which must
  // all be whole: so the one there must begin a sequence that the text holds to its end (and
  // then any sequence before it ends before it, or breaks there whatever follows).
  if (complete_ || end + kLongestSequence <= text_.size()) return true;
  if (end >= text_.size() || unicode::IsContinuationByte(text_[end])) return false;
  return end + SequenceLength(text_[end]) <= text_.size();
}

std::size_t ClusterWalker::CutAtLimit(std::size_t from) const noexcept {
  std::size_t cut = from;
  for (;;) {
    const std::size_t length = unicode::DecodeUtf8(text_, cut).length;
    if (length == 0 || (cut + length - from > kMaxClusterBytes && cut > from)) return cut;
    cut += length;
  }
}

std::optional<std::size_t> ClusterWalker::Next(std::size_t from) noexcept {
  const char first = text_[from];
  if (IsBreak(first)) return from + 1;
  // Two ASCII bytes in a row always have a boundary between them.
  if (IsAscii(first) && from + 1 < text_.size() && IsAscii(text_[from + 1])) return from + 1;
  if (cursor_.Position() != from) cursor_ = unicode::GraphemeCursor(text_, from);
  const std::size_t end = cursor_.Next();
  if (end - from > kMaxClusterBytes) {
    // Where the cut falls needs the code points up to the limit, whole.
    if (!complete_ && from + kMaxClusterBytes + kLongestSequence > text_.size()) return std::nullopt;
    return CutAtLimit(from);
  }
  if (!Decided(end)) return std::nullopt;
  return end;
}

std::uint64_t ClusterCells(std::span<const char> cluster, std::uint64_t cell) noexcept {
  if (cluster.size() == 1 && cluster[0] == '\t') return kTabCells - cell % kTabCells;
  if (ControlOf(cluster)) return kControlCells;
  return static_cast<std::uint64_t>(unicode::ClusterCellWidth(cluster));
}

std::optional<char32_t> ControlOf(std::span<const char> cluster) noexcept {
  if (cluster.empty()) return std::nullopt;
  const auto first = static_cast<unsigned char>(cluster[0]);
  if (first < 0x20 || first == 0x7F) return first;
  // C1 controls are C2 80 to C2 9F, each a cluster of its own.
  if (first == 0xC2 && cluster.size() == 2) {
    const auto second = static_cast<unsigned char>(cluster[1]);
    if (second >= 0x80 && second < 0xA0) return second;
  }
  return std::nullopt;
}

}  // namespace quillon
