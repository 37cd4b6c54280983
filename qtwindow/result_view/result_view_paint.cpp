#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "qtwindow/result_view/result_view.h"
#include "resultview/result_shown_text.h"

namespace quillon {

namespace {

// The characters painted for `bytes`, one per byte.
QString PaintedText(std::span<const char> bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char byte : bytes) *out++ = QChar(PaintedCharacter(static_cast<unsigned char>(byte)));
  return text;
}

}  // namespace

void ResultView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), palette().color(QPalette::Base));
  if (document_.generation() != shown_.generation()) {
    // A new run has begun since the last refresh: nothing of the old text is valid any more.
    QTimer::singleShot(0, this, &ResultView::refresh);
    return;
  }
  // Painted from the file as it is now, which may have become shorter since the last refresh:
  // then the view catches up right after.
  const ResultLines lines = document_.Lines();
  if (lines.Utf8()) PaintClusterLines(painter, lines, event->rect().bottom() + 1);
  else PaintLines(painter, lines, event->rect().bottom() + 1);
  if (document_.FoundShorter() || lines.Size() < shown_.size()) QTimer::singleShot(0, this, &ResultView::refresh);
}

ResultView::PaintStyle ResultView::CurrentPaintStyle() const {
  return {palette().color(QPalette::Text), palette().color(QPalette::HighlightedText), palette().color(QPalette::Highlight),
          std::min(anchor_, caret_), std::max(anchor_, caret_)};
}

void ResultView::PaintLines(QPainter& painter, const ResultLines& lines, int height) const {
  painter.setFont(font());
  const auto [textColour, selectedColour, highlight, selectionStart, selectionEnd] = CurrentPaintStyle();
  // The columns in sight, the last one possibly in part.
  const std::uint64_t columns = FullColumns() + 2;
  const auto columnX = [this](std::uint64_t column) { return static_cast<qreal>(column - left_) * columnWidth_; };

  std::vector<char> inSight(static_cast<std::size_t>(columns));
  std::uint64_t start = 0;
  for (int y = 0; y < height; y += lineHeight_) {
    const std::uint64_t line = top_ + static_cast<std::uint64_t>(y / lineHeight_);
    if (line >= lines.Count()) break;
    // Each line starts where the break of the one before ends, so the index is asked once a line.
    start = y == 0 ? lines.Start(line) : start;
    const std::uint64_t end = lines.EndAfter(line, start);
    const std::uint64_t length = end - start;
    const std::uint64_t first = std::min(left_, length);
    // Only what the file still holds is painted.
    const std::uint64_t last = first + lines.Read(start + first, std::span<char>(inSight).first(std::min(length, left_ + columns) - first));

    // The selected columns of this line; a selected break shows as one selected column.
    std::uint64_t selectedFrom = 0;
    std::uint64_t selectedTo = 0;
    if (selectionStart < selectionEnd && line >= selectionStart.line && line <= selectionEnd.line) {
      selectedFrom = line == selectionStart.line ? std::min(selectionStart.column, length) : 0;
      selectedTo = line == selectionEnd.line ? std::min(selectionEnd.column, length) : length + 1;
      const std::uint64_t from = std::max(selectedFrom, left_);
      const std::uint64_t to = std::min(selectedTo, left_ + columns);
      if (from < to) painter.fillRect(QRectF(columnX(from), y, static_cast<qreal>(to - from) * columnWidth_, lineHeight_), highlight);
    }

    // Painted in up to three pieces: before, inside and after the selection.
    const std::uint64_t cuts[] = {first, std::clamp(selectedFrom, first, last), std::clamp(selectedTo, first, last), last};
    for (int piece = 0; piece < 3; ++piece) {
      if (cuts[piece] == cuts[piece + 1]) continue;
      painter.setPen(piece == 1 ? selectedColour : textColour);
      const std::span<const char> bytes = std::span<const char>(inSight).subspan(cuts[piece] - first, cuts[piece + 1] - cuts[piece]);
      painter.drawText(QPointF(columnX(cuts[piece]), y + ascent_), PaintedText(bytes));
    }

    if (hasFocus() && line == caret_.line && caret_.column >= left_ && caret_.column <= left_ + columns) {
      const qreal x = std::floor(columnX(std::min(caret_.column, length)));
      painter.fillRect(QRectF(x, y, 1, lineHeight_), textColour);
    }

    start = lines.AfterBreak(end);
  }
}

}  // namespace quillon
