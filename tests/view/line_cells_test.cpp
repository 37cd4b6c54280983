#include "resultview/line_cells.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "resultview/result_cell_index.h"
#include "resultview/result_index.h"
#include "resultview/result_lines.h"
#include "tests/view/reference_cells.h"

namespace quillon {
namespace {

using testing::MixedLine;
using testing::ReferenceSpots;

// A UTF-8 text indexed as a run's writer feeds it: in pieces of `piece` bytes.
class Utf8Text {
 public:
  explicit Utf8Text(std::string text, std::size_t spacing = 64, std::size_t piece = 7)
      : text_(std::move(text)), index_(spacing), cells_(spacing), source_({text_.data(), text_.size()}) {
    for (std::size_t at = 0; at < text_.size(); at += piece) {
      const std::string part = text_.substr(at, piece);
      cells_.Append({part.data(), part.size()});
      index_.Append({part.data(), part.size()});
    }
  }
  [[nodiscard]] ResultLines Lines() const { return {index_, &cells_, source_, text_.size()}; }

 private:
  std::string text_;
  ResultIndex index_;
  ResultCellIndex cells_;
  SpanByteSource source_;
};

// The character starts of a line in both measures, and its end.
std::vector<CellSpot> SpotsOf(const LineCells& line) {
  std::vector<CellSpot> spots;
  CellSpot end;
  line.Walk({}, [&](std::span<const char> bytes, const CellCluster& cluster) {
    spots.push_back(cluster.start);
    end = {cluster.start.column + bytes.size(), cluster.start.cell + cluster.cells};
    return true;
  });
  spots.push_back(end);
  return spots;
}

// Checks every query of `line` against its character starts `spots` (the last one its end).
void ExpectQueriesMatch(const LineCells& line, const std::vector<CellSpot>& spots) {
  ASSERT_EQ(spots.back().column, line.Length());
  EXPECT_EQ(line.Cells(), spots.back().cell);
  for (std::size_t i = 0; i + 1 < spots.size(); ++i) {
    const CellSpot& start = spots[i];
    const CellSpot& next = spots[i + 1];
    SCOPED_TRACE("character at column " + std::to_string(start.column));
    // Every byte of a character stands for its start, and every cell it covers too.
    for (std::uint64_t column = start.column; column < next.column; ++column) ASSERT_EQ(line.AtColumn(column), start);
    for (std::uint64_t cell = start.cell; cell < next.cell; ++cell) {
      const CellCluster covering = line.AtCell(cell);
      ASSERT_EQ(covering.start, start) << "cell " << cell;
      ASSERT_EQ(covering.cells, next.cell - start.cell);
    }
    ASSERT_EQ(line.NextColumn(start.column), next.column);
    ASSERT_EQ(line.PreviousColumn(next.column), start.column);
  }
  EXPECT_EQ(line.AtColumn(line.Length() + 3), spots.back());
  EXPECT_EQ(line.AtCell(spots.back().cell).start, spots.back());
  EXPECT_EQ(line.AtCell(spots.back().cell).cells, 0u);
}

struct WidthCase {
  const char* name;
  std::string line;
  std::vector<CellSpot> spots;  // {column, cell} of each character's start, then of the end
};

TEST(LineCellsTest, CharactersTakeTheirCellsAndColumnsMapToTheirBytes) {
  const std::vector<WidthCase> cases = {
      {"ascii", "abc", {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {"e and a combining acute accent", "e\xCC\x81x", {{0, 0}, {3, 1}, {4, 2}}},
      {"a combining mark alone", "\xCC\x81x", {{0, 0}, {2, 1}, {3, 2}}},
      {"two ideographs", "\xE6\xBC\xA2\xE5\xAD\x97" "a", {{0, 0}, {3, 2}, {6, 4}, {7, 5}}},
      {"thumbs up with a skin tone", "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD!", {{0, 0}, {8, 2}, {9, 3}}},
      {"a flag and a lone regional indicator", "\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA\xF0\x9F\x87\xA9", {{0, 0}, {8, 2}, {12, 3}}},
      {"a heart with emoji presentation", "\xE2\x9D\xA4\xEF\xB8\x8Fx", {{0, 0}, {6, 2}, {7, 3}}},
      {"a family joined by ZWJ", "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7.", {{0, 0}, {18, 2}, {19, 3}}},
      {"a tab at the start", "\tb", {{0, 0}, {1, 8}, {2, 9}}},
      {"a tab after one cell", "a\tb", {{0, 0}, {1, 1}, {2, 8}, {3, 9}}},
      {"a tab on a stop", "abcdefgh\tx", {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}, {8, 8}, {9, 16}, {10, 17}}},
      {"a tab after a wide character", "\t\xE6\xBC\xA2\t", {{0, 0}, {1, 8}, {4, 10}, {5, 16}}},
      {"C0 controls and DEL", "a\x01\x1B\x7F", {{0, 0}, {1, 1}, {2, 3}, {3, 5}, {4, 7}}},
      {"a C1 control", "\xC2\x85x", {{0, 0}, {2, 2}, {3, 3}}},
      {"invalid bytes", "a\xFF\xE6\xBC", {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}},
  };
  for (const WidthCase& testCase : cases) {
    SCOPED_TRACE(testCase.name);
    const Utf8Text text("first line\n" + testCase.line + "\r\nlast");
    const ResultLines lines = text.Lines();
    const LineCells line(lines, 1);
    EXPECT_EQ(SpotsOf(line), testCase.spots);
    ExpectQueriesMatch(line, testCase.spots);
  }
}

TEST(LineCellsTest, ALongLineMapsColumnsAndCellsAcrossItsAnchorsAsFromItsStart) {
  const std::string line = MixedLine(400);
  std::vector<CellSpot> expected = ReferenceSpots(line);
  for (const std::size_t piece : {1, 7, 64, 5000}) {
    SCOPED_TRACE("pieces of " + std::to_string(piece));
    const Utf8Text text("before\n" + line + "\nafter", 64, piece);
    const ResultLines lines = text.Lines();
    const LineCells cells(lines, 1);
    ASSERT_EQ(SpotsOf(cells), expected);
    ExpectQueriesMatch(cells, expected);
    EXPECT_EQ(lines.LongestCells(), expected.back().cell);
  }
}

TEST(LineCellsTest, TheLongestLineIsCountedInCellsWhereverItComes) {
  std::mt19937 random(11);
  for (int round = 0; round < 20; ++round) {
    std::string text;
    std::uint64_t longest = 0;
    std::uniform_int_distribution<std::size_t> clusters(0, 40);
    for (int line = 0; line < 60; ++line) {
      // Lines of 0 to 200 bytes whose cells fall well short of their bytes or not.
      const std::string content = line % 3 == 0 ? std::string(clusters(random) * 4, 'a') : MixedLine(clusters(random));
      longest = std::max(longest, ReferenceSpots(content).back().cell);
      text += content + (line % 2 == 0 ? "\n" : "\r\n");
    }
    const Utf8Text indexed(text, 64 * (1 + static_cast<std::size_t>(round % 4)), 1 + static_cast<std::size_t>(round) * 37);
    ASSERT_EQ(indexed.Lines().LongestCells(), longest) << "round " << round;
  }
}

// Counts the bytes read, to show that a query reads near its anchor only.
class CountingSource : public ByteSource {
 public:
  explicit CountingSource(const std::string& text) : inner_({text.data(), text.size()}) {}
  std::size_t Read(std::uint64_t offset, std::span<char> out) const override {
    const std::size_t got = inner_.Read(offset, out);
    read_ += got;
    return got;
  }
  mutable std::uint64_t read_ = 0;

 private:
  SpanByteSource inner_;
};

TEST(LineCellsTest, AQueryFarIntoALongLineReadsOnlyNearItsAnchor) {
  const std::string line = MixedLine(200'000);
  const std::vector<CellSpot> expected = ReferenceSpots(line);
  ResultIndex index(4096);
  ResultCellIndex cellIndex(4096);
  cellIndex.Append({line.data(), line.size()});
  index.Append({line.data(), line.size()});
  const CountingSource source(line);
  const ResultLines lines(index, &cellIndex, source, line.size());
  const LineCells cells(lines, 0);
  const std::size_t farIndex = expected.size() * 3 / 4;
  const CellSpot far = expected[farIndex];
  source.read_ = 0;
  EXPECT_EQ(cells.AtCell(far.cell).start, far);
  EXPECT_EQ(cells.AtColumn(expected[farIndex + 1].column - 1), far);
  EXPECT_EQ(cells.Cells(), expected.back().cell);
  EXPECT_EQ(lines.LongestCells(), expected.back().cell);
  // Three queries, each reading a chunk from an anchor at most 4096 bytes back.
  EXPECT_LE(source.read_, 3u * 8192u);
}

TEST(LineCellsTest, AClusterLongerThanTheLimitIsCutTheSameWayFromAnyAnchor) {
  // An 'a' with 300 combining marks: cut into pieces of at most the limit.
  std::string marks = "a";
  for (int i = 0; i < 300; ++i) marks += "\xCC\x81";
  const std::string line = "x" + marks + "y" + marks;
  const Utf8Text whole(line, 64, 1);
  const ResultLines lines = whole.Lines();
  const LineCells cells(lines, 0);
  const std::vector<CellSpot> spots = SpotsOf(cells);
  for (std::size_t i = 0; i + 1 < spots.size(); ++i) EXPECT_LE(spots[i + 1].column - spots[i].column, kMaxClusterBytes);
  ExpectQueriesMatch(cells, spots);
}

TEST(LineCellsTest, BytesAreCharactersOfOneCell) {
  const std::string text = "a\t\xE6\xBC\xA2\n";
  ResultIndex index(64);
  index.Append({text.data(), text.size()});
  const SpanByteSource source({text.data(), text.size()});
  const ResultLines lines(index, source);
  const LineCells line(lines, 0);
  ExpectQueriesMatch(line, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}});
}

}  // namespace
}  // namespace quillon
