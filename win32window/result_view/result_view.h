#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "resultview/result_document.h"
#include "resultview/result_lines.h"
#include "resultview/result_position.h"
#include "resultview/result_scroll_scale.h"
#include "resultview/shown_extent.h"
#include "win32window/result_view/cell_fonts.h"
#include "win32window/win32_handles.h"

namespace quillon {

// How much the view does at once.
struct ResultViewLimits {
  // Selections of more bytes (a CR LF counting two) are not copied: the output file holds the
  // whole text.
  std::size_t copyBytes = std::size_t{256} << 20;
  // Positions a scroll bar holds one to a step; past them a step stands for several.
  std::uint64_t scrollBarSteps = ScrollScale::kBarLimit;
};

// The result box for results of any size, a child window of its own class: shows a
// ResultDocument read-only, unwrapped, on a grid of fixed-pitch cells, with both scroll bars:
// a text of bytes one byte a character through Windows-1252, UTF-8 text by grapheme clusters,
// each in the cells of its display width. Positions count bytes within their line; scrolling
// sideways counts cells. Only the lines and columns in sight are ever read to paint, so a
// gigabyte shows as fast as a line. The text can be selected with the mouse and the keyboard
// and copied.
class ResultView {
 public:
  ResultView(HWND parent, ResultDocument& document, int controlId, ResultViewLimits limits = {});
  ResultView(const ResultView&) = delete;
  ResultView& operator=(const ResultView&) = delete;
  ~ResultView();

  [[nodiscard]] HWND hwnd() const noexcept { return window_; }

  [[nodiscard]] std::uint64_t lineCount() const noexcept { return shown_.lineCount(); }
  [[nodiscard]] std::uint64_t firstVisibleLine() const noexcept { return top_; }
  [[nodiscard]] std::uint64_t firstVisibleColumn() const noexcept { return left_; }
  [[nodiscard]] std::uint64_t visibleRows() const noexcept { return FullRows(); }
  // The grid in pixels.
  [[nodiscard]] int cellWidth() const noexcept { return fonts_.CellWidth(); }
  [[nodiscard]] int lineHeight() const noexcept { return fonts_.LineHeight(); }
  [[nodiscard]] TextPosition caretPosition() const noexcept { return caret_; }
  [[nodiscard]] TextPosition selectionAnchor() const noexcept { return anchor_; }
  [[nodiscard]] bool hasSelection() const noexcept { return anchor_ != caret_; }

  // The place after the last character.
  [[nodiscard]] TextPosition endPosition();
  // The characters from `from` to `to` as a copy gives them (each line break one LF), however many.
  [[nodiscard]] std::wstring Text(TextPosition from, TextPosition to);

  // Selects from `anchor` to `caret` and scrolls the caret into sight.
  void SetSelection(TextPosition anchor, TextPosition caret);

  // Takes in what the run has written since the last call, or starts over when the text was
  // reset, or shows less when the file has become shorter. Cheap enough for a timer during a
  // run: the run has indexed the bytes, and the view repaints only when a line in sight changed.
  void Refresh();
  // Puts the selection on the clipboard, with Windows' CR LF line breaks.
  void Copy();
  void SelectAll();

  // Takes the fonts for `dpi`.
  void SetDpi(UINT dpi);

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  // Posted when a paint finds the text changed under it: the view catches up right after.
  static constexpr UINT kRefreshMessage = WM_APP + 1;

  // The lines as the document has them now, with the view brought up to them.
  ResultLines ReadCurrent();
  void Absorb(const ResultLines& lines);
  [[nodiscard]] static std::uint64_t CellOf(const ResultLines& lines, TextPosition position);

  void UpdateScrollBars();
  [[nodiscard]] std::uint64_t FullRows() const noexcept;
  [[nodiscard]] std::uint64_t FullColumns() const noexcept;
  [[nodiscard]] SIZE ClientSize() const noexcept;
  void ScrollTo(std::uint64_t top, std::uint64_t left);
  void ShowScrollPositions();
  void EnsureCaretVisible();
  void Repaint() const noexcept;
  void OnScroll(int bar, WORD request);

  [[nodiscard]] std::uint64_t LineAt(const ResultLines& lines, POINT point) const;
  // The place between characters nearest to `point`.
  [[nodiscard]] TextPosition PositionAt(const ResultLines& lines, POINT point) const;
  // The character under `point`; its column may lie past the line's end.
  [[nodiscard]] TextPosition CharacterAt(const ResultLines& lines, POINT point) const;
  void MoveCaret(TextPosition caret, bool extendSelection);
  void DragTo(POINT point);
  bool MoveCaretByKey(const ResultLines& lines, WPARAM key, bool shift, bool control);
  bool OnKeyDown(WPARAM key);
  void OnLeftButtonDown(POINT point, bool shift);
  void OnDoubleClick(POINT point, bool shift);
  void OnMouseMove(POINT point, bool leftButton);
  void OnWheel(int delta, bool horizontal);
  void OnTimer(UINT_PTR timer);
  void StopDragScroll();
  void ShowContextMenu(POINT screenPoint);

  // The text of the selection when it holds at most `limit` bytes; nothing when there is no
  // selection or a larger one.
  [[nodiscard]] std::optional<std::wstring> SelectedText(std::size_t limit);

  // What every painted line shares: the colours, and the selection from its start to its end.
  struct PaintStyle {
    COLORREF text;
    COLORREF selectedText;
    HBRUSH highlight;
    HBRUSH caret;
    TextPosition selectionStart;
    TextPosition selectionEnd;
  };
  [[nodiscard]] PaintStyle CurrentPaintStyle() const;
  void Paint();
  void PaintLines(HDC dc, const ResultLines& lines, int height);
  void PaintClusterLines(HDC dc, const ResultLines& lines, int height);
  void FillCells(HDC dc, int x, int y, std::uint64_t cells, HBRUSH brush) const;
  void PaintCaret(HDC dc, int x, int y, HBRUSH brush) const;

  ResultDocument& document_;
  const ResultViewLimits limits_;
  HWND window_ = nullptr;
  // The text as the view last took it in.
  ShownExtent shown_;
  ScrollScale verticalScale_;
  ScrollScale horizontalScale_;

  std::uint64_t top_ = 0;
  std::uint64_t left_ = 0;
  TextPosition anchor_;
  TextPosition caret_;
  // The cell Up and Down aim for, kept across shorter lines.
  std::uint64_t wantedCell_ = 0;

  CellFonts fonts_;
  // One cell's advance for each character of a painted run.
  std::vector<INT> advances_;

  bool dragging_ = false;
  POINT lastDragPoint_{};
  bool dragScrolling_ = false;
  // Set from a double click for as long as a press at the same place makes a triple one.
  bool tripleClickPending_ = false;
  POINT tripleClickPoint_{};
  int wheelRemainder_ = 0;
  int horizontalWheelRemainder_ = 0;
};

}  // namespace quillon
