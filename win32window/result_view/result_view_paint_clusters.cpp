#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <span>
#include <string>

#include "resultview/line_cells.h"
#include "resultview/text_clusters.h"
#include "win32window/result_view/result_view.h"

namespace quillon {

namespace {

bool IsPrintableAscii(std::span<const char> cluster) noexcept {
  return cluster.size() == 1 && cluster[0] >= 0x20 && cluster[0] < 0x7F;
}

// Printable ASCII characters that follow one another in the same colour, drawn in one call,
// a cell each.
class AsciiRun {
 public:
  AsciiRun(HDC dc, int y, const std::vector<INT>& advances) : dc_(dc), y_(y), advances_(advances) {}
  ~AsciiRun() { Flush(); }
  AsciiRun(const AsciiRun&) = delete;
  AsciiRun& operator=(const AsciiRun&) = delete;

  void Add(char character, int x, COLORREF colour) {
    if (!text_.empty() && (colour != colour_ || text_.size() == advances_.size())) Flush();
    if (text_.empty()) {
      x_ = x;
      colour_ = colour;
    }
    text_.push_back(static_cast<wchar_t>(character));
  }
  void Flush() {
    if (text_.empty()) return;
    ::SetTextColor(dc_, colour_);
    ::ExtTextOutW(dc_, x_, y_, 0, nullptr, text_.data(), static_cast<UINT>(text_.size()), advances_.data());
    text_.clear();
  }

 private:
  HDC dc_;
  int y_;
  const std::vector<INT>& advances_;
  std::wstring text_;
  int x_ = 0;
  COLORREF colour_ = 0;
};

// A character outside plain ASCII, in exactly its cells: a glyph wider than them is cut, a
// narrower one centred. A control shows as its code in hex, boxed: few fonts have the control
// pictures, and a missing glyph's box would not tell one control from another.
void PaintCluster(HDC dc, std::span<const char> cluster, RECT cells, COLORREF colour, HFONT hexFont) {
  ::SetTextColor(dc, colour);
  if (const std::optional<char32_t> control = ControlOf(cluster)) {
    const UniqueBrush frame(::CreateSolidBrush(colour));
    RECT box{cells.left, cells.top + 1, cells.right, cells.bottom - 1};
    ::FrameRect(dc, &box, frame.get());
    std::array<wchar_t, 8> hex{};
    std::swprintf(hex.data(), hex.size(), L"%02X", static_cast<unsigned>(*control));
    const SelectedObject small(dc, hexFont);
    ::DrawTextW(dc, hex.data(), -1, &cells, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    return;
  }
  std::array<wchar_t, kMaxClusterBytes + 1> text{};
  const int units = ::MultiByteToWideChar(CP_UTF8, 0, cluster.data(), static_cast<int>(cluster.size()), text.data(), static_cast<int>(text.size()));
  if (units <= 0) return;
  SIZE advance{};
  ::GetTextExtentPoint32W(dc, text.data(), units, &advance);
  const int width = cells.right - cells.left;
  const int x = advance.cx < width ? cells.left + (width - advance.cx) / 2 : cells.left;
  ::ExtTextOutW(dc, x, cells.top, ETO_CLIPPED, &cells, text.data(), static_cast<UINT>(units), nullptr);
}

}  // namespace

void ResultView::PaintClusterLines(HDC dc, const ResultLines& lines, int height) {
  const PaintStyle style = CurrentPaintStyle();
  const int lineHeight = fonts_.LineHeight();
  const int cellWidth = fonts_.CellWidth();
  // The cells in sight, the last one possibly in part.
  const std::uint64_t rightEdge = left_ + FullColumns() + 2;
  const auto cellX = [this, cellWidth](std::uint64_t cell) {
    return static_cast<int>(static_cast<std::int64_t>(cell) - static_cast<std::int64_t>(left_)) * cellWidth;
  };
  const bool focused = ::GetFocus() == window_;

  std::uint64_t start = 0;
  for (int y = 0; y < height; y += lineHeight) {
    const std::uint64_t line = top_ + static_cast<std::uint64_t>(y / lineHeight);
    if (line >= lines.Count()) break;
    start = y == 0 ? lines.Start(line) : start;
    const std::uint64_t end = lines.EndAfter(line, start);
    const LineCells cells(lines, start, end);

    // The selected columns of this line; a selected break shows as one selected cell.
    std::uint64_t selectedFrom = 0;
    std::uint64_t selectedTo = 0;
    if (style.selectionStart < style.selectionEnd && line >= style.selectionStart.line && line <= style.selectionEnd.line) {
      selectedFrom = line == style.selectionStart.line ? style.selectionStart.column : 0;
      selectedTo = line == style.selectionEnd.line ? style.selectionEnd.column : cells.Length() + 1;
    }
    const std::uint64_t caretColumn = std::min(caret_.column, cells.Length());
    std::optional<std::uint64_t> caretCell;
    // Where the walk stopped: the line's end when it got there.
    CellSpot reached = cells.AnchorForCell(left_);
    bool reachedEnd = true;
    {
      AsciiRun ascii(dc, y, advances_);
      cells.Walk(reached, [&](std::span<const char> bytes, const CellCluster& cluster) {
        if (cluster.start.cell >= rightEdge) {
          reachedEnd = false;
          return false;
        }
        reached = {cluster.start.column + bytes.size(), cluster.start.cell + cluster.cells};
        if (cluster.start.column == caretColumn) caretCell = cluster.start.cell;
        if (reached.cell <= left_) return true;
        const int x = cellX(cluster.start.cell);
        const bool selected = cluster.start.column >= selectedFrom && cluster.start.column < selectedTo;
        // Text queued in the run lies in earlier cells: it is drawn after this fill unharmed.
        if (selected) FillCells(dc, x, y, cluster.cells, style.highlight);
        const COLORREF colour = selected ? style.selectedText : style.text;
        if (IsPrintableAscii(bytes)) {
          ascii.Add(bytes[0], x, colour);
        } else {
          // A run goes on only from cell to cell: a tab leaves a gap.
          ascii.Flush();
          const RECT area{x, y, x + static_cast<int>(cluster.cells) * cellWidth, y + lineHeight};
          if (bytes[0] != '\t') PaintCluster(dc, bytes, area, colour, fonts_.Hex());
        }
        return true;
      });
    }
    if (reachedEnd) {
      if (caretColumn == cells.Length()) caretCell = reached.cell;
      if (selectedTo > cells.Length() && selectedFrom <= cells.Length() && reached.cell >= left_)
        FillCells(dc, cellX(reached.cell), y, 1, style.highlight);
    }

    if (focused && line == caret_.line && caretCell && *caretCell >= left_ && *caretCell <= rightEdge)
      PaintCaret(dc, cellX(*caretCell), y, style.caret);

    start = lines.AfterBreak(end);
  }
}

}  // namespace quillon
