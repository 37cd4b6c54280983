#include "win32window/window_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "fileio/wide_text.h"
#include "win32window/dpi_scale.h"
#include "win32window/ui_fonts.h"
#include "win32window/window_procedure.h"
#include "window/layout.h"

namespace quillon {
namespace {

constexpr int kFirstControlId = 100;

int ControlId(const ControlLayout& layout) noexcept { return kFirstControlId + static_cast<int>(&layout - kControls.data()); }

const ControlLayout& LayoutNamed(std::string_view name) {
  for (const ControlLayout& layout : kControls)
    if (layout.Name == name) return layout;
  throw std::logic_error("the layout has no control " + std::string(name));
}

struct ClassAndStyle {
  const wchar_t* windowClass;
  DWORD style;
};

ClassAndStyle ClassFor(const ControlLayout& layout) {
  switch (layout.Kind) {
    case ControlKind::ProgressBar:
      return {PROGRESS_CLASSW, WS_GROUP};
    case ControlKind::ModeOption:
      // Only the first of the three starts a group: the arrow keys move between them.
      return {WC_BUTTONW, static_cast<DWORD>(BS_AUTORADIOBUTTON | (layout.Name == "simpleRevertOption" ? WS_GROUP : 0))};
    case ControlKind::CommandButton:
      // Enter presses only the button that has the focus: neither is the window's default.
      return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP};
    case ControlKind::Label:
      // A path is never a mnemonic; a long one ends in an ellipsis.
      return {WC_STATICW, SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_PATHELLIPSIS | SS_CENTERIMAGE | WS_GROUP};
    case ControlKind::ResultBox:
      break;
  }
  throw std::logic_error("the result box is no standard control");
}

HWND MakeStandardControl(HWND window, const ControlLayout& layout) {
  const auto [windowClass, style] = ClassFor(layout);
  HWND control = ::CreateWindowExW(0, windowClass, Widen(layout.Text).c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(layout))), ProgramInstance(), nullptr);
  if (control == nullptr) throw std::runtime_error("cannot create the control " + std::string(layout.Name));
  return control;
}

void InitCommonControls() {
  INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  if (!::InitCommonControlsEx(&classes)) throw std::runtime_error("cannot load the common controls");
}

}  // namespace

WindowControls::WindowControls(HWND window, ResultDocument& result)
    : resultBox((InitCommonControls(), window), result, ControlId(LayoutNamed("resultBox"))), window_(window) {
  for (const ControlLayout& layout : kControls) {
    const auto index = static_cast<std::size_t>(&layout - kControls.data());
    byLayout_[index] = layout.Kind == ControlKind::ResultBox ? resultBox.hwnd() : MakeStandardControl(window, layout);
  }
  progressBar = Named("progressBar");
  simpleRevertOption = Named("simpleRevertOption");
  lineKeepOption = Named("lineKeepOption");
  revertLineOption = Named("revertLineOption");
  revertButton = Named("revertButton");
  chooseFileButton = Named("chooseFileButton");
  fileLabel = Named("fileLabel");

  ::SendMessageW(progressBar, PBM_SETRANGE32, 0, 100);
  ::SendMessageW(progressBar, PBM_SETPOS, 0, 0);
  ::SendMessageW(ModeOption(kInitialMode), BM_SETCHECK, BST_CHECKED, 0);
  FollowCheckedMode();

  // Tab follows the stacking order; the first in it lies on top.
  std::vector<const ControlLayout*> inTabOrder;
  for (const ControlLayout& layout : kControls) inTabOrder.push_back(&layout);
  std::sort(inTabOrder.begin(), inTabOrder.end(), [](const ControlLayout* a, const ControlLayout* b) { return a->TabIndex < b->TabIndex; });
  HWND above = HWND_TOP;
  for (const ControlLayout* layout : inTabOrder) {
    HWND control = Named(layout->Name);
    ::SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = control;
  }
  AddToolTips();
}

void WindowControls::AddToolTips() {
  toolTips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, ProgramInstance(), nullptr);
  if (toolTips_ == nullptr) throw std::runtime_error("cannot create the tool tips");
  tipTexts_.reserve(kControls.size());
  for (const ControlLayout& layout : kControls) {
    if (layout.ToolTip.empty()) continue;
    tipTexts_.push_back(Widen(layout.ToolTip));
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(Named(layout.Name));
    tool.lpszText = tipTexts_.back().data();
    if (!::SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)))
      throw std::runtime_error("cannot add the tip of " + std::string(layout.Name));
  }
}

void WindowControls::Place(UINT dpi) {
  for (const ControlLayout& layout : kControls) {
    const RECT place = ScaledRect(layout.Rect, dpi);
    ::SetWindowPos(Named(layout.Name), nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  font_ = MessageFont(dpi);
  for (HWND control : byLayout_)
    if (control != resultBox.hwnd()) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  // The layout was made for a smaller font than some systems have: rather than cut a mode's
  // caption, the three share the largest font at which all fit.
  const std::array<HWND, 3> options = ModeOptions();
  optionFont_ = FontFittingCaptions(font_.get(), options, dpi);
  if (optionFont_)
    for (HWND option : options) ::SendMessageW(option, WM_SETFONT, reinterpret_cast<WPARAM>(optionFont_.get()), TRUE);
  resultBox.SetDpi(dpi);
}

void WindowControls::FollowCheckedMode() {
  for (HWND option : ModeOptions()) {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(option, GWL_STYLE));
    const bool checked = ::SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED;
    ::SetWindowLongPtrW(option, GWL_STYLE, static_cast<LONG_PTR>(checked ? style | WS_TABSTOP : style & ~static_cast<DWORD>(WS_TABSTOP)));
  }
}

HWND WindowControls::Named(std::string_view name) const {
  const ControlLayout& layout = LayoutNamed(name);
  HWND control = byLayout_[static_cast<std::size_t>(&layout - kControls.data())];
  if (control == nullptr) throw std::logic_error("the window has no control " + std::string(name));
  return control;
}

const ControlLayout* WindowControls::LayoutOf(int controlId) const noexcept {
  const int index = controlId - kFirstControlId;
  if (index < 0 || index >= static_cast<int>(kControls.size())) return nullptr;
  return &kControls[static_cast<std::size_t>(index)];
}

HWND WindowControls::ModeOption(RevertMode mode) const {
  switch (mode) {
    case RevertMode::SimpleRevert:
      return simpleRevertOption;
    case RevertMode::LineKeep:
      return lineKeepOption;
    case RevertMode::RevertLine:
      return revertLineOption;
  }
  throw std::logic_error("a mode without a mode button");
}

}  // namespace quillon
