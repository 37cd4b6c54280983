#include <algorithm>
#include <span>
#include <vector>

#include "resultview/result_shown_text.h"
#include "win32window/result_view/result_view.h"

namespace quillon {

void ResultView::Paint() {
  const PaintDc paint(window_);
  const SIZE size = ClientSize();
  if (size.cx <= 0 || size.cy <= 0) return;
  // Painted off screen first, so that a refresh during a run does not flicker.
  const UniqueMemoryDc canvas(::CreateCompatibleDC(paint.get()));
  const UniqueBitmap pixels(::CreateCompatibleBitmap(paint.get(), size.cx, size.cy));
  HDC dc = canvas ? canvas.get() : paint.get();
  const SelectedObject selectedPixels(dc, pixels ? static_cast<HGDIOBJ>(pixels.get()) : nullptr);
  const RECT all{0, 0, size.cx, size.cy};
  ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_WINDOW));
  if (document_.generation() != shown_.generation()) {
    // A new run has begun since the last refresh: nothing of the old text is valid any more.
    ::PostMessageW(window_, kRefreshMessage, 0, 0);
  } else {
    const SelectedObject font(dc, fonts_.Text());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    advances_.assign(static_cast<std::size_t>(FullColumns() + 2), fonts_.CellWidth());
    // Painted from the file as it is now, which may have become shorter since the last refresh:
    // then the view catches up right after.
    const ResultLines lines = document_.Lines();
    if (lines.Utf8()) PaintClusterLines(dc, lines, size.cy);
    else PaintLines(dc, lines, size.cy);
    if (document_.FoundShorter() || lines.Size() < shown_.size()) ::PostMessageW(window_, kRefreshMessage, 0, 0);
  }
  if (canvas && pixels) ::BitBlt(paint.get(), 0, 0, size.cx, size.cy, canvas.get(), 0, 0, SRCCOPY);
}

ResultView::PaintStyle ResultView::CurrentPaintStyle() const {
  return {::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_HIGHLIGHTTEXT), ::GetSysColorBrush(COLOR_HIGHLIGHT),
          ::GetSysColorBrush(COLOR_WINDOWTEXT), std::min(anchor_, caret_), std::max(anchor_, caret_)};
}

void ResultView::FillCells(HDC dc, int x, int y, std::uint64_t cells, HBRUSH brush) const {
  const RECT area{x, y, x + static_cast<int>(cells) * fonts_.CellWidth(), y + fonts_.LineHeight()};
  ::FillRect(dc, &area, brush);
}

void ResultView::PaintCaret(HDC dc, int x, int y, HBRUSH brush) const {
  const RECT bar{x, y, x + 1, y + fonts_.LineHeight()};
  ::FillRect(dc, &bar, brush);
}

void ResultView::PaintLines(HDC dc, const ResultLines& lines, int height) {
  const PaintStyle style = CurrentPaintStyle();
  const int lineHeight = fonts_.LineHeight();
  // The columns in sight, the last one possibly in part.
  const std::uint64_t columns = FullColumns() + 2;
  const auto columnX = [this](std::uint64_t column) {
    return static_cast<int>(static_cast<std::int64_t>(column) - static_cast<std::int64_t>(left_)) * fonts_.CellWidth();
  };
  const bool focused = ::GetFocus() == window_;

  std::vector<char> inSight(static_cast<std::size_t>(columns));
  std::vector<wchar_t> painted(static_cast<std::size_t>(columns));
  std::uint64_t start = 0;
  for (int y = 0; y < height; y += lineHeight) {
    const std::uint64_t line = top_ + static_cast<std::uint64_t>(y / lineHeight);
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
    if (style.selectionStart < style.selectionEnd && line >= style.selectionStart.line && line <= style.selectionEnd.line) {
      selectedFrom = line == style.selectionStart.line ? std::min(style.selectionStart.column, length) : 0;
      selectedTo = line == style.selectionEnd.line ? std::min(style.selectionEnd.column, length) : length + 1;
      const std::uint64_t from = std::max(selectedFrom, left_);
      const std::uint64_t to = std::min(selectedTo, left_ + columns);
      if (from < to) FillCells(dc, columnX(from), y, to - from, style.highlight);
    }

    // Painted in up to three pieces: before, inside and after the selection.
    const std::uint64_t cuts[] = {first, std::clamp(selectedFrom, first, last), std::clamp(selectedTo, first, last), last};
    for (int piece = 0; piece < 3; ++piece) {
      if (cuts[piece] == cuts[piece + 1]) continue;
      ::SetTextColor(dc, piece == 1 ? style.selectedText : style.text);
      const auto offset = static_cast<std::size_t>(cuts[piece] - first);
      const auto count = static_cast<std::size_t>(cuts[piece + 1] - cuts[piece]);
      for (std::size_t i = 0; i < count; ++i) painted[i] = static_cast<wchar_t>(PaintedCharacter(static_cast<unsigned char>(inSight[offset + i])));
      ::ExtTextOutW(dc, columnX(cuts[piece]), y, 0, nullptr, painted.data(), static_cast<UINT>(count), advances_.data());
    }

    if (focused && line == caret_.line && caret_.column >= left_ && caret_.column <= left_ + columns)
      PaintCaret(dc, columnX(std::min(caret_.column, length)), y, style.caret);

    start = lines.AfterBreak(end);
  }
}

}  // namespace quillon
