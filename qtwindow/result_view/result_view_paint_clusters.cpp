#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>
#include <span>

#include "qtwindow/result_view/result_view.h"
#include "resultview/line_cells.h"
#include "resultview/text_clusters.h"

namespace quillon {

namespace {

bool IsPrintableAscii(std::span<const char> cluster) noexcept {
  return cluster.size() == 1 && cluster[0] >= 0x20 && cluster[0] < 0x7F;
}

// Printable ASCII characters that follow one another in the same colour, drawn in one call:
// the font's fixed pitch keeps them on the grid.
class AsciiRun {
 public:
  AsciiRun(QPainter& painter, qreal baseline) : painter_(painter), baseline_(baseline) {}
  ~AsciiRun() { Flush(); }
  AsciiRun(const AsciiRun&) = delete;
  AsciiRun& operator=(const AsciiRun&) = delete;

  void Add(char character, qreal x, const QColor& colour) {
    if (!text_.isEmpty() && colour != colour_) Flush();
    if (text_.isEmpty()) {
      x_ = x;
      colour_ = colour;
    }
    text_.append(QLatin1Char(character));
  }
  void Flush() {
    if (text_.isEmpty()) return;
    painter_.setPen(colour_);
    painter_.drawText(QPointF(x_, baseline_), text_);
    text_.clear();
  }

 private:
  QPainter& painter_;
  qreal baseline_;
  QString text_;
  qreal x_ = 0;
  QColor colour_;
};

}  // namespace

void ResultView::PaintClusterLines(QPainter& painter, const ResultLines& lines, int height) {
  painter.setFont(font());
  const auto [textColour, selectedColour, highlight, selectionStart, selectionEnd] = CurrentPaintStyle();
  // The cells in sight, the last one possibly in part.
  const std::uint64_t rightEdge = left_ + FullColumns() + 2;
  const auto cellX = [this](std::uint64_t cell) { return (static_cast<qreal>(cell) - static_cast<qreal>(left_)) * columnWidth_; };

  std::uint64_t start = 0;
  for (int y = 0; y < height; y += lineHeight_) {
    const std::uint64_t line = top_ + static_cast<std::uint64_t>(y / lineHeight_);
    if (line >= lines.Count()) break;
    start = y == 0 ? lines.Start(line) : start;
    const std::uint64_t end = lines.EndAfter(line, start);
    const LineCells cells(lines, start, end);

    // The selected columns of this line; a selected break shows as one selected cell.
    std::uint64_t selectedFrom = 0;
    std::uint64_t selectedTo = 0;
    if (selectionStart < selectionEnd && line >= selectionStart.line && line <= selectionEnd.line) {
      selectedFrom = line == selectionStart.line ? selectionStart.column : 0;
      selectedTo = line == selectionEnd.line ? selectionEnd.column : cells.Length() + 1;
    }
    const std::uint64_t caretColumn = std::min(caret_.column, cells.Length());
    std::optional<std::uint64_t> caretCell;
    // Where the walk stopped: the line's end when it got there.
    CellSpot reached = cells.AnchorForCell(left_);
    bool reachedEnd = true;
    {
      AsciiRun ascii(painter, y + ascent_);
      cells.Walk(reached, [&](std::span<const char> bytes, const CellCluster& cluster) {
        if (cluster.start.cell >= rightEdge) {
          reachedEnd = false;
          return false;
        }
        reached = {cluster.start.column + bytes.size(), cluster.start.cell + cluster.cells};
        if (cluster.start.column == caretColumn) caretCell = cluster.start.cell;
        if (reached.cell <= left_) return true;
        const qreal x = cellX(cluster.start.cell);
        const bool selected = cluster.start.column >= selectedFrom && cluster.start.column < selectedTo;
        // Text queued in the run lies in earlier cells: it is drawn after this fill unharmed.
        if (selected) painter.fillRect(QRectF(x, y, static_cast<qreal>(cluster.cells) * columnWidth_, lineHeight_), highlight);
        const QColor& colour = selected ? selectedColour : textColour;
        if (IsPrintableAscii(bytes)) {
          ascii.Add(bytes[0], x, colour);
        } else {
          // A run goes on only from cell to cell: a tab leaves a gap.
          ascii.Flush();
          if (bytes[0] != '\t') painter.drawPixmap(QPointF(x, y), clusterPixmaps_.Get(bytes, cluster.cells, colour));
        }
        return true;
      });
    }
    if (reachedEnd) {
      if (caretColumn == cells.Length()) caretCell = reached.cell;
      if (selectedTo > cells.Length() && selectedFrom <= cells.Length() && reached.cell >= left_)
        painter.fillRect(QRectF(cellX(reached.cell), y, columnWidth_, lineHeight_), highlight);
    }

    if (hasFocus() && line == caret_.line && caretCell && *caretCell >= left_ && *caretCell <= rightEdge)
      painter.fillRect(QRectF(std::floor(cellX(*caretCell)), y, 1, lineHeight_), textColour);

    start = lines.AfterBreak(end);
  }
}

}  // namespace quillon
