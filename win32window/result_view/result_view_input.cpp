#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "resultview/line_cells.h"
#include "resultview/result_caret.h"
#include "resultview/result_words.h"
#include "win32window/result_view/result_view.h"
#include "win32window/win32_handles.h"

namespace quillon {

namespace {

constexpr UINT_PTR kDragScrollTimer = 1;
constexpr UINT_PTR kTripleClickTimer = 2;
constexpr UINT kDragScrollMilliseconds = 50;
constexpr int kWheelNotch = WHEEL_DELTA;

enum MenuCommand : UINT_PTR { kCopyCommand = 1, kSelectAllCommand = 2 };

bool KeyDown(int key) noexcept { return (::GetKeyState(key) & 0x8000) != 0; }

}  // namespace

bool ResultView::OnKeyDown(WPARAM key) {
  const bool shift = KeyDown(VK_SHIFT);
  const bool control = KeyDown(VK_CONTROL);
  if ((control && key == 'C') || (control && key == VK_INSERT)) {
    Copy();
    return true;
  }
  if (control && key == 'A') {
    SelectAll();
    return true;
  }
  return MoveCaretByKey(ReadCurrent(), key, shift, control);
}

bool ResultView::MoveCaretByKey(const ResultLines& lines, WPARAM key, bool extend, bool control) {
  const auto rows = static_cast<std::int64_t>(FullRows());
  TextPosition caret = caret_;
  bool keepWantedColumn = false;
  // Left and Right without Shift first drop a selection at its start or end, as editors do.
  const bool collapse = !extend && hasSelection();
  switch (key) {
    case VK_LEFT:
      if (control) caret = WordLeft(lines, caret_);
      else caret = collapse ? std::min(anchor_, caret_) : CaretLeft(lines, caret_);
      break;
    case VK_RIGHT:
      if (control) caret = WordRight(lines, caret_);
      else caret = collapse ? std::max(anchor_, caret_) : CaretRight(lines, caret_);
      break;
    case VK_UP:
      caret = CaretVertical(lines, caret_, -1, wantedCell_);
      keepWantedColumn = true;
      break;
    case VK_DOWN:
      caret = CaretVertical(lines, caret_, 1, wantedCell_);
      keepWantedColumn = true;
      break;
    case VK_PRIOR:
    case VK_NEXT: {
      // The page moves with the caret, so the caret keeps its row on the screen.
      const std::int64_t delta = key == VK_PRIOR ? -rows : rows;
      caret = CaretVertical(lines, caret_, delta, wantedCell_);
      const std::uint64_t moved = caret.line > caret_.line ? caret.line - caret_.line : caret_.line - caret.line;
      ScrollTo(key == VK_PRIOR ? top_ - std::min(top_, moved) : top_ + moved, left_);
      keepWantedColumn = true;
      break;
    }
    case VK_HOME:
      caret = control ? TextPosition{} : TextPosition{caret_.line, 0};
      break;
    case VK_END:
      caret = control ? lines.End() : TextPosition{caret_.line, lines.Length(caret_.line)};
      break;
    default:
      return false;
  }
  if (!keepWantedColumn) wantedCell_ = CellOf(lines, caret);
  MoveCaret(caret, extend);
  return true;
}

std::uint64_t ResultView::LineAt(const ResultLines& lines, POINT point) const {
  if (point.y < 0) return top_ == 0 ? 0 : top_ - 1;
  return std::min(lines.Count() - 1, top_ + static_cast<std::uint64_t>(point.y / fonts_.LineHeight()));
}

TextPosition ResultView::PositionAt(const ResultLines& lines, POINT point) const {
  const std::uint64_t line = LineAt(lines, point);
  const double cellWidth = fonts_.CellWidth();
  if (lines.Utf8()) {
    const LineCells cells(lines, line);
    if (point.x < 0 && left_ > 0) return {line, cells.AtCell(left_ - 1).start.column};
    // Clicks fall between the two characters nearest to them, whatever their widths.
    const double cell = static_cast<double>(left_) + std::max<LONG>(0, point.x) / cellWidth;
    const CellCluster under = cells.AtCell(static_cast<std::uint64_t>(cell));
    const bool after = under.cells > 0 && cell - static_cast<double>(under.start.cell) >= static_cast<double>(under.cells) / 2;
    return {line, after ? cells.NextColumn(under.start.column) : under.start.column};
  }
  // Clicks fall between the two characters nearest to them.
  const double columns = std::round(std::max<LONG>(0, point.x) / cellWidth);
  const std::uint64_t column = left_ + static_cast<std::uint64_t>(columns);
  const std::uint64_t before = point.x < 0 && left_ > 0 ? left_ - 1 : column;
  return {line, std::min(before, lines.Length(line))};
}

TextPosition ResultView::CharacterAt(const ResultLines& lines, POINT point) const {
  const std::uint64_t cell = left_ + static_cast<std::uint64_t>(std::max<LONG>(0, point.x) / fonts_.CellWidth());
  const std::uint64_t line = LineAt(lines, point);
  if (lines.Utf8()) return {line, LineCells(lines, line).AtCell(cell).start.column};
  return {line, cell};
}

void ResultView::OnLeftButtonDown(POINT point, bool shift) {
  ::SetFocus(window_);
  const bool tripleClick = tripleClickPending_ && !shift &&
                           std::abs(point.x - tripleClickPoint_.x) + std::abs(point.y - tripleClickPoint_.y) < ::GetSystemMetrics(SM_CXDRAG);
  tripleClickPending_ = false;
  ::KillTimer(window_, kTripleClickTimer);
  if (tripleClick) {
    // The whole line, without its break.
    const ResultLines lines = ReadCurrent();
    const std::uint64_t line = LineAt(lines, point);
    anchor_ = {line, 0};
    const TextPosition end{line, lines.Length(line)};
    wantedCell_ = CellOf(lines, end);
    MoveCaret(end, true);
    return;
  }
  {
    const ResultLines lines = ReadCurrent();
    const TextPosition position = PositionAt(lines, point);
    wantedCell_ = CellOf(lines, position);
    MoveCaret(position, shift);
  }
  dragging_ = true;
  lastDragPoint_ = point;
  ::SetCapture(window_);
}

void ResultView::OnMouseMove(POINT point, bool leftButton) {
  if (!dragging_ || !leftButton) return;
  lastDragPoint_ = point;
  DragTo(point);
  // Holding the mouse beyond the edges keeps scrolling towards it.
  const SIZE size = ClientSize();
  const bool inside = point.x >= 0 && point.y >= 0 && point.x < size.cx && point.y < size.cy;
  if (inside) {
    StopDragScroll();
  } else if (!dragScrolling_) {
    dragScrolling_ = ::SetTimer(window_, kDragScrollTimer, kDragScrollMilliseconds, nullptr) != 0;
  }
}

void ResultView::StopDragScroll() {
  if (!dragScrolling_) return;
  ::KillTimer(window_, kDragScrollTimer);
  dragScrolling_ = false;
}

void ResultView::DragTo(POINT point) {
  const ResultLines lines = ReadCurrent();
  TextPosition position = PositionAt(lines, point);
  const SIZE size = ClientSize();
  if (point.y >= size.cy) position = CaretVertical(lines, position, 1, position.column);
  if (point.x >= size.cx) position.column = LineCells(lines, position.line).NextColumn(position.column);
  wantedCell_ = CellOf(lines, position);
  MoveCaret(position, true);
}

void ResultView::OnDoubleClick(POINT point, bool shift) {
  if (shift) {
    OnLeftButtonDown(point, shift);
    return;
  }
  const ResultLines lines = ReadCurrent();
  const TextRange word = WordAt(lines, CharacterAt(lines, point));
  anchor_ = word.from;
  wantedCell_ = CellOf(lines, word.to);
  MoveCaret(word.to, true);
  tripleClickPoint_ = point;
  tripleClickPending_ = ::SetTimer(window_, kTripleClickTimer, ::GetDoubleClickTime(), nullptr) != 0;
}

void ResultView::OnTimer(UINT_PTR timer) {
  if (timer == kTripleClickTimer) {
    ::KillTimer(window_, kTripleClickTimer);
    tripleClickPending_ = false;
    return;
  }
  if (timer != kDragScrollTimer) return;
  if (!dragging_) {
    StopDragScroll();
    return;
  }
  DragTo(lastDragPoint_);
}

void ResultView::OnWheel(int delta, bool horizontal) {
  // A notch scrolls a few lines (or columns), whatever the scroll bars' scale.
  int& remainder = horizontal ? horizontalWheelRemainder_ : wheelRemainder_;
  remainder += delta;
  const int notches = remainder / kWheelNotch;
  if (notches == 0) return;
  remainder -= notches * kWheelNotch;
  UINT perNotch = 3;
  ::SystemParametersInfoW(horizontal ? SPI_GETWHEELSCROLLCHARS : SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
  if (perNotch == WHEEL_PAGESCROLL) perNotch = static_cast<UINT>(horizontal ? FullColumns() : FullRows());
  // Up and left are positive for the vertical wheel, right for the horizontal one.
  const std::int64_t steps = (horizontal ? 1 : -1) * static_cast<std::int64_t>(notches) * static_cast<std::int64_t>(perNotch);
  const auto moved = [](std::uint64_t from, std::int64_t by) {
    if (by < 0) return from - std::min(from, static_cast<std::uint64_t>(-by));
    return from + static_cast<std::uint64_t>(by);
  };
  if (horizontal) ScrollTo(top_, moved(left_, steps));
  else ScrollTo(moved(top_, steps), left_);
}

void ResultView::ShowContextMenu(POINT screenPoint) {
  if (screenPoint.x == -1 && screenPoint.y == -1) {
    // From the keyboard: at the view's corner.
    screenPoint = {0, 0};
    ::ClientToScreen(window_, &screenPoint);
  }
  const UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return;
  ::AppendMenuW(menu.get(), MF_STRING | (hasSelection() ? 0u : MF_GRAYED), kCopyCommand, L"&Copy\tCtrl+C");
  ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu.get(), MF_STRING, kSelectAllCommand, L"Select &All\tCtrl+A");
  const BOOL chosen = ::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0, window_, nullptr);
  if (chosen == kCopyCommand) Copy();
  else if (chosen == kSelectAllCommand) SelectAll();
}

}  // namespace quillon
