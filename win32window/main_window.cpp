#include "win32window/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <stdexcept>

#include "fileio/wide_text.h"
#include "win32window/dpi_scale.h"
#include "win32window/dropped_file.h"
#include "win32window/window_procedure.h"
#include "window/layout.h"

namespace quillon {
namespace {

constexpr const wchar_t* kClassName = L"QuillonMainWindow";
// Fixed size: no sizing frame and no maximize box.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExtendedStyle = WS_EX_ACCEPTFILES | WS_EX_CONTROLPARENT;

HWND CreateMainWindow() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = OwnedWindowProcedure<MainWindow>;
  windowClass.hInstance = ProgramInstance();
  windowClass.hIcon = ::LoadIconW(ProgramInstance(), MAKEINTRESOURCEW(kWindowIconResource));
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = kClassName;
  RegisterWindowClass(windowClass);
  // Sized once its monitor, and so its resolution, is known.
  HWND window = ::CreateWindowExW(kExtendedStyle, kClassName, Widen(kWindowCaption).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                  kClientWidth, kClientHeight, nullptr, nullptr, ProgramInstance(), nullptr);
  if (window == nullptr) throw std::runtime_error("cannot create the window");
  return window;
}

bool IsPushButton(HWND control) noexcept {
  return control != nullptr && (::SendMessageW(control, WM_GETDLGCODE, 0, 0) & (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON)) != 0;
}

}  // namespace

MainWindow::MainWindow() : MainWindow(nullptr, EngineTuning{}) {}

MainWindow::MainWindow(FileChooser& chooser, EngineTuning tuning) : MainWindow(&chooser, tuning) {}

MainWindow::MainWindow(FileChooser* chooser, EngineTuning tuning)
    : window_(CreateMainWindow()),
      controls_(window_.get(), result_),
      surface_(window_.get(), controls_, result_),
      dialogChooser_(window_.get()),
      controller_(surface_, chooser != nullptr ? *chooser : dialogChooser_, tuning) {
  BindWindow(window_.get(), this);
  FitToDpi(::GetDpiForWindow(window_.get()), nullptr);
  lastFocus_ = controls_.chooseFileButton;
  ::SetFocus(lastFocus_);
}

MainWindow::~MainWindow() {
  if (!window_) return;
  // The members are going: the window's last messages go to the default procedure.
  BindWindow<MainWindow>(window_.get(), nullptr);
  window_.reset();
}

namespace {

// The window's outer size around the layout at `dpi`.
SIZE FrameSize(UINT dpi) {
  RECT frame{0, 0, Scaled(kClientWidth, dpi), Scaled(kClientHeight, dpi)};
  if (!::AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExtendedStyle, dpi)) ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExtendedStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace

void MainWindow::FitToDpi(UINT dpi, const RECT* suggested) {
  dpi_ = dpi;
  const auto [width, height] = FrameSize(dpi);
  if (suggested != nullptr)
    ::SetWindowPos(window_.get(), nullptr, suggested->left, suggested->top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  else
    ::SetWindowPos(window_.get(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  controls_.Place(dpi);
  SetIcons(dpi);
}

void MainWindow::SetIcons(UINT dpi) {
  const auto load = [dpi](int widthMetric, int heightMetric) {
    // The picture of the size asked for, or the nearest one scaled.
    return UniqueIcon(static_cast<HICON>(::LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(kWindowIconResource), IMAGE_ICON,
                                                      ::GetSystemMetricsForDpi(widthMetric, dpi), ::GetSystemMetricsForDpi(heightMetric, dpi),
                                                      LR_DEFAULTCOLOR)));
  };
  UniqueIcon big = load(SM_CXICON, SM_CYICON);
  UniqueIcon small = load(SM_CXSMICON, SM_CYSMICON);
  // Without an icon of its own the program keeps the system's.
  if (!big || !small) return;
  ::SendMessageW(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  ::SendMessageW(window_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  bigIcon_ = std::move(big);
  smallIcon_ = std::move(small);
}

bool MainWindow::HandleNavigation(MSG& message) {
  return window_ && ::IsDialogMessageW(window_.get(), &message);
}

void MainWindow::Command(void (RevertController::*command)()) {
  try {
    (controller_.*command)();
  } catch (const std::exception& error) {
    surface_.ShowMessage(error.what());
  }
}

void MainWindow::OnCommand(int controlId, int notification, HWND control) {
  if (control == nullptr || controlId == IDOK) {
    // Enter presses only the button that has the focus.
    HWND focused = ::GetFocus();
    if (controlId == IDOK && ::IsChild(window_.get(), focused) && IsPushButton(focused)) ::SendMessageW(focused, BM_CLICK, 0, 0);
    return;
  }
  if (notification != BN_CLICKED) return;
  if (control == controls_.revertButton) {
    Command(&RevertController::Revert);
    if (closeAfterRun_ && window_) ::DestroyWindow(window_.get());
  } else if (control == controls_.chooseFileButton) {
    Command(&RevertController::ChooseFile);
  } else {
    for (HWND option : controls_.ModeOptions())
      if (control == option) controls_.FollowCheckedMode();
  }
}

void MainWindow::OnClose() {
  if (surface_.Running()) {
    surface_.StopRun();
    closeAfterRun_ = true;
    return;
  }
  ::DestroyWindow(window_.get());
}

void MainWindow::OnDrop(HDROP drop) {
  const std::optional<std::string> file = TakeDroppedFile(drop);
  if (!file || surface_.Running()) return;
  try {
    controller_.ChooseInput(*file);
  } catch (const std::exception& error) {
    surface_.ShowMessage(error.what());
  }
}

LRESULT MainWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      // The result goes with the window: a file it still reads keeps its name while it is
      // open, also a run's dropped output.
      result_.Reset();
      if (quitWhenClosed_) ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      (void)window_.release();
      break;
    case WM_TIMER:
      if (wParam == Win32WindowSurface::kPulseTimer) {
        surface_.ShowRunState();
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (surface_.Busy()) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_DROPFILES:
      OnDrop(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_NEXTDLGCTL: {
      // What the keyboard navigation asks of a dialog (Tab, Shift+Tab), done here as the
      // dialog manager would: the window is no dialog.
      HWND next = LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam) : ::GetNextDlgTabItem(window, ::GetFocus(), wParam != 0);
      if (next != nullptr && ::IsChild(window, next)) ::SetFocus(next);
      return 0;
    }
    case WM_GETMINMAXINFO: {
      // The layout's size even where the screen is smaller, as the Revert button lies at the
      // right: the system would otherwise shrink the window to the screen.
      const SIZE frame = FrameSize(dpi_);
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = limits->ptMaxTrackSize = {frame.cx, frame.cy};
      return 0;
    }
    case WM_DPICHANGED:
      FitToDpi(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focused = ::GetFocus();
        if (focused != nullptr && ::IsChild(window, focused)) lastFocus_ = focused;
      } else if (lastFocus_ != nullptr && ::IsWindow(lastFocus_)) {
        ::SetFocus(lastFocus_);
      }
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quillon
