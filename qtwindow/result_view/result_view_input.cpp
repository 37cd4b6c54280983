#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "qtwindow/result_view/result_view.h"
#include "resultview/line_cells.h"
#include "resultview/result_caret.h"
#include "resultview/result_words.h"

namespace quillon {

namespace {

constexpr int kDragScrollMilliseconds = 50;

bool IsCopyOrSelectAll(QKeyEvent* event) {
  return event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll);
}

}  // namespace

bool ResultView::event(QEvent* event) {
  // Copy and Select All belong to the view while it has the focus, whatever shortcuts the
  // window around it defines.
  if (event->type() == QEvent::ShortcutOverride && IsCopyOrSelectAll(static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QAbstractScrollArea::event(event);
}

void ResultView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    copy();
    return;
  }
  const TextPosition anchorBefore = anchor_;
  const TextPosition caretBefore = caret_;
  if (event->matches(QKeySequence::SelectAll)) {
    selectAll();
  } else {
    bool handled = false;
    {
      handled = MoveCaretByKey(ReadCurrent(), event->key(), event->modifiers());
    }
    if (!handled) {
      QAbstractScrollArea::keyPressEvent(event);
      return;
    }
  }
  if (anchor_ != anchorBefore || caret_ != caretBefore) OfferPrimarySelection();
}

bool ResultView::MoveCaretByKey(const ResultLines& lines, int key, Qt::KeyboardModifiers modifiers) {
  const bool extend = modifiers.testFlag(Qt::ShiftModifier);
  const bool control = modifiers.testFlag(Qt::ControlModifier);
  const auto rows = static_cast<std::int64_t>(FullRows());
  TextPosition caret = caret_;
  bool keepWantedColumn = false;
  // Left and Right without Shift first drop a selection at its start or end, as editors do.
  const bool collapse = !extend && hasSelection();
  switch (key) {
    case Qt::Key_Left:
      if (control) caret = WordLeft(lines, caret_);
      else caret = collapse ? std::min(anchor_, caret_) : CaretLeft(lines, caret_);
      break;
    case Qt::Key_Right:
      if (control) caret = WordRight(lines, caret_);
      else caret = collapse ? std::max(anchor_, caret_) : CaretRight(lines, caret_);
      break;
    case Qt::Key_Up:
      caret = CaretVertical(lines, caret_, -1, wantedCell_);
      keepWantedColumn = true;
      break;
    case Qt::Key_Down:
      caret = CaretVertical(lines, caret_, 1, wantedCell_);
      keepWantedColumn = true;
      break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
      // The page moves with the caret, so the caret keeps its row on the screen.
      const std::int64_t delta = key == Qt::Key_PageUp ? -rows : rows;
      caret = CaretVertical(lines, caret_, delta, wantedCell_);
      const std::uint64_t moved = caret.line > caret_.line ? caret.line - caret_.line : caret_.line - caret.line;
      ScrollTo(key == Qt::Key_PageUp ? top_ - std::min(top_, moved) : top_ + moved, left_);
      keepWantedColumn = true;
      break;
    }
    case Qt::Key_Home:
      caret = control ? TextPosition{} : TextPosition{caret_.line, 0};
      break;
    case Qt::Key_End:
      caret = control ? lines.End() : TextPosition{caret_.line, lines.Length(caret_.line)};
      break;
    default:
      return false;
  }
  if (!keepWantedColumn) wantedCell_ = CellOf(lines, caret);
  MoveCaret(caret, extend);
  return true;
}

std::uint64_t ResultView::LineAt(const ResultLines& lines, QPoint point) const {
  if (point.y() < 0) return top_ == 0 ? 0 : top_ - 1;
  return std::min(lines.Count() - 1, top_ + static_cast<std::uint64_t>(point.y() / lineHeight_));
}

TextPosition ResultView::PositionAt(const ResultLines& lines, QPoint point) const {
  const std::uint64_t line = LineAt(lines, point);
  if (lines.Utf8()) {
    const LineCells cells(lines, line);
    if (point.x() < 0 && left_ > 0) return {line, cells.AtCell(left_ - 1).start.column};
    // Clicks fall between the two characters nearest to them, whatever their widths.
    const qreal cell = static_cast<qreal>(left_) + std::max<qreal>(0, point.x()) / columnWidth_;
    const CellCluster under = cells.AtCell(static_cast<std::uint64_t>(cell));
    const bool after = under.cells > 0 && cell - static_cast<qreal>(under.start.cell) >= static_cast<qreal>(under.cells) / 2;
    return {line, after ? cells.NextColumn(under.start.column) : under.start.column};
  }
  // Clicks fall between the two characters nearest to them.
  const qreal columns = std::round(std::max<qreal>(0, point.x()) / columnWidth_);
  const std::uint64_t column = left_ + static_cast<std::uint64_t>(columns);
  const std::uint64_t before = point.x() < 0 && left_ > 0 ? left_ - 1 : column;
  return {line, std::min(before, lines.Length(line))};
}

TextPosition ResultView::CharacterAt(const ResultLines& lines, QPoint point) const {
  const qreal columns = std::floor(std::max<qreal>(0, point.x()) / columnWidth_);
  const std::uint64_t cell = left_ + static_cast<std::uint64_t>(columns);
  const std::uint64_t line = LineAt(lines, point);
  if (lines.Utf8()) return {line, LineCells(lines, line).AtCell(cell).start.column};
  return {line, cell};
}

bool ResultView::IsTripleClick(QMouseEvent* event) const {
  return tripleClickTimer_.isActive() && event->button() == Qt::LeftButton &&
         !event->modifiers().testFlag(Qt::ShiftModifier) &&
         (event->position().toPoint() - tripleClickPoint_).manhattanLength() < QApplication::startDragDistance();
}

void ResultView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  const bool tripleClick = IsTripleClick(event);
  tripleClickTimer_.stop();
  if (tripleClick) {
    // The whole line, without its break.
    const ResultLines lines = ReadCurrent();
    const std::uint64_t line = LineAt(lines, event->position().toPoint());
    anchor_ = {line, 0};
    const TextPosition end{line, lines.Length(line)};
    wantedCell_ = CellOf(lines, end);
    MoveCaret(end, true);
    return;
  }
  {
    const ResultLines lines = ReadCurrent();
    const TextPosition position = PositionAt(lines, event->position().toPoint());
    wantedCell_ = CellOf(lines, position);
    MoveCaret(position, event->modifiers().testFlag(Qt::ShiftModifier));
  }
  dragging_ = true;
  lastDragPoint_ = event->position().toPoint();
}

void ResultView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || !event->buttons().testFlag(Qt::LeftButton)) {
    QAbstractScrollArea::mouseMoveEvent(event);
    return;
  }
  lastDragPoint_ = event->position().toPoint();
  DragTo(lastDragPoint_);
  // Holding the mouse beyond the edges keeps scrolling towards it.
  if (viewport()->rect().contains(lastDragPoint_)) dragScrollTimer_.stop();
  else if (!dragScrollTimer_.isActive()) dragScrollTimer_.start(kDragScrollMilliseconds, this);
}

void ResultView::DragTo(QPoint point) {
  const ResultLines lines = ReadCurrent();
  TextPosition position = PositionAt(lines, point);
  if (point.y() >= viewport()->height()) position = CaretVertical(lines, position, 1, position.column);
  if (point.x() >= viewport()->width()) position.column = LineCells(lines, position.line).NextColumn(position.column);
  wantedCell_ = CellOf(lines, position);
  MoveCaret(position, true);
}

void ResultView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    dragging_ = false;
    dragScrollTimer_.stop();
    OfferPrimarySelection();
  }
  QAbstractScrollArea::mouseReleaseEvent(event);
}

void ResultView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || event->modifiers().testFlag(Qt::ShiftModifier)) {
    mousePressEvent(event);
    return;
  }
  const ResultLines lines = ReadCurrent();
  const TextRange word = WordAt(lines, CharacterAt(lines, event->position().toPoint()));
  anchor_ = word.from;
  wantedCell_ = CellOf(lines, word.to);
  MoveCaret(word.to, true);
  tripleClickPoint_ = event->position().toPoint();
  tripleClickTimer_.start(QApplication::doubleClickInterval(), this);
}

void ResultView::timerEvent(QTimerEvent* event) {
  if (event->timerId() == tripleClickTimer_.timerId()) {
    tripleClickTimer_.stop();
    return;
  }
  if (event->timerId() != dragScrollTimer_.timerId()) {
    QAbstractScrollArea::timerEvent(event);
    return;
  }
  if (!dragging_) {
    dragScrollTimer_.stop();
    return;
  }
  DragTo(lastDragPoint_);
}

void ResultView::wheelEvent(QWheelEvent* event) {
  // Wheels count in eighths of a degree, 120 to a notch, and a notch scrolls a few lines
  // (or columns), whatever the scroll bars' scale.
  event->accept();
  const QPoint delta = event->angleDelta();
  const bool horizontal = std::abs(delta.x()) > std::abs(delta.y());
  wheelRemainder_ += horizontal ? delta.x() : delta.y();
  const int notches = wheelRemainder_ / 120;
  if (notches == 0) return;
  wheelRemainder_ -= notches * 120;
  const std::int64_t steps = -static_cast<std::int64_t>(notches) * QApplication::wheelScrollLines();
  const auto moved = [](std::uint64_t from, std::int64_t by) {
    if (by < 0) return from - std::min(from, static_cast<std::uint64_t>(-by));
    return from + static_cast<std::uint64_t>(by);
  };
  if (horizontal) ScrollTo(top_, moved(left_, steps));
  else ScrollTo(moved(top_, steps), left_);
}

void ResultView::focusInEvent(QFocusEvent* event) {
  viewport()->update();
  QAbstractScrollArea::focusInEvent(event);
}

void ResultView::focusOutEvent(QFocusEvent* event) {
  viewport()->update();
  QAbstractScrollArea::focusOutEvent(event);
}

void ResultView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void ResultView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) UpdateFontMetrics();
}

}  // namespace quillon
