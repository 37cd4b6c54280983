#include "resultview/cluster_words.h"

#include <algorithm>
#include <span>
#include <vector>

#include "resultview/line_cells.h"
#include "resultview/result_caret.h"
#include "unicode/display_width.h"
#include "unicode/utf8_decode.h"

namespace quillon {

namespace {

enum class ClusterKind { Word, Blank, Other };

bool IsBlank(char32_t codePoint) noexcept {
  switch (codePoint) {
    case U' ':
    case U'\t':
    case U'\v':
    case U'\f':
    case 0x00A0:
    case 0x202F:
    case 0x205F:
    case 0x3000:
      return true;
    default:
      return codePoint >= 0x2000 && codePoint <= 0x200A;
  }
}

ClusterKind KindOf(std::span<const char> cluster) noexcept {
  const char32_t first = unicode::DecodeUtf8(cluster, 0).codePoint;
  if (first == U'_' || unicode::IsWordCharacter(first)) return ClusterKind::Word;
  if (IsBlank(first)) return ClusterKind::Blank;
  return ClusterKind::Other;
}

// The clusters of a line that start in [from, to), `from` taken back to a cluster's start,
// with their kinds; `end` is where the last of them ends.
struct ClusterPiece {
  std::vector<std::uint64_t> starts;
  std::vector<ClusterKind> kinds;
  std::uint64_t end = 0;

  ClusterPiece(const LineCells& line, std::uint64_t from, std::uint64_t to) {
    end = line.AtColumn(from).column;
    line.Walk(line.AnchorForColumn(from), [&](std::span<const char> bytes, const CellCluster& cluster) {
      if (cluster.start.column >= to) return false;
      const std::uint64_t clusterEnd = cluster.start.column + bytes.size();
      if (clusterEnd <= from) return true;
      starts.push_back(cluster.start.column);
      kinds.push_back(KindOf(bytes));
      end = clusterEnd;
      return true;
    });
  }
  [[nodiscard]] std::size_t Count() const noexcept { return starts.size(); }
  [[nodiscard]] std::uint64_t EndOf(std::size_t index) const noexcept { return index + 1 < Count() ? starts[index + 1] : end; }
};

}  // namespace

TextRange ClusterWordAt(const ResultLines& lines, TextPosition position, std::uint64_t reach) {
  const LineCells line(lines, position.line);
  const std::uint64_t length = line.Length();
  if (length == 0) return {{position.line, 0}, {position.line, 0}};
  const std::uint64_t at = line.AtColumn(std::min(position.column, length - 1)).column;
  const ClusterPiece piece(line, at - std::min(at, reach), at + 1 + std::min(length - at - 1, reach));
  const auto found = std::lower_bound(piece.starts.begin(), piece.starts.end(), at);
  if (found == piece.starts.end()) return {{position.line, at}, {position.line, at}};
  auto index = static_cast<std::size_t>(found - piece.starts.begin());
  if (piece.kinds[index] != ClusterKind::Word) return {{position.line, at}, {position.line, piece.EndOf(index)}};
  std::size_t first = index;
  while (first > 0 && piece.kinds[first - 1] == ClusterKind::Word) --first;
  std::size_t last = index;
  while (last + 1 < piece.Count() && piece.kinds[last + 1] == ClusterKind::Word) ++last;
  return {{position.line, piece.starts[first]}, {position.line, piece.EndOf(last)}};
}

TextPosition ClusterWordRight(const ResultLines& lines, TextPosition caret, std::uint64_t reach) {
  const LineCells line(lines, caret.line);
  const std::uint64_t length = line.Length();
  const std::uint64_t column = std::min(caret.column, length);
  if (column == length) return CaretRight(lines, {caret.line, length});
  const ClusterPiece piece(line, column, column + std::min(length - column, reach));
  if (piece.Count() == 0) return {caret.line, column};
  std::size_t index = 0;
  const ClusterKind kind = piece.kinds[0];
  if (kind != ClusterKind::Blank)
    while (index < piece.Count() && piece.kinds[index] == kind) ++index;
  while (index < piece.Count() && piece.kinds[index] == ClusterKind::Blank) ++index;
  return {caret.line, index < piece.Count() ? piece.starts[index] : piece.end};
}

TextPosition ClusterWordLeft(const ResultLines& lines, TextPosition caret, std::uint64_t reach) {
  const LineCells line(lines, caret.line);
  const std::uint64_t column = line.AtColumn(std::min(caret.column, line.Length())).column;
  if (column == 0) return CaretLeft(lines, {caret.line, 0});
  const ClusterPiece piece(line, column - std::min(column, reach), column);
  std::size_t index = piece.Count();
  while (index > 0 && piece.kinds[index - 1] == ClusterKind::Blank) --index;
  if (index == 0) return {caret.line, piece.Count() > 0 ? piece.starts[0] : column};
  const ClusterKind kind = piece.kinds[index - 1];
  while (index > 0 && piece.kinds[index - 1] == kind) --index;
  return {caret.line, piece.starts[index]};
}

}  // namespace quillon
