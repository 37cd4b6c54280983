#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "modes/run_mode.h"
#include "resultview/result_document.h"
#include "win32window/result_view/result_view.h"
#include "win32window/win32_handles.h"
#include "window/layout.h"

namespace quillon {

// The window's controls, made from the layout table, placed at the window's resolution,
// captioned, with the mode buttons' tips, and stacked in the tab order, which also puts the
// result box over the progress bar where they overlap. The window owns them as their parent.
class WindowControls {
 public:
  WindowControls(HWND window, ResultDocument& result);
  WindowControls(const WindowControls&) = delete;
  WindowControls& operator=(const WindowControls&) = delete;

  // Places and sizes every control, and sets its fonts, for `dpi`.
  void Place(UINT dpi);

  // Only the checked mode button is a tab stop, so that Tab enters the group there.
  void FollowCheckedMode();

  // The control of the layout entry named `name`.
  [[nodiscard]] HWND Named(std::string_view name) const;
  // The layout entry of the control with this id; nothing for other windows.
  [[nodiscard]] const ControlLayout* LayoutOf(int controlId) const noexcept;
  [[nodiscard]] HWND ModeOption(RevertMode mode) const;
  [[nodiscard]] std::array<HWND, 3> ModeOptions() const { return {simpleRevertOption, lineKeepOption, revertLineOption}; }
  [[nodiscard]] HWND ToolTips() const noexcept { return toolTips_; }

  HWND progressBar = nullptr;
  HWND simpleRevertOption = nullptr;
  HWND lineKeepOption = nullptr;
  HWND revertLineOption = nullptr;
  ResultView resultBox;
  HWND revertButton = nullptr;
  HWND chooseFileButton = nullptr;
  HWND fileLabel = nullptr;

 private:
  void AddToolTips();

  HWND window_;
  std::array<HWND, 8> byLayout_{};
  HWND toolTips_ = nullptr;
  std::vector<std::wstring> tipTexts_;
  UniqueFont font_;
  UniqueFont optionFont_;
};

}  // namespace quillon
