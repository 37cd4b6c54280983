#include "fuzz/result_cells_check.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "resultview/line_cells.h"
#include "resultview/result_cell_index.h"
#include "resultview/result_index.h"
#include "resultview/result_lines.h"
#include "tests/unicode/utf8_text.h"
#include "unicode/display_width.h"
#include "unicode/grapheme_breaks.h"
#include "unicode/utf8_decode.h"

namespace quillon::fuzzing {

namespace {

constexpr char32_t kCellCodePoints[] = {
    0x0301, 0x0308, 0x200D, 0xFE0F, 0x1F3FD,            // Extend, ZWJ, emoji presentation, skin tone
    0x1F1E9, 0x1F1EA, 0x1F468, 0x1F469, 0x2764, 0x1F44D,  // flags, pictographs
    0x6F22, 0x3000, 0xFF21, 0xAC00, 0x1100, 0x1161,       // wide, Hangul
    0x0085, 0x0090, 0x00A0, 0x00E9, 0x0915, 0x094D, 0x0903, 0x0600, 0x200B, 0xFFFD,
};

std::string TextFrom(std::string_view bytes) {
  std::string text;
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    testing::AppendUtf8(text, value < 0x80 ? value : kCellCodePoints[value % std::size(kCellCodePoints)]);
  }
  return text;
}

bool IsControl(std::string_view cluster) {
  const auto first = static_cast<unsigned char>(cluster[0]);
  if (first < 0x20 || first == 0x7F) return true;
  return cluster.size() == 2 && first == 0xC2 && static_cast<unsigned char>(cluster[1]) < 0xA0;
}

// The characters of a line from its start: grapheme clusters, a cluster longer than the limit
// cut after the last code point that fits, each with its cells.
std::vector<CellSpot> ReferenceSpots(std::string_view line) {
  std::vector<CellSpot> spots{{0, 0}};
  for (std::size_t at = 0; at < line.size();) {
    std::size_t end = unicode::NextGraphemeBoundary(line, at);
    if (end - at > kMaxClusterBytes) {
      end = at + unicode::DecodeUtf8(line, at).length;
      for (std::size_t next; (next = end + unicode::DecodeUtf8(line, end).length) - at <= kMaxClusterBytes && next > end;) end = next;
    }
    const std::string_view cluster = line.substr(at, end - at);
    const std::uint64_t cell = spots.back().cell;
    std::uint64_t cells = static_cast<std::uint64_t>(unicode::ClusterCellWidth(cluster));
    if (cluster == "\t") cells = 8 - cell % 8;
    else if (IsControl(cluster)) cells = 2;
    spots.push_back({end, cell + cells});
    at = end;
  }
  return spots;
}

std::string Where(std::size_t line, const CellSpot& spot) {
  return " in line " + std::to_string(line) + " at column " + std::to_string(spot.column) + ", cell " + std::to_string(spot.cell);
}

std::string CheckLine(const ResultLines& lines, std::size_t line, const std::vector<CellSpot>& spots) {
  const LineCells cells(lines, line);
  std::vector<CellSpot> walked;
  CellSpot end;
  cells.Walk({}, [&](std::span<const char> bytes, const CellCluster& cluster) {
    walked.push_back(cluster.start);
    end = {cluster.start.column + bytes.size(), cluster.start.cell + cluster.cells};
    return true;
  });
  walked.push_back(end);
  if (walked != spots) return "the characters walked differ from the reference in line " + std::to_string(line);
  for (std::size_t i = 0; i + 1 < spots.size(); ++i) {
    const CellSpot& start = spots[i];
    const CellSpot& next = spots[i + 1];
    for (const std::uint64_t column : {start.column, next.column - 1})
      if (cells.AtColumn(column) != start) return "AtColumn misses the character" + Where(line, start);
    for (const std::uint64_t cell : {start.cell, next.cell - 1}) {
      const CellCluster covering = cells.AtCell(cell);
      if (covering.start != start || covering.cells != next.cell - start.cell) return "AtCell misses the character" + Where(line, start);
    }
    if (cells.NextColumn(start.column) != next.column) return "NextColumn misses the next character" + Where(line, start);
    if (cells.PreviousColumn(next.column) != start.column) return "PreviousColumn misses the character" + Where(line, start);
  }
  if (cells.AtColumn(cells.Length()) != spots.back()) return "the line's end is not where its cells end in line " + std::to_string(line);
  return "";
}

}  // namespace

std::string CheckResultCells(std::span<const std::uint8_t> fuzzInput) {
  FuzzInput input(fuzzInput);
  const std::size_t spacing = 64 * (1 + std::size_t{input.TakeByte()} % 4);
  const std::size_t piece = std::size_t{input.TakeByte()} + 1;
  const std::string text = TextFrom(input.Rest());

  ResultIndex index(spacing);
  ResultCellIndex cellIndex(spacing);
  for (std::size_t at = 0; at < text.size(); at += piece) {
    const std::string part = text.substr(at, piece);
    cellIndex.Append({part.data(), part.size()});
    index.Append({part.data(), part.size()});
  }
  const SpanByteSource source({text.data(), text.size()});
  const ResultLines lines(index, &cellIndex, source, text.size());

  std::uint64_t longest = 0;
  for (std::uint64_t line = 0; line < lines.Count(); ++line) {
    const std::uint64_t start = lines.Start(line);
    const std::vector<CellSpot> spots = ReferenceSpots(std::string_view(text).substr(start, lines.LineEnd(line) - start));
    longest = std::max(longest, spots.back().cell);
    if (std::string fault = CheckLine(lines, line, spots); !fault.empty()) return fault;
  }
  if (lines.LongestCells() != longest)
    return "the longest line takes " + std::to_string(longest) + " cells, not " + std::to_string(lines.LongestCells());
  return "";
}

}  // namespace quillon::fuzzing
