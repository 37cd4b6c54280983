#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "modes/mode_context.h"
#include "resultview/result_document.h"
#include "win32window/win32_file_chooser.h"
#include "win32window/win32_handles.h"
#include "win32window/win32_window_surface.h"
#include "win32window/window_controls.h"
#include "window/revert_controller.h"

namespace quillon {

// The resource id of the program's icon, when the program has one.
inline constexpr int kWindowIconResource = 1;

// The window around a RevertController: fixed size at the layout's pixels scaled to its
// monitor, the controls of the layout table, "..." and "Revert" wired to the commands, and a
// dropped file taken as if chosen with "...".
class MainWindow {
 public:
  // Chooses files through the system's Open dialog.
  MainWindow();
  // Chooses files through `chooser`, which must outlive the window.
  explicit MainWindow(FileChooser& chooser, EngineTuning tuning = {});
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow();

  // Null once the window has been closed.
  [[nodiscard]] HWND hwnd() const noexcept { return window_.get(); }
  // Takes `path` (UTF-8) as if it had been chosen with "...".
  void ChooseInput(const std::string& path) { controller_.ChooseInput(path); }
  // Posts WM_QUIT when the window is closed, which ends the program's message loop.
  void QuitWhenClosed() noexcept { quitWhenClosed_ = true; }

  [[nodiscard]] const RevertController& controller() const noexcept { return controller_; }
  [[nodiscard]] const WindowControls& controls() const noexcept { return controls_; }
  [[nodiscard]] WindowControls& controls() noexcept { return controls_; }
  [[nodiscard]] const Win32WindowSurface& surface() const noexcept { return surface_; }
  [[nodiscard]] const ResultDocument& result() const noexcept { return result_; }

  // Keyboard navigation between the controls (Tab, arrows in the mode group, Space and Enter
  // on buttons): whether `message` was handled so. For the message loop, before dispatching.
  bool HandleNavigation(MSG& message);

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  MainWindow(FileChooser* chooser, EngineTuning tuning);

  // Fits the window around the layout at its monitor's resolution.
  void FitToDpi(UINT dpi, const RECT* suggested);
  void SetIcons(UINT dpi);
  void OnCommand(int controlId, int notification, HWND control);
  // Runs a command; an error that escapes it is shown, never lost in the message loop.
  void Command(void (RevertController::*command)());
  // Closing during a run stops the run; the window closes as soon as the run has ended.
  void OnClose();
  void OnDrop(HDROP drop);

  ResultDocument result_;
  UniqueWindow window_;
  WindowControls controls_;
  Win32WindowSurface surface_;
  Win32FileChooser dialogChooser_;
  RevertController controller_;
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  // The control that had the focus when the window was last deactivated.
  HWND lastFocus_ = nullptr;
  bool closeAfterRun_ = false;
  bool quitWhenClosed_ = false;
};

}  // namespace quillon
