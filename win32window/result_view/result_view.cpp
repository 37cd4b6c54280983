#include "win32window/result_view/result_view.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "resultview/copied_text.h"
#include "resultview/line_cells.h"
#include "win32window/result_view/clipboard.h"
#include "win32window/window_procedure.h"

namespace quillon {
namespace {

constexpr const wchar_t* kClassName = L"QuillonResultView";

void RegisterResultViewClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = OwnedWindowProcedure<ResultView>;
  windowClass.hInstance = ProgramInstance();
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_IBEAM);
  windowClass.lpszClassName = kClassName;
  RegisterWindowClass(windowClass);
}

}  // namespace

ResultView::ResultView(HWND parent, ResultDocument& document, int controlId, ResultViewLimits limits)
    : document_(document), limits_(limits), shown_(document.generation()) {
  RegisterResultViewClass();
  HWND created = ::CreateWindowExW(WS_EX_CLIENTEDGE, kClassName, L"",
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0,
                                   parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), ProgramInstance(), this);
  if (created == nullptr) throw std::runtime_error("cannot create the result box");
  window_ = created;
  SetDpi(::GetDpiForWindow(window_));
  Refresh();
}

ResultView::~ResultView() {
  if (window_ == nullptr) return;
  BindWindow<ResultView>(window_, nullptr);
  ::DestroyWindow(window_);
}

void ResultView::SetDpi(UINT dpi) {
  fonts_.SetDpi(dpi);
  UpdateScrollBars();
  Repaint();
}

void ResultView::Repaint() const noexcept {
  if (window_ != nullptr) ::InvalidateRect(window_, nullptr, FALSE);
}

ResultLines ResultView::ReadCurrent() {
  ResultLines lines = document_.Lines();
  Absorb(lines);
  return lines;
}

void ResultView::Refresh() { (void)ReadCurrent(); }

void ResultView::Absorb(const ResultLines& lines) {
  // Resets happen on this thread, so the generation belongs to `lines`.
  const ShownExtent::Change change = shown_.TakeIn(lines, document_.generation(), top_ + FullRows());
  if (change.reset) {
    top_ = left_ = 0;
    anchor_ = caret_ = {};
    wantedCell_ = 0;
  } else if (change.shrank) {
    anchor_ = ClampedTo(lines, anchor_);
    caret_ = ClampedTo(lines, caret_);
  }
  if (change.repaint) Repaint();
  if (change.rescale) UpdateScrollBars();
}

SIZE ResultView::ClientSize() const noexcept {
  RECT client{};
  if (window_ != nullptr) ::GetClientRect(window_, &client);
  return {client.right - client.left, client.bottom - client.top};
}

std::uint64_t ResultView::FullRows() const noexcept {
  return static_cast<std::uint64_t>(std::max<LONG>(1, ClientSize().cy / fonts_.LineHeight()));
}

std::uint64_t ResultView::FullColumns() const noexcept {
  return static_cast<std::uint64_t>(std::max<LONG>(1, ClientSize().cx / fonts_.CellWidth()));
}

void ResultView::UpdateScrollBars() {
  if (window_ == nullptr) return;
  const std::uint64_t rows = FullRows();
  const std::uint64_t columns = FullColumns();
  verticalScale_ = shown_.VerticalScale(rows, limits_.scrollBarSteps);
  horizontalScale_ = shown_.HorizontalScale(columns, limits_.scrollBarSteps);
  top_ = std::min(top_, verticalScale_.maximum());
  left_ = std::min(left_, horizontalScale_.maximum());
  const auto show = [this](int bar, const ScrollScale& scale, std::uint64_t page, std::uint64_t position) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    const int pageSteps = scale.BarSpan(page);
    // A Win32 bar's last position is its maximum less the page, plus one.
    info.nMin = 0;
    info.nMax = scale.BarMaximum() + pageSteps - 1;
    info.nPage = static_cast<UINT>(pageSteps);
    info.nPos = scale.ToBar(position);
    ::SetScrollInfo(window_, bar, &info, TRUE);
  };
  show(SB_VERT, verticalScale_, rows, top_);
  show(SB_HORZ, horizontalScale_, columns, left_);
}

void ResultView::ShowScrollPositions() {
  ::SetScrollPos(window_, SB_VERT, verticalScale_.ToBar(top_), TRUE);
  ::SetScrollPos(window_, SB_HORZ, horizontalScale_.ToBar(left_), TRUE);
}

void ResultView::ScrollTo(std::uint64_t top, std::uint64_t left) {
  top = std::min(top, verticalScale_.maximum());
  left = std::min(left, horizontalScale_.maximum());
  if (top == top_ && left == left_) return;
  top_ = top;
  left_ = left;
  ShowScrollPositions();
  Repaint();
}

void ResultView::OnScroll(int bar, WORD request) {
  const bool vertical = bar == SB_VERT;
  const ScrollScale& scale = vertical ? verticalScale_ : horizontalScale_;
  std::uint64_t position = vertical ? top_ : left_;
  const std::uint64_t page = vertical ? FullRows() : FullColumns();
  // Lines and pages step through positions, not bar values, which a scaled bar would skip.
  switch (request) {
    case SB_LINEUP:
      position -= std::min<std::uint64_t>(position, 1);
      break;
    case SB_LINEDOWN:
      position += 1;
      break;
    case SB_PAGEUP:
      position -= std::min(position, page);
      break;
    case SB_PAGEDOWN:
      position += page;
      break;
    case SB_TOP:
      position = 0;
      break;
    case SB_BOTTOM:
      position = scale.maximum();
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      ::GetScrollInfo(window_, bar, &info);
      position = scale.FromBar(info.nTrackPos);
      break;
    }
    default:
      return;
  }
  if (vertical) ScrollTo(position, left_);
  else ScrollTo(top_, position);
}

void ResultView::EnsureCaretVisible() {
  const std::uint64_t rows = FullRows();
  const std::uint64_t columns = FullColumns();
  std::uint64_t top = top_;
  std::uint64_t left = left_;
  if (caret_.line < top) top = caret_.line;
  else if (caret_.line >= top + rows) top = caret_.line - rows + 1;
  const std::uint64_t caretCell = shown_.utf8() ? CellOf(document_.Lines(), caret_) : caret_.column;
  if (caretCell < left) left = caretCell;
  else if (caretCell >= left + columns) left = caretCell - columns + 1;
  ScrollTo(top, left);
}

void ResultView::MoveCaret(TextPosition caret, bool extendSelection) {
  caret_ = caret;
  if (!extendSelection) anchor_ = caret;
  EnsureCaretVisible();
  Repaint();
}

void ResultView::SetSelection(TextPosition anchor, TextPosition caret) {
  const ResultLines lines = ReadCurrent();
  anchor_ = ClampedTo(lines, anchor);
  wantedCell_ = lines.Utf8() ? CellOf(lines, ClampedTo(lines, caret)) : caret.column;
  MoveCaret(ClampedTo(lines, caret), true);
}

void ResultView::SelectAll() {
  const ResultLines lines = ReadCurrent();
  anchor_ = {};
  caret_ = lines.End();
  wantedCell_ = CellOf(lines, caret_);
  EnsureCaretVisible();
  Repaint();
}

TextPosition ResultView::endPosition() { return ReadCurrent().End(); }

std::uint64_t ResultView::CellOf(const ResultLines& lines, TextPosition position) {
  if (!lines.Utf8() || position.line >= lines.Count()) return position.column;
  return LineCells(lines, position.line).AtColumn(position.column).cell;
}

namespace {

// wchar_t holds UTF-16 here.
std::wstring Wide(const std::u16string& text) { return {text.begin(), text.end()}; }

}  // namespace

std::wstring ResultView::Text(TextPosition from, TextPosition to) {
  const ResultLines lines = ReadCurrent();
  return Wide(CopiedText(lines, lines.Offset(std::min(from, to)), lines.Offset(std::max(from, to))));
}

std::optional<std::wstring> ResultView::SelectedText(std::size_t limit) {
  const ResultLines lines = ReadCurrent();
  if (!hasSelection()) return std::nullopt;
  const std::uint64_t begin = lines.Offset(std::min(anchor_, caret_));
  const std::uint64_t end = lines.Offset(std::max(anchor_, caret_));
  if (end - begin > limit) return std::nullopt;
  return Wide(CopiedText(lines, begin, end));
}

void ResultView::Copy() {
  if (const std::optional<std::wstring> copied = SelectedText(limits_.copyBytes)) {
    PutOnClipboard(window_, *copied);
    return;
  }
  if (!hasSelection()) return;
  ::MessageBoxW(window_, L"The selection is too large to copy. The output file holds the whole text.", L"Quillon", MB_OK | MB_ICONINFORMATION);
}

LRESULT ResultView::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_NCCREATE:
      window_ = window;
      break;
    case WM_NCDESTROY:
      window_ = nullptr;
      break;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills every pixel
    case WM_SIZE:
      UpdateScrollBars();
      Repaint();
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
      OnScroll(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
      return 0;
    case WM_GETDLGCODE:
      // The arrows move the caret; Tab still moves the focus on.
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
      if (OnKeyDown(wParam)) return 0;
      break;
    case WM_CHAR:
      return 0;  // read-only
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(point, (wParam & MK_SHIFT) != 0);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnDoubleClick(point, (wParam & MK_SHIFT) != 0);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(point, (wParam & MK_LBUTTON) != 0);
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) ::ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      StopDragScroll();
      return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      OnWheel(GET_WHEEL_DELTA_WPARAM(wParam), message == WM_MOUSEHWHEEL);
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_CONTEXTMENU:
      ShowContextMenu(point);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Repaint();
      return 0;
    case WM_COPY:
      Copy();
      return 0;
    case kRefreshMessage:
      Refresh();
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quillon
